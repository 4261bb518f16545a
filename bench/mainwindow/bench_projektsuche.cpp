// Times the search above the edit view's project grid on a database of 20,000 projects:
//  1. the first keystroke, when no project has been searched yet (each project's searchable
//     text is prepared then);
//  2. each keystroke of a word typed letter by letter, up to the repainted window, alone and
//     under the "EV" filter of "Refresh";
//  3. a letter taken back, and Esc giving all projects back.
//   bench_projektsuche [--projekte N] [--runden R]      (offscreen unless a display is set)
// Exit code 1 when a keystroke (the slowest of the word's letters, median of the runs) takes
// more than 30 ms.

#include "BenchDaten.h"
#include "BenchFenster.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "ProjektSuche.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

using BenchDaten::bildFertig;
using BenchDaten::messen;

namespace {

constexpr double GrenzeTastendruck = 30.0;

struct Tippen
{
    double langsamster = 0;   // the slowest letter's median
    QString buchstabe;
    int treffer = 0;
};

// Types the word letter by letter into the field; each letter timed from the text before it,
// up to the repaint (the picture of the whole window when `ganz`).
Tippen wortTippen(TFormProjektMain& fenster, TKADaoTable& projekte, const QString& wort, int runden, bool ganz)
{
    Tippen ergebnis;
    for (qsizetype n = 1; n <= wort.size(); ++n) {
        const QString vorher = wort.left(n - 1);
        const QString jetzt = wort.left(n);
        const double ms = messen(
            runden,
            [&] {
                fenster.EditSuche->setText(jetzt);
                if (ganz)
                    bildFertig(fenster);
                else
                    QApplication::processEvents();
            },
            [&] {
                fenster.EditSuche->setText(vorher);
                QApplication::processEvents();
            });
        if (ms > ergebnis.langsamster) {
            ergebnis.langsamster = ms;
            ergebnis.buchstabe = jetzt;
        }
        ergebnis.treffer = projekte.RecordCount();
    }
    return ergebnis;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    const int runden = umfang.runden;
    try {
        QElapsedTimer uhr;
        uhr.start();
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbank(ordner.path(), umfang.projekte);
        aus << QStringLiteral("Datenbank (%1 Projekte) bereit: %2 ms\n").arg(umfang.projekte).arg(uhr.elapsed());
        QDir::setCurrent(ordner.path());
        IniVorbelegen();
        IniAnlegen();
        IniRecord.AnzahlStatus = 5;
        IniRecord.Startansicht = 0;
        IniRecord.DBVerzeichnis = ordner.path();

        auto fenster = std::make_unique<TFormProjektMain>();
        auto dm1 = std::make_unique<TDataModule1>();
        auto dm2 = std::make_unique<TDataModule2>(fenster.get());
        dm1->DBProjekt->setDatabaseName(datei);
        dm1->DBProjekt->Open();
        dm1->DatenmengenOeffnen();
        fenster->show();
        bildFertig(*fenster);
        TKADaoTable& projekte = *dm1->TabProjekt;
        aus << QStringLiteral("TabProjekt: %1 Zeilen\n").arg(projekte.RecordCount());

        // --- 1. The first keystroke: every project's text prepared ---
        std::unique_ptr<TProjektSuche> kalt;
        double kaltRechenzeit = 0;
        const double ersterDruck = messen(
            runden, [&] { kalt->setText(QStringLiteral("n")); },
            [&] {
                kalt.reset();
                kalt = std::make_unique<TProjektSuche>(&projekte);
            },
            &kaltRechenzeit);
        kalt.reset();
        aus << QStringLiteral("Erster Tastendruck (alle Suchtexte vorbereitet, ohne Bild): %1 ms (Rechenzeit %2 ms)\n")
                   .arg(ersterDruck, 0, 'f', 1)
                   .arg(kaltRechenzeit, 0, 'f', 1);

        // --- 2. A word typed letter by letter ---
        const QString wort = QStringLiteral("neubau wohnhaus");
        const Tippen neu = wortTippen(*fenster, projekte, wort, runden, false);
        aus << QStringLiteral("Tastendruck bis zum neu gezeichneten Fenster, \"%1\": langsamster Buchstabe %2 ms (\"%3\"), "
                              "%4 Treffer\n")
                   .arg(wort)
                   .arg(neu.langsamster, 0, 'f', 1)
                   .arg(neu.buchstabe)
                   .arg(neu.treffer);
        const Tippen ganz = wortTippen(*fenster, projekte, wort, runden, true);
        aus << QStringLiteral("  mit Bild des ganzen Fensters: langsamster Buchstabe %1 ms (\"%2\")\n")
                   .arg(ganz.langsamster, 0, 'f', 1)
                   .arg(ganz.buchstabe);
        const QString umlaut = QStringLiteral("müller");
        const Tippen mitUmlaut = wortTippen(*fenster, projekte, umlaut, runden, false);
        aus << QStringLiteral("  \"%1\": langsamster Buchstabe %2 ms (\"%3\"), %4 Treffer\n")
                   .arg(umlaut)
                   .arg(mitUmlaut.langsamster, 0, 'f', 1)
                   .arg(mitUmlaut.buchstabe)
                   .arg(mitUmlaut.treffer);

        // --- 3. Taking a letter back, and Esc ---
        const double zurueck = messen(
            runden,
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neuba"));
                QApplication::processEvents();
            },
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neubau"));
                QApplication::processEvents();
            });
        const double leeren = messen(
            runden,
            [&] {
                fenster->EditSuche->clear();
                QApplication::processEvents();
            },
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neubau"));
                QApplication::processEvents();
            });
        aus << QStringLiteral("Buchstabe zurück: %1 ms, Esc (alle %2 Projekte wieder): %3 ms\n")
                   .arg(zurueck, 0, 'f', 1)
                   .arg(projekte.RecordCount())
                   .arg(leeren, 0, 'f', 1);

        // --- 2 again, under the "EV" filter ---
        fenster->ActionAnsichtRefreshExecute();
        const int evProjekte = projekte.RecordCount();
        const Tippen ev = wortTippen(*fenster, projekte, wort, runden, false);
        aus << QStringLiteral("Mit EV-Filter (%1 Projekte): langsamster Buchstabe %2 ms (\"%3\"), %4 Treffer\n")
                   .arg(evProjekte)
                   .arg(ev.langsamster, 0, 'f', 1)
                   .arg(ev.buchstabe)
                   .arg(ev.treffer);

        fenster->close();
        fenster.reset();
        dm2.reset();
        dm1.reset();

        aus << QStringLiteral("(Mediane von %1 Runden)\n").arg(runden);
        const bool ok = ersterDruck <= GrenzeTastendruck && neu.langsamster <= GrenzeTastendruck
                        && mitUmlaut.langsamster <= GrenzeTastendruck && zurueck <= GrenzeTastendruck
                        && leeren <= GrenzeTastendruck && ev.langsamster <= GrenzeTastendruck;
        aus << (ok ? "Grenzen eingehalten\n" : "GRENZE ÜBERSCHRITTEN\n");
        return ok ? 0 : 1;
    } catch (const Fehler& f) {
        aus << "Fehler: " << f.text() << '\n';
        return 2;
    }
}
