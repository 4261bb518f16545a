// The data module on a database server beside the same data in a file: 20,000 projects and
// about 200,000 tasks, copied to a database of their own on the server by the database tool.
// For each engine: the start (connect, open every dataset, read the wall list), a wall tick
// with nothing written, a tick after another PC changed one project, and the full read of the
// wall list.
//   bench_server [--projekte N] [--runden R] [--server postgresql://benutzer@host:port/postgres]
// The server address names a database the user may create databases from (default: the
// environment's PV_TEST_PGSERVER, as ctest's test server sets it). Exit code 1 when a limit is
// missed: start or a tick after a change more than twice the file's, or an unchanged tick
// over 5 ms on the server.

#include "BenchDaten.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "PostgresVerbindung.h"
#include "Serveradresse.h"
#include "ServerWerkzeug.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace {

struct Werte
{
    double start = 0;
    double leererTakt = 0;
    double einTakt = 0;
    double ganz = 0;
};

Werte messen(const QString& datenbank, int runden, QTextStream& aus)
{
    Werte w;
    QElapsedTimer uhr;
    w.start = BenchDaten::messen(runden, [&] {
        TDataModule1 dm;
        dm.DBProjekt->setDatabaseName(datenbank);
        dm.DBProjekt->Open();
        dm.DatenmengenOeffnen();
        dm.ProjektListeNeuLesen();
    });

    TDataModule1 dm;
    dm.DBProjekt->setDatabaseName(datenbank);
    dm.DBProjekt->Open();
    dm.DatenmengenOeffnen();
    dm.ProjektListeNeuLesen();
    TKADaoDatabase anderer;
    anderer.setDatabaseName(datenbank);
    anderer.Open();

    QList<double> leer;
    for (int i = 0; i < 50; ++i) {
        uhr.restart();
        const auto abgleich = dm.ProjektListeAbgleichen();
        leer << uhr.nsecsElapsed() / 1e6;
        if (abgleich != TDataModule1::TListenAbgleich::Unveraendert)
            aus << "  (Takt ohne Änderung hat gelesen)\n";
    }
    w.leererTakt = BenchDaten::median(leer);

    int runde = 0;
    w.einTakt = BenchDaten::messen(
        runden, [&] { dm.ProjektListeAbgleichen(); },
        [&] {
            ++runde;
            anderer.Execute(QStringLiteral("UPDATE Projekt SET Bemerkung = 'Takt %1' WHERE ID = %2").arg(runde).arg(100 + runde * 37));
        });
    w.ganz = BenchDaten::messen(runden, [&] { dm.ProjektListeNeuLesen(); });
    return w;
}

QString ms(double wert)
{
    return QString::number(wert, 'f', wert < 10 ? 2 : 0) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    IniRecord.AnzahlStatus = 5;
    const int stelle = app.arguments().indexOf(QStringLiteral("--server"));
    const QString basis = stelle > 0 ? app.arguments().value(stelle + 1) : qEnvironmentVariable("PV_TEST_PGSERVER");
    std::optional<Serveradresse> adresse = Serveradresse::lesen(basis);
    if (!adresse) {
        aus << "Bitte einen Datenbankserver angeben: --server postgresql://benutzer@host:port/postgres "
               "(oder PV_TEST_PGSERVER setzen; scripts/pg-testserver.sh startet einen).\n";
        return 2;
    }
    const Serveradresse wartung = *adresse;
    adresse->name = QStringLiteral("pvbench_%1").arg(QCoreApplication::applicationPid());
    int ergebnis = 1;
    try {
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbankGemeldet(ordner.path(), umfang.projekte, aus);
        QElapsedTimer uhr;
        uhr.start();
        DatenbankWerkzeug::kopieren(datei, *adresse);
        aus << QStringLiteral("Auf den Server kopiert (pvdatenbank --kopieren): %1 ms\n").arg(uhr.elapsed());

        const Werte d = messen(datei, umfang.runden, aus);
        const Werte s = messen(adresse->text(), umfang.runden, aus);
        aus << QStringLiteral("\n%1 Projekte, Mediane         Datei      Server   Verhältnis\n").arg(umfang.projekte);
        const auto zeile = [&](const char* name, double a, double b) {
            aus << QStringLiteral("%1 %2 %3 %4\n")
                       .arg(QString::fromUtf8(name), -26)
                       .arg(ms(a), 10)
                       .arg(ms(b), 10)
                       .arg(b / a, 9, 'f', 2);
        };
        zeile("Start bis Wandliste", d.start, s.start);
        zeile("Takt ohne Änderung", d.leererTakt, s.leererTakt);
        zeile("Takt nach einer Änderung", d.einTakt, s.einTakt);
        zeile("Wandliste ganz lesen", d.ganz, s.ganz);
        const bool ok = s.start <= 2 * d.start && s.einTakt <= 2 * qMax(d.einTakt, 1.0) && s.leererTakt <= 5;
        aus << (ok ? "Grenzen eingehalten\n" : "GRENZE ÜBERSCHRITTEN\n");
        ergebnis = ok ? 0 : 1;
    } catch (const Fehler& f) {
        aus << "Fehler: " << f.text() << '\n';
    }
    try {
        PostgresVerbindung(wartung, 5000).roh(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(adresse->name).toUtf8());
    } catch (const Fehler& f) {
        aus << "Aufräumen: " << f.text() << '\n';
    }
    return ergebnis;
}
