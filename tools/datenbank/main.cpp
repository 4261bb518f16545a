// pvdatenbank: creates a new project database file (PROJEKT.MDB), optionally with demo data, or
// takes the old Windows program's Access database over into a new one.
//   pvdatenbank [--demo] [--projekte N] <datei>
//   pvdatenbank --uebernehmen <ALT.MDB> <neue datei>

#include "DatenbankWerkzeug.h"
#include "Fehler.h"
#include "Uebernahme.h"

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
    parser.addOption(demo);
    parser.addOption(projekte);
    parser.addOption(uebernehmen);
    parser.addPositionalArgument(QStringLiteral("datei"), QStringLiteral("Die neue Datenbankdatei, z. B. PROJEKT.MDB."));
    parser.process(app);

    QTextStream fehler(stderr);
    const QStringList argumente = parser.positionalArguments();
    if (parser.isSet(uebernehmen)) {
        if (argumente.size() != 1 || parser.isSet(demo)) {
            fehler << "Bitte die Access-Datenbank und genau eine neue Datei angeben.\n\n" << parser.helpText();
            return 2;
        }
        return uebernahmeAusfuehren(parser.value(uebernehmen), argumente.first());
    }
    if (argumente.size() != 1) {
        fehler << "Bitte genau eine Datenbankdatei angeben.\n\n" << parser.helpText();
        return 2;
    }
    bool ok = false;
    const int anzahl = parser.value(projekte).toInt(&ok);
    if (!ok || anzahl < 0) {
        fehler << "Die Anzahl der Projekte muss eine Zahl ab 0 sein.\n";
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
