// How long the project grids take to paint a full screen while the user scrolls through
// 20,000 projects. The columns are those of the main window: text, dates, a progress bar over a
// calculated field, lookups of task and employee, rank glyphs and tick boxes.
//
//   bench_components [--benchmark_...]   (runs offscreen unless a display is set)
#include "DatenGitter.h"
#include "DatenbankWerkzeug.h"
#include "TDataSource.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "Zeilenfarbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Projekte = 20000;
constexpr int AnzahlStatus = 5;  // the demo data's statuses, ranks 0 to 4

// The project database with its lookup lists and the per-project task summary the progress is
// calculated from.
struct Daten
{
    QTemporaryDir ordner;
    TKADaoDatabase db;
    TKADaoTable tabProjekt, tabAufgaben, tabPersonal, tabStatSum;
    TDataSource dsProjekt, dsAufgaben, dsPersonal;

    Daten()
    {
        const QString pfad = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        DatenbankWerkzeug::anlegen(pfad);
        DatenbankWerkzeug::demoDatenEinfuegen(pfad, Projekte, QDate(2025, 6, 1));
        db.setDatabaseName(pfad);
        db.Open();

        oeffnen(tabPersonal, QStringLiteral("Personal"), &dsPersonal);
        oeffnen(tabAufgaben, QStringLiteral("Aufgaben"), &dsAufgaben);
        tabStatSum.setDatabase(&db);
        tabStatSum.setSQL(QStringLiteral("select * from ProjektAufgabenSumme"));
        tabStatSum.setReadOnly(true);
        tabStatSum.Open();

        // Progress as the data module works it out: the mean rank as a share of the highest.
        tabProjekt.AddLookupField(QStringLiteral("AnzAufg"), TFieldType::ftInteger, QStringLiteral("ID"), &tabStatSum,
                                  QStringLiteral("Projekt_ID"), QStringLiteral("AnzahlAufgaben"));
        tabProjekt.AddLookupField(QStringLiteral("SumRang"), TFieldType::ftFloat, QStringLiteral("ID"), &tabStatSum,
                                  QStringLiteral("Projekt_ID"), QStringLiteral("SummeRang"));
        tabProjekt.AddCalculatedField(QStringLiteral("Status"), TFieldType::ftFloat);
        tabProjekt.OnCalcFields = [](TKADaoTable* t) {
            const TField* anzahl = t->FieldByName(QStringLiteral("AnzAufg"));
            const TField* summe = t->FieldByName(QStringLiteral("SumRang"));
            TField* status = t->FieldByName(QStringLiteral("Status"));
            if (anzahl->IsNull() || summe->IsNull() || anzahl->AsInteger() == 0)
                status->Clear();
            else
                status->setAsFloat(summe->AsFloat() / ((AnzahlStatus - 1) * anzahl->AsInteger()) * 100);
        };
        oeffnen(tabProjekt, QStringLiteral("Projekt"), &dsProjekt);
    }

    void oeffnen(TKADaoTable& tabelle, const QString& name, TDataSource* quelle)
    {
        tabelle.setDatabase(&db);
        tabelle.setTableName(name);
        tabelle.Open();
        quelle->setDataSet(&tabelle);
    }
};

Daten* g_daten = nullptr;

// The edit view's project grid (Tahoma 8 point, rows of 18 pixels) or the public view's grid
// (20 point, rows of 38 pixels, 30-pixel glyphs), full screen.
std::unique_ptr<TDatenGitter> gitterBauen(bool oeffentlich)
{
    auto gitter = std::make_unique<TDatenGitter>();
    QFont schrift(QStringLiteral("Tahoma"), oeffentlich ? 20 : 8);
    schrift.setBold(true);
    gitter->setFont(schrift);
    gitter->setKopfHoehe(oeffentlich ? 40 : 20);
    gitter->setZeilenHoehe(oeffentlich ? 38 : 18);
    gitter->setZeilenIndikator(!oeffentlich);
    gitter->setMarkierfarbe(FarbeAusCode(0x00D9B8A8));
    gitter->setMarkierfarbeOhneFokus(FarbeAusCode(0x00F5E0DC));
    gitter->setMarkiertextfarbe(Qt::black);
    gitter->setZellFaerbung(&Zeilenfarbe);
    gitter->setMarkierungZeichnen(!oeffentlich);
    gitter->setGitterlinienNurAktiveZeilen(true);
    QFont normal(QStringLiteral("Tahoma"), oeffentlich ? 20 : 8);
    auto text = [&](const QString& feld, const QString& titel, int breite, TSpaltenArt art = TSpaltenArt::Text) {
        TGitterSpalte* s = gitter->spalteHinzufuegen(art, feld, titel, breite);
        s->setSchrift(normal);
        return s;
    };
    TGitterSpalte* fortschritt = gitter->spalteHinzufuegen(TSpaltenArt::Fortschritt, QStringLiteral("Status"),
                                                           oeffentlich ? QStringLiteral("STATUS") : QStringLiteral(" "),
                                                           oeffentlich ? 150 : 130);
    if (oeffentlich)
        fortschritt->setFortschrittStil(TFortschrittStil::Verlauf);
    text(QStringLiteral("Kommnr"), QStringLiteral("PROJEKT"), 80);
    text(QStringLiteral("Bezeichn"), QStringLiteral("BEZEICHNUNG"), 200);
    text(QStringLiteral("Baustelle"), QStringLiteral("BAUSTELLE"), 200);
    text(QStringLiteral("Betreff_ges"), QStringLiteral("BETREFF"), 250);
    text(QStringLiteral("Last_Aufgabe"), QStringLiteral("AUFGABE"), 160, TSpaltenArt::Lookup)
        ->setLookup(&g_daten->dsAufgaben, QStringLiteral("ID"), QStringLiteral("Aufg_Bezeichnung"));
    text(QStringLiteral("Last_Personal"), QStringLiteral("MITARBEITER"), 180, TSpaltenArt::Lookup)
        ->setLookup(&g_daten->dsPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
    text(QStringLiteral("Last_Datum"), QStringLiteral("DATUM"), oeffentlich ? 160 : 70, TSpaltenArt::Datum);
    TGitterSpalte* rang = gitter->spalteHinzufuegen(TSpaltenArt::Rang, QStringLiteral("Last_Rang"), QStringLiteral(" "),
                                                    oeffentlich ? 160 : 90);
    rang->setMaximum(AnzahlStatus - 1);
    rang->setGlyphGroesse(oeffentlich ? 30 : 16);
    rang->setGlyphenDeckend(oeffentlich);
    if (!oeffentlich) {
        text(QStringLiteral("LiefTermin"), QStringLiteral("L.TERMIN"), 70, TSpaltenArt::Datum);
        gitter->spalteHinzufuegen(TSpaltenArt::CheckBox, QStringLiteral("EV_Sichtbar"), QStringLiteral("EV"), 20);
        gitter->spalteHinzufuegen(TSpaltenArt::CheckBox, QStringLiteral("PV_Sichtbar"), QStringLiteral("PV"), 20);
    }
    gitter->setDatenquelle(&g_daten->dsProjekt);
    gitter->resize(1920, 1080);
    gitter->show();
    QApplication::processEvents();
    return gitter;
}

// One repaint of the whole visible grid, the rows already read.
void Neuzeichnen(benchmark::State& state)
{
    auto gitter = gitterBauen(state.range(0) != 0);
    for (auto _ : state)
        gitter->viewport()->repaint();
    state.counters["Zeilen sichtbar"] = gitter->viewport()->height() / gitter->zeilenHoehe();
}

// Scrolling page by page: each repaint reads rows not read before (lookups and the progress
// calculation run for them).
void SeitenBlaettern(benchmark::State& state)
{
    auto gitter = gitterBauen(state.range(0) != 0);
    QScrollBar* leiste = gitter->verticalScrollBar();
    const int seite = leiste->pageStep();
    for (auto _ : state) {
        const int neu = leiste->value() + seite;
        leiste->setValue(neu > leiste->maximum() ? 0 : neu);
        gitter->viewport()->repaint();
    }
}

// The dataset jumps to another project (as a search or the master-data window does); the grid
// follows, scrolls and repaints.
void DatensatzSpringen(benchmark::State& state)
{
    auto gitter = gitterBauen(false);
    int zeile = 0;
    for (auto _ : state) {
        zeile = (zeile + 7919) % Projekte;
        g_daten->tabProjekt.MoveToRow(zeile);
        gitter->viewport()->repaint();
    }
}

// Scrolling by single rows with the wheel or the arrow keys.
void ZeileFuerZeile(benchmark::State& state)
{
    auto gitter = gitterBauen(false);
    QScrollBar* leiste = gitter->verticalScrollBar();
    for (auto _ : state) {
        leiste->setValue(leiste->value() >= leiste->maximum() ? 0 : leiste->value() + 1);
        gitter->viewport()->repaint();
    }
}

} // namespace

BENCHMARK(Neuzeichnen)->Arg(0)->Arg(1)->ArgName("oeffentlich")->Unit(benchmark::kMillisecond);
BENCHMARK(SeitenBlaettern)->Arg(0)->Arg(1)->ArgName("oeffentlich")->Unit(benchmark::kMillisecond);
BENCHMARK(DatensatzSpringen)->Unit(benchmark::kMillisecond);
BENCHMARK(ZeileFuerZeile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QElapsedTimer uhr;
    uhr.start();
    Daten daten;
    g_daten = &daten;
    std::printf("Testdaten: %d Projekte in %lld ms angelegt und gelesen\n", Projekte,
                static_cast<long long>(uhr.elapsed()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_daten = nullptr;
    return 0;
}
