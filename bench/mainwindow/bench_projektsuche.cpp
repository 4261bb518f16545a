// Times the search above the edit view's project grid on a database of 20,000 projects:
//  1. preparing each project's searchable text (done when the field takes the focus), the first
//     keystroke after it, and the first keystroke without it;
//  2. each keystroke of a word typed letter by letter, up to the repainted window, alone and
//     under the "EV" filter of "Refresh";
//  3. a letter taken back, and Esc giving all projects back.
//   bench_projektsuche [--projekte N] [--runden R]      (offscreen unless a display is set)
// Exit code 1 when a keystroke (the slowest of the word's letters, median of the runs) takes
// more than 30 ms of the thread's CPU time: on this machine, shared with other work, the wall
// clock also counts the waiting for a core; it is shown beside it.

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
    double langsamster = 0;   // the slowest letter's median CPU time
    double uhrzeit = 0;       // and its median on the wall clock
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
        double cpu = 0;
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
            },
            &cpu);
        if (cpu > ergebnis.langsamster) {
            ergebnis.langsamster = cpu;
            ergebnis.uhrzeit = ms;
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
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbankGemeldet(ordner.path(), umfang.projekte, aus);
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

        // --- 1. Preparing every project's text (when the field takes the focus), then the
        //        first keystroke; and the first keystroke without that preparation ---
        std::unique_ptr<TProjektSuche> kalt;
        const auto neueSuche = [&] {
            kalt.reset();
            kalt = std::make_unique<TProjektSuche>(&projekte);
        };
        double vorbereiten = 0;
        const double vorbereitenUhr = messen(runden, [&] { kalt->vorbereiten(); }, neueSuche, &vorbereiten);
        double ersterDruck = 0;
        const double ersterDruckUhr = messen(
            runden, [&] { kalt->setText(QStringLiteral("n")); },
            [&] {
                neueSuche();
                kalt->vorbereiten();
            },
            &ersterDruck);
        double ohneVorbereitung = 0;
        const double ohneVorbereitungUhr =
            messen(runden, [&] { kalt->setText(QStringLiteral("n")); }, neueSuche, &ohneVorbereitung);
        kalt.reset();
        aus << QStringLiteral("Suchtexte aller Projekte vorbereiten (das Feld bekommt den Fokus): Rechenzeit %1 ms (Uhr %2 ms)\n")
                   .arg(vorbereiten, 0, 'f', 1)
                   .arg(vorbereitenUhr, 0, 'f', 1);
        aus << QStringLiteral("Erster Tastendruck danach (ohne Bild): Rechenzeit %1 ms (Uhr %2 ms); ohne Vorbereitung: "
                              "Rechenzeit %3 ms (Uhr %4 ms)\n")
                   .arg(ersterDruck, 0, 'f', 1)
                   .arg(ersterDruckUhr, 0, 'f', 1)
                   .arg(ohneVorbereitung, 0, 'f', 1)
                   .arg(ohneVorbereitungUhr, 0, 'f', 1);
        // The window's own search, prepared as when the user goes to the field.
        fenster->EditSuche->setFocus();
        QApplication::processEvents();

        // --- 2. A word typed letter by letter ---
        const QString wort = QStringLiteral("neubau wohnhaus");
        const auto zeigen = [&](const QString& was, const Tippen& t) {
            aus << QStringLiteral("%1: langsamster Buchstabe \"%2\" Rechenzeit %3 ms (Uhr %4 ms), %5 Treffer\n")
                       .arg(was, t.buchstabe)
                       .arg(t.langsamster, 0, 'f', 1)
                       .arg(t.uhrzeit, 0, 'f', 1)
                       .arg(t.treffer);
        };
        const Tippen neu = wortTippen(*fenster, projekte, wort, runden, false);
        zeigen(QStringLiteral("Tastendruck bis zum neu gezeichneten Fenster, \"%1\"").arg(wort), neu);
        const Tippen ganz = wortTippen(*fenster, projekte, wort, runden, true);
        zeigen(QStringLiteral("  mit Bild des ganzen Fensters"), ganz);
        const QString umlaut = QStringLiteral("müller");
        const Tippen mitUmlaut = wortTippen(*fenster, projekte, umlaut, runden, false);
        zeigen(QStringLiteral("  \"%1\"").arg(umlaut), mitUmlaut);

        // --- 3. Taking a letter back, and Esc ---
        double zurueck = 0;
        double leeren = 0;
        const double zurueckUhr = messen(
            runden,
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neuba"));
                QApplication::processEvents();
            },
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neubau"));
                QApplication::processEvents();
            },
            &zurueck);
        const double leerenUhr = messen(
            runden,
            [&] {
                fenster->EditSuche->clear();
                QApplication::processEvents();
            },
            [&] {
                fenster->EditSuche->setText(QStringLiteral("neubau"));
                QApplication::processEvents();
            },
            &leeren);
        aus << QStringLiteral("Buchstabe zurück: Rechenzeit %1 ms (Uhr %2 ms); Esc, alle %3 Projekte wieder: Rechenzeit "
                              "%4 ms (Uhr %5 ms)\n")
                   .arg(zurueck, 0, 'f', 1)
                   .arg(zurueckUhr, 0, 'f', 1)
                   .arg(projekte.RecordCount())
                   .arg(leeren, 0, 'f', 1)
                   .arg(leerenUhr, 0, 'f', 1);

        // --- 2 again, under the "EV" filter ---
        fenster->ActionAnsichtRefreshExecute();
        const int evProjekte = projekte.RecordCount();
        const Tippen ev = wortTippen(*fenster, projekte, wort, runden, false);
        zeigen(QStringLiteral("Mit EV-Filter (%1 Projekte)").arg(evProjekte), ev);

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
