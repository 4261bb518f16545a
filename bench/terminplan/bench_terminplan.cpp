// Times the week overview and the timeline page on a database of 20,000 projects and about
// 200,000 tasks, each step up to a finished picture where there is one:
//  1. reading one week (the query and the cells), against the sqlite3 shell on the same query;
//  2. opening the "Wochenplan" window on the current week, up to the painted window;
//  3. "Nächste Woche" in the open window, up to the painted window;
//  4. moving to the next project with the "Terminplan" page shown, up to the painted page.
//   bench_terminplan [--projekte N] [--runden R]      (offscreen unless a display is set)
// Exit code 1 when a limit is missed: a week > 300 ms, opening > 400 ms, the next week
// > 300 ms, the next project > 50 ms.

#include "BenchDaten.h"
#include "BenchFenster.h"
#include "DataModule1.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TerminplanAnsicht.h"
#include "UnitWochenplan.h"
#include "Wochenplan.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream aus(stdout);
    const BenchDaten::Umfang umfang = BenchDaten::umfangAusArgumenten(app.arguments());
    bool verfehlt = false;
    const auto zeile = [&](const QString& was, double ms, double grenze) {
        const bool zuLang = grenze > 0 && ms > grenze;
        verfehlt = verfehlt || zuLang;
        aus << QStringLiteral("%1: %2 ms").arg(was).arg(ms, 0, 'f', 1)
            << (grenze > 0 ? QStringLiteral(" (Grenze %1 ms%2)").arg(grenze).arg(zuLang ? QStringLiteral(", VERFEHLT") : QString())
                           : QString())
            << '\n';
        aus.flush();
    };
    try {
        QTemporaryDir ordner;
        const QString datei = BenchDaten::grosseDatenbankGemeldet(ordner.path(), umfang.projekte, aus);
        QDir::setCurrent(ordner.path());
        IniVorbelegen();
        IniAnlegen();

        TDataModule1 dm1;
        dm1.DBProjekt->setDatabaseName(datei);
        dm1.DBProjekt->Open();
        dm1.DatenmengenOeffnen();
        // The week the generated tasks are planned in, so the week is full.
        const QDate heute = BenchDaten::stichtag();

        TWochenplan plan;
        zeile(QStringLiteral("Woche lesen"), BenchDaten::messen(umfang.runden, [&] { plan.Laden(dm1.DBProjekt, heute); }),
              300);
        int eintraege = 0;
        for (const TWochenplanZeile& z : plan.Zeilen())
            for (const QStringList& zelle : z.tage)
                eintraege += int(zelle.size());
        aus << QStringLiteral("  %1 Zeilen, %2 Zelleneinträge\n").arg(plan.Zeilen().size()).arg(eintraege);
        const double shell = BenchDaten::shellZeit(datei, {TWochenplan::Abfrage(TWochenplan::Wochenanfang(heute)) + QLatin1Char(';')},
                                                   umfang.runden);
        if (shell >= 0)
            zeile(QStringLiteral("  dieselbe Abfrage in der sqlite3-Shell (mit Prozessstart)"), shell, 0);

        std::unique_ptr<TFormWochenplan> fenster;
        zeile(QStringLiteral("Wochenplan öffnen bis zum gemalten Fenster"),
              BenchDaten::messen(
                  umfang.runden,
                  [&] {
                      fenster = std::make_unique<TFormWochenplan>(dm1.DBProjekt);
                      fenster->setHeute(heute);
                      fenster->show();
                      BenchDaten::bildFertig(*fenster);
                  },
                  [&] { fenster.reset(); }),
              400);
        zeile(QStringLiteral("Nächste Woche bis zum gemalten Fenster"),
              BenchDaten::messen(umfang.runden, [&] {
                  fenster->BtnNaechsteWoche->click();
                  BenchDaten::bildFertig(*fenster);
              }),
              300);
        fenster.reset();

        TTerminplanAnsicht ansicht;
        ansicht.resize(900, 400);
        ansicht.setDatenquelle(dm1.DSProjektAufgaben);
        ansicht.show();
        BenchDaten::bildFertig(ansicht);
        TKADaoTable* projekte = dm1.TabProjekt;
        projekte->First();
        zeile(QStringLiteral("Nächstes Projekt im Terminplan bis zum Bild"),
              BenchDaten::messen(umfang.runden * 3, [&] {
                  projekte->Next();
                  BenchDaten::bildFertig(ansicht);
              }),
              50);
        aus << QStringLiteral("  zuletzt %1 Aufgaben im Bild\n").arg(ansicht.geometrie().eintraege().size());
    } catch (const Fehler& f) {
        aus << QStringLiteral("Fehler: %1\n").arg(f.text());
        return 2;
    }
    return verfehlt ? 1 : 0;
}
