// pvdatenbank: creates a new project database file (PROJEKT.MDB), optionally with demo data.
//   pvdatenbank [--demo] [--projekte N] <datei>

#include "DatenbankWerkzeug.h"
#include "Fehler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pvdatenbank"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Legt eine neue, leere Projektdatenbank an (eine vorhandene Datei wird nie überschrieben)."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Füllt die neue Datenbank mit Beispieldaten."));
    const QCommandLineOption projekte(QStringLiteral("projekte"),
                                      QStringLiteral("Anzahl der Beispielprojekte (mit --demo, Vorgabe 40)."),
                                      QStringLiteral("anzahl"), QStringLiteral("40"));
    parser.addOption(demo);
    parser.addOption(projekte);
    parser.addPositionalArgument(QStringLiteral("datei"), QStringLiteral("Die neue Datenbankdatei, z. B. PROJEKT.MDB."));
    parser.process(app);

    QTextStream fehler(stderr);
    const QStringList argumente = parser.positionalArguments();
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
