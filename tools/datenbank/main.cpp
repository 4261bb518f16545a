// pvdatenbank: creates a new project database file (PROJEKT.MDB), optionally with demo data, or
// takes the old Windows program's Access database over into a new one.
//   pvdatenbank [--demo] [--projekte N] <datei>
//   pvdatenbank --uebernehmen <ALT.MDB> <neue datei>
//   pvdatenbank --server postgresql://benutzer@host:port/name [--demo] [--projekte N]
//   pvdatenbank --kopieren <PROJEKT.MDB> postgresql://benutzer@host:port/name

#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "ServerWerkzeug.h"
#include "Uebernahme.h"

#include <QTemporaryDir>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

// A line per table as it is done, then the report.
int uebernahmeAusfuehren(const QString& alt, const QString& neu)
{
    QTextStream aus(stdout);
    try {
        const Altdaten::UebernahmeBericht bericht =
            Altdaten::uebernehmen(alt, neu, [&aus](const Altdaten::UebernahmeStand& stand) {
                if (stand.tabelleFertig)
                    aus << stand.tabelle << ": " << Altdaten::zeilenText(stand.tabelleZeilen) << " (" << stand.erledigt << " von "
                        << stand.gesamt << ")" << Qt::endl;
                return true;
            });
        aus << bericht.text() << Qt::endl;
    } catch (const Fehler& f) {
        QTextStream(stderr) << f.text() << '\n';
        return 1;
    }
    return 0;
}

std::optional<Serveradresse> adresseLesen(const QString& text, QTextStream& fehler)
{
    const std::optional<Serveradresse> adresse = Serveradresse::lesen(text);
    if (!adresse)
        fehler << "'" << text << "' ist keine vollständige Serveradresse; sie lautet "
               << "postgresql://benutzer@host:port/datenbank.\n";
    return adresse;
}

// The new database on the server; demo data are made in a file first and moved over, so both
// engines get the very same rows.
int serverAnlegen(const Serveradresse& adresse, bool demo, int anzahl)
{
    if (!demo) {
        DatenbankWerkzeug::anlegenAufServer(adresse);
        return 0;
    }
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
    DatenbankWerkzeug::anlegen(datei);
    DatenbankWerkzeug::demoDatenEinfuegen(datei, anzahl);
    DatenbankWerkzeug::kopieren(datei, adresse);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pvdatenbank"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Legt eine neue, leere Projektdatenbank an oder übernimmt eine Access-Datenbank des alten "
        "Windows-Programms in eine neue (eine vorhandene Datei wird nie überschrieben)."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Füllt die neue Datenbank mit Beispieldaten."));
    const QCommandLineOption projekte(QStringLiteral("projekte"),
                                      QStringLiteral("Anzahl der Beispielprojekte (mit --demo, Vorgabe 40)."),
                                      QStringLiteral("anzahl"), QStringLiteral("40"));
    const QCommandLineOption uebernehmen(QStringLiteral("uebernehmen"),
                                         QStringLiteral("Übernimmt die Access-Datenbank <alt> des alten Windows-Programms "
                                                        "in die neue Datei."),
                                         QStringLiteral("alt"));
    const QCommandLineOption server(QStringLiteral("server"),
                                    QStringLiteral("Legt die Projektdatenbank auf einem PostgreSQL-Server an "
                                                   "(postgresql://benutzer@host:port/name)."),
                                    QStringLiteral("adresse"));
    const QCommandLineOption kopieren(QStringLiteral("kopieren"),
                                      QStringLiteral("Überträgt die Datenbankdatei <datei> mit allen Zeilen auf den "
                                                     "Server, dessen Adresse als Argument folgt."),
                                      QStringLiteral("datei"));
    parser.addOption(server);
    parser.addOption(kopieren);
    parser.addOption(demo);
    parser.addOption(projekte);
    parser.addOption(uebernehmen);
    parser.addPositionalArgument(QStringLiteral("datei"), QStringLiteral("Die neue Datenbankdatei, z. B. PROJEKT.MDB."));
    parser.process(app);

    QTextStream fehler(stderr);
    const QStringList argumente = parser.positionalArguments();
    if (parser.isSet(kopieren)) {
        if (argumente.size() != 1 || parser.isSet(demo) || parser.isSet(server)) {
            fehler << "Bitte die Datenbankdatei und genau eine Serveradresse angeben.\n\n" << parser.helpText();
            return 2;
        }
        const std::optional<Serveradresse> adresse = adresseLesen(argumente.first(), fehler);
        if (!adresse)
            return 2;
        try {
            QTextStream aus(stdout);
            for (const auto& [tabelle, zeilen] : DatenbankWerkzeug::kopieren(parser.value(kopieren), *adresse))
                aus << tabelle << ": " << zeilen << " Zeilen" << Qt::endl;
        } catch (const Fehler& f) {
            fehler << f.text() << '\n';
            return 1;
        }
        return 0;
    }
    if (parser.isSet(uebernehmen)) {
        if (argumente.size() != 1 || parser.isSet(demo)) {
            fehler << "Bitte die Access-Datenbank und genau eine neue Datei angeben.\n\n" << parser.helpText();
            return 2;
        }
        return uebernahmeAusfuehren(parser.value(uebernehmen), argumente.first());
    }
    bool ok = false;
    const int anzahl = parser.value(projekte).toInt(&ok);
    if (!ok || anzahl < 0) {
        fehler << "Die Anzahl der Projekte muss eine Zahl ab 0 sein.\n";
        return 2;
    }
    if (parser.isSet(server)) {
        if (!argumente.isEmpty()) {
            fehler << "Mit --server wird keine Datei angegeben.\n\n" << parser.helpText();
            return 2;
        }
        const std::optional<Serveradresse> adresse = adresseLesen(parser.value(server), fehler);
        if (!adresse)
            return 2;
        try {
            return serverAnlegen(*adresse, parser.isSet(demo), anzahl);
        } catch (const Fehler& f) {
            fehler << f.text() << '\n';
            return 1;
        }
    }
    if (argumente.size() != 1) {
        fehler << "Bitte genau eine Datenbankdatei angeben.\n\n" << parser.helpText();
        return 2;
    }
    try {
        DatenbankWerkzeug::anlegen(argumente.first());
        if (parser.isSet(demo))
            DatenbankWerkzeug::demoDatenEinfuegen(argumente.first(), anzahl);
    } catch (const Fehler& f) {
        fehler << f.text() << '\n';
        return 1;
    }
    return 0;
}
