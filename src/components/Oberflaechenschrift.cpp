#include "Oberflaechenschrift.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

QString OberflaechenSchriftfamilie()
{
    static const QString familie = [] {
        QString gefunden;
        for (const QString& datei : {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
                                     QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")}) {
            if (!QFile::exists(datei))
                continue;
            const int id = QFontDatabase::addApplicationFont(datei);
            const QStringList familien = QFontDatabase::applicationFontFamilies(id);
            if (gefunden.isEmpty() && !familien.isEmpty())
                gefunden = familien.first();
        }
        return gefunden.isEmpty() ? QStringLiteral("Liberation Sans") : gefunden;
    }();
    return familie;
}

QFont Oberflaechenschrift(int punkt, bool fett)
{
    QFont schrift(OberflaechenSchriftfamilie());
    schrift.setPointSize(punkt);
    schrift.setBold(fett);
    return schrift;
}
