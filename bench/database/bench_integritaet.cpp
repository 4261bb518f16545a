// The check of every page that the connection starts after opening, on the large database
// (20,000 projects / 200,000 tasks): how long it takes in its thread, how long Open takes with
// it started, and the engine's full check beside it. A check over 100 ms must not hold up the
// start; it runs in the background and the first write waits for it.
//   bench_integritaet [--projekte N] [--runden R]

#include "BenchDaten.h"
#include "Fehler.h"
#include "Integritaetspruefung.h"
#include "TKADaoDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    QTemporaryDir ordner;
    try {
        const QString datei = BenchDaten::grosseDatenbank(ordner.path(), umfang.projekte, umfang.projekte * 10);
        aus << "Datenbank: " << umfang.projekte << " Projekte, " << umfang.projekte * 10 << " Aufgaben, "
            << QFileInfo(datei).size() / 1024 << " KB\n";

        QList<double> pruefung, oeffnen, ersteAenderung;
        for (int runde = 0; runde < umfang.runden; ++runde) {
            QElapsedTimer uhr;
            uhr.start();
            {
                Integritaetspruefung p(datei);
                if (p.abwarten() != Integritaetspruefung::Ergebnis::Heil)
                    throw Fehler(QStringLiteral("Die Prüfung meldet die Benchmark-Datenbank als beschädigt."));
            }
            pruefung << uhr.nsecsElapsed() / 1e6;

            TKADaoDatabase db;
            db.setDatabaseName(datei);
            uhr.restart();
            db.Open();
            oeffnen << uhr.nsecsElapsed() / 1e6;
            // The first write right after opening waits for the check.
            uhr.restart();
            db.SchreibenPruefen();
            ersteAenderung << uhr.nsecsElapsed() / 1e6;
            db.Close();
        }
        const double shellSchnell = BenchDaten::shellZeit(datei, {QStringLiteral("PRAGMA quick_check")}, 3);
        const double shellVoll = BenchDaten::shellZeit(datei, {QStringLiteral("PRAGMA integrity_check")}, 3);
        const double median = BenchDaten::median(pruefung);
        aus << "Seitenprüfung (quick_check) im eigenen Faden: " << median << " ms (Median aus " << umfang.runden
            << ")\n";
        aus << "Open mit gestarteter Prüfung:                 " << BenchDaten::median(oeffnen) << " ms\n";
        aus << "Erste Änderung direkt nach Open (wartet):      " << BenchDaten::median(ersteAenderung) << " ms\n";
        aus << "sqlite3-Shell quick_check:                     " << shellSchnell << " ms\n";
        aus << "sqlite3-Shell integrity_check:                 " << shellVoll << " ms\n";
        aus << (median > 100 ? "Über 100 ms: die Prüfung läuft nach dem Öffnen im Hintergrund.\n"
                             : "Unter 100 ms: die Prüfung könnte auch beim Öffnen laufen.\n");
    } catch (const Fehler& f) {
        aus << f.text() << "\n";
        return 1;
    }
    return 0;
}
