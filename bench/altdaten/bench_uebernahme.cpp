// Take-over of the old Windows program's Access database: a Jet 4 file of 20,000 projects with
// ten tasks each (200,000 tasks), written by the project's Jet writer, converted into a new
// project database. Limit: 20 s for the conversion. Exits 1 when the limit is missed.
//   bench_uebernahme [--projekte N] [--runden R]

#include "AlteProjektdatenbank.h"
#include "BenchDaten.h"
#include "Fehler.h"
#include "Uebernahme.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    const int runden = qMin(umfang.runden, 3);
    QTextStream aus(stdout);
    QTemporaryDir ordner;
    const QString alt = ordner.filePath(QStringLiteral("ALT.MDB"));
    try {
        QElapsedTimer uhr;
        uhr.start();
        JetSchreiber::grosseAlteDatenbank(alt, umfang.projekte, 10);
        aus << "Jet-Datei geschrieben: " << umfang.projekte << " Projekte, " << umfang.projekte * 10 << " Aufgaben, "
            << QFile(alt).size() / (1024 * 1024) << " MB in " << uhr.elapsed() << " ms" << Qt::endl;

        QList<double> zeiten;
        for (int r = 0; r < runden; ++r) {
            const QString neu = ordner.filePath(QStringLiteral("NEU%1.MDB").arg(r));
            uhr.restart();
            const Altdaten::UebernahmeBericht bericht = Altdaten::uebernehmen(alt, neu);
            zeiten << double(uhr.nsecsElapsed()) / 1e6;
            if (!bericht.hinweise.isEmpty() || bericht.tabellen.at(1).zeilen != qint64(umfang.projekte) * 10) {
                aus << "Unerwarteter Bericht:\n" << bericht.text(10) << Qt::endl;
                return 1;
            }
            QFile::remove(neu);
        }
        const double median = BenchDaten::median(zeiten);
        const double grenze = 20000.0 * umfang.projekte / 20000.0;
        aus << "Übernahme (Median aus " << runden << "): " << median << " ms, Grenze " << grenze << " ms" << Qt::endl;
        return median <= grenze ? 0 : 1;
    } catch (const Fehler& f) {
        aus << f.text() << Qt::endl;
        return 1;
    }
}
