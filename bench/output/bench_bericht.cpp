// Times the project report:
//  1. 2,000 projects with 10 tasks each: preparing the pages (limit 1.5 s) and writing them
//     as a PDF (limit 3 s), median of the rounds;
//  2. 20,000 projects with 200,000 tasks shown in the print preview window (offscreen): time
//     until the run is done (limit 15 s), the longest the window waited for its events meanwhile
//     (limit 250 ms) and whether the progress was shown.
//   bench_bericht [--projekte N] [--runden R]   (N: projects of part 2)
// Exit code 1 when a limit is missed; the time limits are checked against the processor time
// of the process (printed beside the wall clock), since the machines it runs on are shared.

#include "Bericht.h"
#include "BerichtSeiten.h"
#include "BerichtVorschau.h"
#include "BerichtZeichner.h"
#include "BenchDaten.h"
#include "DataModule1.h"
#include "FRDruckVorschau.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitDataModulePrint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <sys/resource.h>

namespace {

// Processor time of the process in milliseconds: on a busy machine the wall clock says more
// about the neighbours than about the report.
double cpuMs()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

struct Module
{
    std::unique_ptr<TDataModule1> daten;
    std::unique_ptr<TDataModule3> druck;

    explicit Module(const QString& datei)
    {
        daten = std::make_unique<TDataModule1>();
        daten->DBProjekt->setDatabaseName(datei);
        daten->DBProjekt->Open();
        druck = std::make_unique<TDataModule3>(daten.get());
        druck->TabPrintProjekt->Open();
        druck->TabPrintAufgaben->Open();
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    IniRecord.AnzahlStatus = 5;
    bool gut = true;
    try {
        QTemporaryDir ordner;
        QElapsedTimer uhr;

        // --- 1. 2,000 projects ---
        {
            QTemporaryDir klein;
            const QString datei = BenchDaten::grosseDatenbank(klein.path(), 2000, 20000);
            Module m(datei);
            QList<double> vorbereiten, pdf, vorbereitenCpu, pdfCpu;
            int seiten = 0;
            for (int r = 0; r < umfang.runden; ++r) {
                double cpu = cpuMs();
                uhr.restart();
                const auto ergebnis = m.druck->frxReport1->Vorbereiten();
                vorbereiten << uhr.nsecsElapsed() / 1e6;
                vorbereitenCpu << cpuMs() - cpu;
                seiten = ergebnis->Anzahl();
                cpu = cpuMs();
                uhr.restart();
                BerichtPdfSchreiben(*ergebnis, QDir(klein.path()).filePath(QStringLiteral("bericht.pdf")));
                pdf << uhr.nsecsElapsed() / 1e6;
                pdfCpu << cpuMs() - cpu;
            }
            const double v = BenchDaten::median(vorbereiten);
            const double p = BenchDaten::median(pdf);
            aus << QStringLiteral("2.000 Projekte, %1 Aufgaben, %2 Seiten: vorbereiten %3 ms (Prozessor %6 ms; Grenze 1500), "
                                  "PDF %4 ms (Prozessor %7 ms; Grenze 3000), %5 KB\n")
                       .arg(20000)
                       .arg(seiten)
                       .arg(v, 0, 'f', 0)
                       .arg(p, 0, 'f', 0)
                       .arg(QFileInfo(QDir(klein.path()).filePath(QStringLiteral("bericht.pdf"))).size() / 1024)
                       .arg(BenchDaten::median(vorbereitenCpu), 0, 'f', 0)
                       .arg(BenchDaten::median(pdfCpu), 0, 'f', 0);
            gut = gut && BenchDaten::median(vorbereitenCpu) <= 1500 && BenchDaten::median(pdfCpu) <= 3000;
        }

        // --- 2. The preview window over a large run ---
        {
            const int projekte = umfang.projekte;
            uhr.restart();
            const QString datei = BenchDaten::grosseDatenbank(ordner.path(), projekte, projekte * 10);
            aus << QStringLiteral("Datenbank (%1 Projekte, %2 Aufgaben) bereit: %3 ms\n").arg(projekte).arg(projekte * 10).arg(uhr.elapsed());
            Module m(datei);
            TFRDruckVorschauForm fenster;
            TBerichtVorschau* vorschau = fenster.frxPreview1;
            bool fortschrittGesehen = false;
            qint64 laengsteLuecke = 0;
            QElapsedTimer luecke;
            QTimer fuehler;
            fuehler.setInterval(5);
            QObject::connect(&fuehler, &QTimer::timeout, [&] {
                laengsteLuecke = std::max(laengsteLuecke, luecke.restart());
                fortschrittGesehen = fortschrittGesehen
                                     || vorschau->findChild<QProgressBar*>(QStringLiteral("Fortschritt"))->isVisible();
            });
            QEventLoop schleife;
            QObject::connect(vorschau, &TBerichtVorschau::VorbereitungFertig, &schleife, &QEventLoop::quit);
            const double cpuStart = cpuMs();
            uhr.restart();
            vorschau->BerichtZeigen(m.druck->frxReport1);
            const qint64 ersteSeite = uhr.elapsed();
            fenster.show();
            luecke.start();
            fuehler.start();
            if (vorschau->Beschaeftigt())
                schleife.exec();
            const qint64 gesamt = uhr.elapsed();
            const double gesamtCpu = cpuMs() - cpuStart;
            fuehler.stop();
            aus << QStringLiteral("Vorschau: erste Seite nach %1 ms, fertig nach %2 ms (Prozessor %6 ms; Grenze 15000), %3 Seiten; "
                                  "längste Wartezeit der Ereignisse %4 ms (Grenze 250); Fortschritt gezeigt: %5\n")
                       .arg(ersteSeite)
                       .arg(gesamt)
                       .arg(vorschau->Seitenanzahl())
                       .arg(laengsteLuecke)
                       .arg(fortschrittGesehen ? QStringLiteral("ja") : QStringLiteral("nein"))
                       .arg(gesamtCpu, 0, 'f', 0);
            gut = gut && gesamtCpu <= 15000 && laengsteLuecke <= 250 && fortschrittGesehen;
            uhr.restart();
            vorschau->PdfSpeichern(QDir(ordner.path()).filePath(QStringLiteral("gross.pdf")));
            aus << QStringLiteral("PDF aller %1 Seiten: %2 ms\n").arg(vorschau->Seitenanzahl()).arg(uhr.elapsed());
        }
    } catch (const Fehler& f) {
        aus << QStringLiteral("Fehler: ") << f.text() << '\n';
        return 2;
    }
    aus << (gut ? QStringLiteral("Alle Grenzen eingehalten.\n") : QStringLiteral("Eine Grenze verfehlt.\n"));
    return gut ? 0 : 1;
}
