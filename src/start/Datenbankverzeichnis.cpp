#include "Datenbankverzeichnis.h"

#include "Fehler.h"
#include "IniRecord.h"
#include "Meldung.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace Datenbankverzeichnis {

namespace {

bool istFreigabe(const QString& pfad)
{
    return pfad.startsWith(QLatin1String("\\\\"));
}

} // namespace

bool istWindowsPfad(const QString& pfad)
{
    static const QRegularExpression laufwerk(QStringLiteral("^[A-Za-z]:(?:[\\\\/]|$)"));
    const QString p = pfad.trimmed();
    return istFreigabe(p) || laufwerk.match(p).hasMatch();
}

QString ermitteln()
{
    const QString eingetragen = IniRecord.DBVerzeichnis;
    if (!istWindowsPfad(eingetragen))
        return eingetragen;
    const QString programmordner = ProgrammVerzeichnis();
    const QString datenbank = PfadVerbinden(programmordner, QStringLiteral("PROJEKT.MDB"));
    if (QFileInfo(datenbank).isFile()) {
        Meldung::information(QStringLiteral("Das Datenbankverzeichnis '%1' ist ein Windows-Pfad. Verwendet wird die "
                                            "Datenbank im Programmordner:\n%2\nDas Datenbankverzeichnis in den "
                                            "Einstellungen ist jetzt der Programmordner.")
                                 .arg(eingetragen, datenbank));
        IniRecord.DBVerzeichnis = programmordner;
        IniSchreiben();
        return programmordner;
    }
    const QString art = istFreigabe(eingetragen)
        ? QStringLiteral("der Pfad einer Windows-Freigabe. Bitte die Freigabe auf diesem Rechner einbinden und "
                         "ihren Ordner")
        : QStringLiteral("ein Windows-Pfad mit Laufwerksbuchstaben. Bitte den Ordner, in dem PROJEKT.MDB auf "
                         "diesem Rechner liegt,");
    throw Fehler(QStringLiteral("Das Datenbankverzeichnis '%1' ist %2 in %3 im Abschnitt [Programm] bei "
                                "DBVerzeichnis eintragen (z. B. DBVerzeichnis=%4), oder PROJEKT.MDB in den "
                                "Programmordner %4 legen.")
                     .arg(eingetragen, art, IniDateiPfad(), programmordner));
}

} // namespace Datenbankverzeichnis
