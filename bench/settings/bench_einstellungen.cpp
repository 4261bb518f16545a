// The settings work of a start on a large PROJEKT.INI: preset, read, rewrite (IniLesen,
// IniSchreiben), then the main window's geometry and its nine columns, as start-up and the
// main window do it. The file is a real settings file padded to 1 MB and 5 MB in two ways: a
// section of lines without "=", and old keys inside [Control] ahead of the keys start-up reads.
//   bench_einstellungen [--runden R]
// Each round starts on a file in a fresh folder, as a new process would. "alt" files were last
// written an hour ago (a normal start); "frisch" ones this second, so every read compares the
// file byte for byte with what it read before. Exits 1 when a start takes 1 s or more.

#include "BenchDaten.h"
#include "IniRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <utime.h>

namespace {

const char* const g_spalten[] = {"PROJEKT", "BEZEICHNUNG", "BAUSTELLE", "BETREFF", "MITARBEITER",
                                 "AUFGABE", "DATUM",       "STATUS",    "ASTATUS"};

// What the program writes over a few runs: all sections with their keys.
QByteArray echteDatei()
{
    QTemporaryDir ordner;
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(ordner.path());
    IniRecord = TIniRecord{};
    IniAnlegen();
    for (const char* fenster : {"HauptFensterEV", "HauptFensterPV", "StammFenster", "OptionFenster",
                                "AufgabeFenster", "SucheFenster", "DruckVorschau"}) {
        FensterLesen(QString::fromLatin1(fenster));
        FensterSchreiben(QString::fromLatin1(fenster));
    }
    for (const char* spalte : g_spalten) {
        SpalteLesen(QString::fromLatin1(spalte));
        SpalteSchreiben(QString::fromLatin1(spalte));
    }
    QFile datei(IniDateiPfad());
    datei.open(QIODevice::ReadOnly);
    const QByteArray inhalt = datei.readAll();
    QDir::setCurrent(vorher);
    return inhalt;
}

QByteArray fuellung(qsizetype groesse, const char* muster)
{
    QByteArray text;
    text.reserve(groesse + 64);
    for (int i = 0; text.size() < groesse; ++i)
        text += QByteArray(muster).replace("#", QByteArray::number(i));
    return text;
}

QByteArray notizenDatei(const QByteArray& echt, qsizetype groesse)
{
    return echt + "[Notizen]\r\n" + fuellung(groesse - echt.size(), "Notiz # ohne Gleichheitszeichen\r\n");
}

QByteArray controlDatei(const QByteArray& echt, qsizetype groesse)
{
    QByteArray datei = echt;
    const qsizetype nach = datei.indexOf("[Control]\r\n") + 11;
    return datei.insert(nach, fuellung(groesse - echt.size(), "AlterSchluessel#=Wert aus alten Zeiten #\r\n"));
}

struct Zeiten
{
    double gesamt = 0;      // milliseconds
    double schreiben = 0;   // of which IniSchreiben: it rewrites the two directory keys, each to disk
};

// The settings calls of a start, in the program's order.
Zeiten start(const QByteArray& inhalt, bool frisch)
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("PROJEKT.INI"));
    QFile f(datei);
    f.open(QIODevice::WriteOnly);
    f.write(inhalt);
    f.close();
    if (!frisch) {
        struct utimbuf zeit {};
        zeit.actime = zeit.modtime = time(nullptr) - 3600;
        utime(QFile::encodeName(datei).constData(), &zeit);
    }
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(ordner.path());
    IniRecord = TIniRecord{};
    QElapsedTimer uhr;
    uhr.start();
    IniVorbelegen();
    IniLesen();
    const qint64 vorDemSchreiben = uhr.nsecsElapsed();
    IniSchreiben();
    const qint64 nachDemSchreiben = uhr.nsecsElapsed();
    FensterLesen(QStringLiteral("HauptFensterEV"));
    for (const char* spalte : g_spalten)
        SpalteLesen(QString::fromLatin1(spalte));
    const Zeiten zeiten{double(uhr.nsecsElapsed()) / 1e6, double(nachDemSchreiben - vorDemSchreiben) / 1e6};
    if (IniRecord.RefreshTimePublicView != 10000 || IniRecord.PublicDatum.Width != 80)
        qFatal("Einstellungen falsch gelesen");
    QDir::setCurrent(vorher);
    return zeiten;
}

QString text(double ms)
{
    return QString::number(ms, 'f', 1) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    const int runden = BenchDaten::umfangAusArgumenten(app.arguments()).runden;
    const QByteArray echt = echteDatei();
    aus << "Echte PROJEKT.INI: " << echt.size() << " Bytes; Start = IniVorbelegen, IniLesen, IniSchreiben, "
        << "FensterLesen, 9 x SpalteLesen (79 Zugriffe); Median aus " << runden << " Runden\n\n";
    aus << qSetFieldWidth(34) << Qt::left << "Datei" << qSetFieldWidth(14) << Qt::right << "Start alt"
        << "davon Schr." << "Start frisch" << "davon Schr." << qSetFieldWidth(0) << "\n";

    bool zuLangsam = false;
    for (const qsizetype mb : {1, 5}) {
        const qsizetype groesse = mb * 1024 * 1024;
        const QList<QPair<QString, QByteArray>> dateien = {
            {QStringLiteral("%1 MB, Zeilen ohne =").arg(mb), notizenDatei(echt, groesse)},
            {QStringLiteral("%1 MB, Schlüssel in [Control]").arg(mb), controlDatei(echt, groesse)},
        };
        for (const auto& [name, inhalt] : dateien) {
            QList<double> alt, altSchreiben, frisch, frischSchreiben;
            for (int r = 0; r < runden; ++r) {
                const Zeiten a = start(inhalt, false), f = start(inhalt, true);
                alt.append(a.gesamt);
                altSchreiben.append(a.schreiben);
                frisch.append(f.gesamt);
                frischSchreiben.append(f.schreiben);
            }
            const double a = BenchDaten::median(alt), f = BenchDaten::median(frisch);
            zuLangsam |= a >= 1000 || f >= 1000;
            aus << qSetFieldWidth(34) << Qt::left << name << qSetFieldWidth(14) << Qt::right << text(a)
                << text(BenchDaten::median(altSchreiben)) << text(f) << text(BenchDaten::median(frischSchreiben))
                << qSetFieldWidth(0) << "\n";
        }
    }
    aus << (zuLangsam ? "\nGrenze 1 s überschritten\n" : "\nAlle Starts unter 1 s\n");
    return zuLangsam ? 1 : 0;
}
