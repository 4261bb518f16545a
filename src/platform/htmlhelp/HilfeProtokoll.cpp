#include "HilfeProtokoll.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTextStream>

namespace HilfeProtokoll {
namespace {

QString g_datei;
bool g_debug = false;

void schreiben(const QString& text)
{
    QFile f(g_datei);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream(&f) << text << '\n';
}

QString feld(const char* name, const QString& wert)
{
    return QStringLiteral("!%1%2").arg(QString::fromLatin1(name), -22).arg(wert);
}

} // namespace

void Einrichten(const QString& programmVerzeichnis, const QStringList& argumente,
                const QString& programmVersion, const QString& hilfeVersion)
{
    const QString name = QStringLiteral("HHDebug.txt");
    const QFileInfo ordner(programmVerzeichnis);
    g_datei = ordner.isDir() && ordner.isWritable() ? QDir(programmVerzeichnis).filePath(name)
                                                     : QDir(QDir::tempPath()).filePath(name);
    QFile::remove(g_datei);
    g_debug = QFileInfo::exists(QDir(programmVerzeichnis).filePath(QStringLiteral("debug.debug")));
    for (const QString& a : argumente.mid(1))
        if (a.compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0 || a.compare(QLatin1String("-debug"), Qt::CaseInsensitive) == 0)
            g_debug = true;
    if (!g_debug)
        return;
    const QLocale ort;
    schreiben(feld("Log File:", g_datei));
    schreiben(feld("Date:", QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))));
    schreiben(feld("OS:", QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelVersion() + QLatin1Char(')')));
    schreiben(feld("Locale:", ort.name()));
    schreiben(feld("Decimal Separator:", ort.decimalPoint()));
    schreiben(feld("Program:", argumente.value(0)));
    schreiben(feld("Program Version:", programmVersion));
    schreiben(feld("Command Line:", argumente.join(QLatin1Char(' '))));
    schreiben(QStringLiteral("!_hhVerStr =         %1").arg(hilfeVersion));
    schreiben(feld("Browser:", QStringLiteral("Qt %1 Textbrowser").arg(QString::fromLatin1(qVersion()))));
}

bool DebugModus()
{
    return g_debug;
}

QString Dateiname()
{
    return g_datei;
}

void zeile(const QString& text)
{
    if (!g_debug || g_datei.isEmpty())
        return;
    schreiben(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz ")) + text);
}

} // namespace HilfeProtokoll
