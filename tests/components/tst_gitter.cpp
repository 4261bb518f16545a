// Painting rules of the grid's column kinds, the cell-colouring hook and the column layout,
// on a plain item model (no dataset involved).
#include "DatenGitter.h"
#include "GitterDelegate.h"
#include "RangGlyphe.h"
#include "Zeilenfarbe.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// A shown grid over a plain model, one row per value of a single column.
struct Gitter
{
    TDatenGitter gitter;
    QStandardItemModel modell;

    TGitterSpalte* spalte(TSpaltenArt art, int breite)
    {
        TGitterSpalte* s = gitter.spalteHinzufuegen(art, QStringLiteral("Feld"), QStringLiteral("FELD"), breite);
        return s;
    }
    void zeigen(const QVariantList& werte, int zeilenhoehe = 30)
    {
        modell.setColumnCount(gitter.spaltenAnzahl());
        for (const QVariant& wert : werte) {
            auto* item = new QStandardItem;
            item->setData(wert, GitterRolle::Rohwert);
            item->setData(wert.toString(), Qt::DisplayRole);
            modell.appendRow(item);
        }
        gitter.setModel(&modell);
        gitter.setZeilenHoehe(zeilenhoehe);
        gitter.setZeilenIndikator(false);
        gitter.resize(500, 400);
        gitter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gitter));
    }
    QImage bild() { return gitter.viewport()->grab().toImage(); }
    QRect zelle(int zeile, int spalte = 0) { return gitter.visualRect(modell.index(zeile, spalte)); }
};

// Columns x of the rectangle in which some pixel has the colour, grouped into runs.
QList<QPair<int, int>> laeufe(const QImage& bild, const QRect& r, const QColor& farbe)
{
    QList<QPair<int, int>> ergebnis;
    int beginn = -1;
    for (int x = r.left(); x <= r.right() + 1; ++x) {
        bool treffer = false;
        for (int y = r.top(); x <= r.right() && y <= r.bottom() && !treffer; ++y)
            treffer = bild.pixelColor(x, y) == farbe;
        if (treffer && beginn < 0)
            beginn = x;
        if (!treffer && beginn >= 0) {
            ergebnis.append({beginn, x - 1});
            beginn = -1;
        }
    }
    return ergebnis;
}

int anzahl(const QImage& bild, const QRect& r, const QColor& farbe)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += bild.pixelColor(x, y) == farbe;
    return n;
}

const QColor Gruen(0, 128, 0);
const QColor Mittel(240, 202, 166);  // colour code 0x00A6CAF0
const QColor Rot(255, 0, 0);

} // namespace

class TestGitter : public QObject
{
    Q_OBJECT
private slots:
    void fortschrittsbalken_data();
    void fortschrittsbalken();
    void fortschrittEckenUndVerlauf();
    void rangGlyphen_data();
    void rangGlyphen();
    void checkBoxUndMemo();
    void spaltenSchrift();
    void zeilenfarbe();
    void sortierteSpalte();
    void spaltenLayout();
    void spaltenLayoutErsterStart();
    void zellTextPasst_data();
    void zellTextPasst();
    void seitenweise();
    void breitenAnpassen();
};

void TestGitter::fortschrittsbalken_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QColor>("farbe");
    QTest::addColumn<double>("anteil");
    QTest::addColumn<QString>("text");
    QTest::newRow("90 grün") << QVariant(90.0) << Gruen << 0.90 << "90%";
    QTest::newRow("89.6 mittel") << QVariant(89.6) << Mittel << 0.896 << "90%";
    QTest::newRow("50.5 mittel") << QVariant(50.5) << Mittel << 0.505 << "51%";
    QTest::newRow("50 rot") << QVariant(50.0) << Rot << 0.50 << "50%";
    QTest::newRow("12.4 rot") << QVariant(12.4) << Rot << 0.124 << "12%";
    QTest::newRow("100 voll") << QVariant(100.0) << Gruen << 1.0 << "100%";
    QTest::newRow("leer wie 0") << QVariant() << Rot << 0.0 << "0%";
    QTest::newRow("über 100 begrenzt") << QVariant(130.0) << Gruen << 1.0 << "130%";
    QTest::newRow("negativ begrenzt") << QVariant(-20.0) << Rot << 0.0 << "-20%";
}

void TestGitter::fortschrittsbalken()
{
    QFETCH(QVariant, wert);
    QFETCH(QColor, farbe);
    QFETCH(double, anteil);
    QFETCH(QString, text);
    QCOMPARE(TGitterDelegate::fortschrittText(wert), text);

    Gitter g;
    g.spalte(TSpaltenArt::Fortschritt, 130);
    g.zeigen({wert});
    const QImage bild = g.bild();
    const QRect innen = TGitterDelegate::fortschrittInnen(g.zelle(0).adjusted(0, 0, -1, -1), false);
    // A line near the top of the bar, above the text.
    const QRect linie(innen.left(), innen.top() + 2, innen.width(), 1);
    const int erwartet = qRound(innen.width() * anteil);
    QVERIFY2(qAbs(anzahl(bild, linie, farbe) - erwartet) <= 2,
             qPrintable(QStringLiteral("%1 Pixel statt %2").arg(anzahl(bild, linie, farbe)).arg(erwartet)));
    // The rest of the line is not bar in any colour.
    for (const QColor& andere : {Gruen, Mittel, Rot})
        if (andere != farbe)
            QCOMPARE(anzahl(bild, linie, andere), 0);
}

void TestGitter::fortschrittEckenUndVerlauf()
{
    Gitter g;
    TGitterSpalte* voll = g.spalte(TSpaltenArt::Fortschritt, 130);
    TGitterSpalte* verlauf = g.spalte(TSpaltenArt::Fortschritt, 150);
    verlauf->setFortschrittStil(TFortschrittStil::Verlauf);
    QCOMPARE(voll->fortschrittStil(), TFortschrittStil::Voll);
    auto* item = new QStandardItem;
    item->setData(100.0, GitterRolle::Rohwert);
    auto* item2 = new QStandardItem;
    item2->setData(100.0, GitterRolle::Rohwert);
    g.modell.appendRow({item, item2});
    g.zeigen({});
    const QImage bild = g.bild();

    // Rounded corners: the very corner of a full bar is not bar colour, its middle is.
    const QRect innen = TGitterDelegate::fortschrittInnen(g.zelle(0, 0).adjusted(0, 0, -1, -1), false);
    QVERIFY(bild.pixelColor(innen.topLeft()) != Gruen);
    QCOMPARE(bild.pixelColor(innen.left() + 4, innen.top() + 2), Gruen);

    // Gradient: 3 pixels of margin stay background, the bar is lighter at the top than below.
    const QRect zelle = g.zelle(0, 1).adjusted(0, 0, -1, -1);
    const QRect innenV = TGitterDelegate::fortschrittInnen(zelle, true);
    QCOMPARE(innenV.left() - zelle.left(), 4);
    QCOMPARE(bild.pixelColor(zelle.left() + 1, zelle.center().y()), QColor(Qt::white));
    const QColor oben = bild.pixelColor(innenV.left() + 6, innenV.top() + 1);
    const QColor unten = bild.pixelColor(innenV.left() + 6, innenV.bottom() - 1);
    QVERIFY(oben.lightness() > unten.lightness());
    QVERIFY(unten.green() > unten.red() && unten.green() > unten.blue());
    // Silver border on the left edge of the bar's frame.
    QCOMPARE(bild.pixelColor(innenV.left() - 1, innenV.center().y()), QColor(192, 192, 192));
}

void TestGitter::rangGlyphen_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("groesse");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<int>("voll");
    QTest::addColumn<int>("leer");
    QTest::newRow("maximum 0") << 0 << 16 << QVariant(3) << 0 << 0;
    QTest::newRow("maximum 1, rang 0") << 1 << 16 << QVariant(0) << 0 << 1;
    QTest::newRow("maximum 1, rang 1") << 1 << 16 << QVariant(1) << 1 << 0;
    QTest::newRow("maximum 5, rang 2") << 5 << 16 << QVariant(2) << 2 << 3;
    QTest::newRow("maximum 5, rang 7") << 5 << 16 << QVariant(7) << 5 << 0;
    QTest::newRow("maximum 5, leer") << 5 << 16 << QVariant() << 0 << 5;
    QTest::newRow("maximum 5, 30 Pixel") << 5 << 30 << QVariant(4) << 4 << 1;
}

void TestGitter::rangGlyphen()
{
    QFETCH(int, maximum);
    QFETCH(int, groesse);
    QFETCH(QVariant, wert);
    QFETCH(int, voll);
    QFETCH(int, leer);

    Gitter g;
    TGitterSpalte* s = g.spalte(TSpaltenArt::Rang, 200);
    s->setMaximum(maximum);
    s->setGlyphGroesse(groesse);
    g.zeigen({wert}, groesse + 6);
    const QImage bild = g.bild();
    const QRect zelle = g.zelle(0);
    const auto volle = laeufe(bild, zelle, RangGlyphe::FuellungVoll);
    const auto leere = laeufe(bild, zelle, RangGlyphe::FuellungLeer);
    QCOMPARE(volle.size(), voll);
    QCOMPARE(leere.size(), leer);
    // Side by side, one glyph size apart, filled ones first.
    // (the two pictures' antialiased edges may start a pixel apart)
    const QList<QPair<int, int>> alle = volle + leere;
    for (int i = 1; i < alle.size(); ++i)
        QVERIFY(qAbs(alle.at(i).first - alle.at(i - 1).first - groesse) <= 1);
}

void TestGitter::checkBoxUndMemo()
{
    Gitter g;
    g.spalte(TSpaltenArt::CheckBox, 30);
    TGitterSpalte* memo = g.spalte(TSpaltenArt::Memo, 200);
    const QString langerText = QStringLiteral("Material bestellen und Baustelle räumen lassen");
    auto zeile = [&](const QVariant& haken) {
        auto* a = new QStandardItem;
        a->setData(haken, GitterRolle::Rohwert);
        auto* b = new QStandardItem(langerText);
        g.modell.appendRow({a, b});
    };
    zeile(true);
    zeile(false);
    zeile(QStringLiteral("Wahr"));
    zeile(QVariant());
    g.zeigen({}, 60);
    const QImage bild = g.bild();
    const QColor haken(33, 161, 33);
    QVERIFY(anzahl(bild, g.zelle(0, 0), haken) > 5);
    QCOMPARE(anzahl(bild, g.zelle(1, 0), haken), 0);
    QVERIFY(anzahl(bild, g.zelle(2, 0), haken) > 5);  // the field text of the ticked state
    QCOMPARE(anzahl(bild, g.zelle(3, 0), haken), 0);

    // Memo text wraps onto a second line and starts at the top of the cell.
    const QRect z = g.zelle(0, 1);
    const int zeilenhoehe = QFontMetrics(memo->schrift()).height();
    auto dunkel = [&](int von, int bis) {
        int n = 0;
        for (int y = z.top() + von; y < z.top() + bis; ++y)
            for (int x = z.left(); x < z.right(); ++x)
                n += bild.pixelColor(x, y).lightness() < 128;
        return n;
    };
    QVERIFY(dunkel(1, 1 + zeilenhoehe) > 0);
    QVERIFY(dunkel(1 + zeilenhoehe, 1 + 2 * zeilenhoehe) > 0);
    QCOMPARE(dunkel(1 + 3 * zeilenhoehe, z.height() - 1), 0);

    // A row lower than two lines shows one whole line, ended with "…", and no half line below.
    const QFontMetrics metrik(memo->schrift());
    const QStringList zeilen = TGitterDelegate::memoZeilen(langerText, memo->schrift(), 196, metrik.height() + 5);
    QCOMPARE(zeilen.size(), 1);
    QVERIFY2(zeilen.at(0).endsWith(QChar(0x2026)), qPrintable(zeilen.at(0)));
    QVERIFY(langerText.startsWith(zeilen.at(0).chopped(1).trimmed()));
    g.gitter.setRowHeight(0, metrik.height() + 8);
    const QImage niedrig = g.bild();
    const QRect n = g.zelle(0, 1);
    int unten = 0;
    for (int y = n.top() + 1 + metrik.height(); y < n.bottom(); ++y)
        for (int x = n.left(); x < n.right(); ++x)
            unten += niedrig.pixelColor(x, y).lightness() < 128;
    QCOMPARE(unten, 0);
    // Room enough: every line whole, nothing cut.
    QCOMPARE(TGitterDelegate::memoZeilen(QStringLiteral("eins\nzwei"), memo->schrift(), 196, 4 * metrik.lineSpacing()),
             QStringList({"eins", "zwei"}));
}

void TestGitter::spaltenSchrift()
{
    // A regular column font in a grid with a bold font draws thinner text; a selected row of a
    // grid with bold selection draws it bold again.
    Gitter g;
    QFont fett = g.gitter.font();
    fett.setBold(true);
    g.gitter.setFont(fett);
    g.spalte(TSpaltenArt::Text, 120);
    g.spalte(TSpaltenArt::Text, 120)->setSchrift(QFont(fett.family(), fett.pointSize()));
    const QString text = QStringLiteral("WWWWWWW");
    g.modell.appendRow({new QStandardItem(text), new QStandardItem(text)});
    g.modell.appendRow({new QStandardItem(text), new QStandardItem(text)});
    g.zeigen({});
    auto schwarz = [&](int zeile, int spalte) {
        const QImage bild = g.bild();
        int n = 0;
        const QRect r = g.zelle(zeile, spalte);
        for (int y = r.top(); y < r.bottom(); ++y)
            for (int x = r.left(); x < r.right(); ++x)
                n += bild.pixelColor(x, y).lightness() < 100;
        return n;
    };
    QVERIFY(schwarz(0, 1) < schwarz(0, 0));
    g.gitter.setFetteMarkierung(true);
    g.gitter.setMarkiertextfarbe(Qt::black);
    g.gitter.setMarkierfarbe(Qt::white);
    g.gitter.setMarkierfarbeOhneFokus(Qt::white);
    g.gitter.selectRow(1);
    QCOMPARE(schwarz(1, 1), schwarz(1, 0));
}

void TestGitter::zeilenfarbe()
{
    Gitter g;
    TGitterSpalte* s = g.spalte(TSpaltenArt::Text, 100);
    s->setFarbe(Farbcode::aus(255, 255, 0));
    g.gitter.setMarkierfarbe(FarbeAusCode(0x00D9B8A8));
    g.gitter.setMarkierfarbeOhneFokus(FarbeAusCode(0x00F5E0DC));
    g.gitter.setMarkiertextfarbe(Qt::black);
    QList<int> gesehen;
    g.gitter.setZellFaerbung([&](TGitterSpalte* spalte, int32_t zeile, QColor& zelle, QColor& linie,
                                 TZellZustaende zustand) {
        QCOMPARE(spalte, s);
        gesehen << zeile;
        Zeilenfarbe(spalte, zeile, zelle, linie, zustand);
    });
    g.zeigen({QString(), QString(), QString(), QString()}, 18);
    g.gitter.selectRow(2);
    g.gitter.activateWindow();
    g.gitter.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&g.gitter));

    auto farbe = [&](int zeile) {
        const QImage bild = g.bild();
        return bild.pixelColor(g.zelle(zeile).center());
    };
    const QColor spaltenfarbe(255, 255, 0);
    QCOMPARE(farbe(0), QColor(237, 243, 254));
    QCOMPARE(farbe(1), spaltenfarbe);
    QCOMPARE(farbe(2), FarbeAusCode(0x00D9B8A8));
    QCOMPARE(farbe(3), spaltenfarbe);
    QVERIFY(gesehen.contains(0) && gesehen.contains(3));

    // Without the focus the selected row takes the other selection colour.
    g.gitter.clearFocus();
    QCOMPARE(farbe(2), FarbeAusCode(0x00F5E0DC));

    // A grid that draws no selection bands its selected row like any other.
    g.gitter.setMarkierungZeichnen(false);
    QCOMPARE(farbe(2), QColor(237, 243, 254));

    // With lines over the empty area, the empty cells keep the column colour.
    g.gitter.setGitterlinienNurAktiveZeilen(false);
    const QImage bild = g.bild();
    const QRect unten = g.zelle(3).translated(0, 2 * g.zelle(3).height());
    QCOMPARE(bild.pixelColor(unten.center()), spaltenfarbe);
}

void TestGitter::sortierteSpalte()
{
    // Sorted on the raw value through a proxy; the sorted column is darker than its colour.
    Gitter g;
    g.spalte(TSpaltenArt::Text, 100);
    g.spalte(TSpaltenArt::Datum, 100);
    auto zeile = [&](const QString& text, const QDate& datum) {
        auto* a = new QStandardItem(text);
        auto* b = new QStandardItem(datum.toString(QStringLiteral("dd.MM.yyyy")));
        b->setData(datum, GitterRolle::Rohwert);
        g.modell.appendRow({a, b});
    };
    zeile(QStringLiteral("b"), QDate(2024, 1, 31));
    zeile(QStringLiteral("a"), QDate(2023, 12, 1));
    zeile(QStringLiteral("c"), QDate(2024, 2, 1));
    QSortFilterProxyModel sortiert;
    sortiert.setSourceModel(&g.modell);
    sortiert.setSortRole(GitterRolle::Rohwert);
    g.gitter.setModel(&sortiert);
    g.gitter.setSortingEnabled(true);
    g.gitter.setSortierteSpalteDunkler(true);
    g.gitter.sortByColumn(1, Qt::AscendingOrder);
    g.gitter.setZeilenIndikator(false);
    g.gitter.resize(400, 200);
    g.gitter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    QCOMPARE(sortiert.index(0, 0).data().toString(), QStringLiteral("a"));
    QCOMPARE(sortiert.index(2, 0).data().toString(), QStringLiteral("c"));
    const QImage bild = g.gitter.viewport()->grab().toImage();
    const QRect datum = g.gitter.visualRect(sortiert.index(2, 1));
    const QRect text = g.gitter.visualRect(sortiert.index(2, 0));
    QVERIFY(bild.pixelColor(datum.left() + 1, datum.top() + 1).lightness()
            < bild.pixelColor(text.left() + 1, text.top() + 1).lightness());
}

void TestGitter::spaltenLayout()
{
    Gitter g;
    const QStringList ids{QStringLiteral("PROJEKT"), QStringLiteral("BEZEICHNUNG"), QStringLiteral("STATUS"),
                          QStringLiteral("DATUM")};
    for (const QString& id : ids)
        g.gitter.spalteHinzufuegen(TSpaltenArt::Text, id, id, 80);
    g.gitter.setSpaltenVerschiebbar(true);
    g.zeigen({});

    TSpaltenLayout status{0, 150, true, Farbcode::aus(200, 10, 20), Farbcode::aus(1, 2, 3)};
    TSpaltenLayout datum{3, 3, false, Farbcode::Fensterhintergrund, Farbcode::Fenstertext};
    g.gitter.spaltenLayoutAnwenden(QStringLiteral("STATUS"), status);
    g.gitter.spaltenLayoutAnwenden(QStringLiteral("DATUM"), datum);
    g.gitter.spaltenLayoutAnwenden(QStringLiteral("GIBTESNICHT"), status);

    const TSpaltenLayout s = g.gitter.spaltenLayout(QStringLiteral("STATUS"));
    QCOMPARE(s.Position, 0);
    QCOMPARE(s.Width, 150);
    QCOMPARE(s.Visible, true);
    QCOMPARE(s.Color, status.Color);
    QCOMPARE(s.Fontcolor, status.Fontcolor);
    const TSpaltenLayout d = g.gitter.spaltenLayout(QStringLiteral("DATUM"));
    QCOMPARE(d.Position, 3);
    QCOMPARE(d.Width, TDatenGitter::KleinsteSpaltenbreite);
    QCOMPARE(d.Visible, false);
    QCOMPARE(d.Color, Farbcode::Fensterhintergrund);
    QVERIFY(g.gitter.isColumnHidden(3));
    QCOMPARE(g.gitter.spaltenLayout(QStringLiteral("PROJEKT")).Position, 1);
    QCOMPARE(g.gitter.columnWidth(2), 150);

    // What the user drags and resizes is what is read back; showing a column keeps its width.
    QHeaderView* kopf = g.gitter.horizontalHeader();
    kopf->moveSection(kopf->visualIndex(0), 2);
    kopf->resizeSection(1, 222);
    QCOMPARE(g.gitter.spaltenLayout(QStringLiteral("PROJEKT")).Position, 2);
    QCOMPARE(g.gitter.spaltenLayout(QStringLiteral("BEZEICHNUNG")).Width, 222);
    g.gitter.spalteNachId(QStringLiteral("DATUM"))->setSichtbar(true);
    QCOMPARE(g.gitter.columnWidth(3), TDatenGitter::KleinsteSpaltenbreite);

    // Applying what was read gives the same layout again.
    QList<TSpaltenLayout> gelesen;
    for (const QString& id : ids)
        gelesen << g.gitter.spaltenLayout(id);
    Gitter h;
    for (const QString& id : ids)
        h.gitter.spalteHinzufuegen(TSpaltenArt::Text, id, id, 80);
    h.zeigen({});
    // Applied in position order, as a window restoring the stored positions does.
    QList<int> reihenfolge{0, 1, 2, 3};
    std::sort(reihenfolge.begin(), reihenfolge.end(),
              [&](int a, int b) { return gelesen.at(a).Position < gelesen.at(b).Position; });
    for (int i : reihenfolge)
        h.gitter.spaltenLayoutAnwenden(ids.at(i), gelesen.at(i));
    for (int i = 0; i < ids.size(); ++i) {
        const TSpaltenLayout a = gelesen.at(i);
        const TSpaltenLayout b = h.gitter.spaltenLayout(ids.at(i));
        QCOMPARE(b.Position, a.Position);
        QCOMPARE(b.Width, a.Width);
        QCOMPARE(b.Visible, a.Visible);
        QCOMPARE(b.Color, a.Color);
        QCOMPARE(b.Fontcolor, a.Fontcolor);
    }
}

void TestGitter::spaltenLayoutErsterStart()
{
    // Every column set to position 0 in turn ends up in reversed order.
    Gitter g;
    const QStringList ids{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    for (const QString& id : ids)
        g.gitter.spalteHinzufuegen(TSpaltenArt::Text, id, id, 50);
    // Set before the grid has its model: applied once the header has the columns.
    for (const QString& id : ids)
        g.gitter.spaltenLayoutAnwenden(id, TSpaltenLayout{0, 80, true, Farbcode::Fensterhintergrund,
                                                          Farbcode::Fenstertext});
    g.zeigen({});
    QHeaderView* kopf = g.gitter.horizontalHeader();
    QCOMPARE(kopf->logicalIndex(0), 2);
    QCOMPARE(kopf->logicalIndex(1), 1);
    QCOMPARE(kopf->logicalIndex(2), 0);
    QCOMPARE(g.gitter.columnWidth(0), 80);
}

void TestGitter::zellTextPasst_data()
{
    QTest::addColumn<int>("art");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<int>("breite");
    QTest::addColumn<QString>("erwartet");   // "…": cut and ended so; "ganz": the whole text
    QTest::newRow("Text passt") << int(TSpaltenArt::Text) << QVariant("Hotel") << 200 << "ganz";
    QTest::newRow("Text zu lang") << int(TSpaltenArt::Text) << QVariant("Hotel Sonne am Markt") << 70 << "…";
    QTest::newRow("Datum passt") << int(TSpaltenArt::Datum) << QVariant(QDate(2024, 5, 6)) << 200 << "ganz";
    QTest::newRow("Datum zu schmal") << int(TSpaltenArt::Datum) << QVariant(QDate(2024, 5, 6)) << 60 << "###";
    QTest::newRow("Zahl zu schmal") << int(TSpaltenArt::Text) << QVariant(1234567890) << 50 << "###";
    QTest::newRow("Lookup zu lang") << int(TSpaltenArt::Lookup) << QVariant("Montage Fenster") << 60 << "…";
}

// No letter is cut in half: text that does not fit ends with "…", a number or a date shows
// "###" rather than other digits; what is drawn fits the cell.
void TestGitter::zellTextPasst()
{
    QFETCH(int, art);
    QFETCH(QVariant, wert);
    QFETCH(int, breite);
    QFETCH(QString, erwartet);
    Gitter g;
    TGitterSpalte* s = g.spalte(TSpaltenArt(art), breite);
    s->setSchrift(QFont(QStringLiteral("DejaVu Sans"), 12));
    g.zeigen({wert});
    const QModelIndex index = g.modell.index(0, 0);
    const QString modellText = index.data(Qt::DisplayRole).toString();
    auto* delegate = qobject_cast<TGitterDelegate*>(g.gitter.itemDelegate());
    const QRect zelle = g.zelle(0).adjusted(0, 0, -1, -1);
    const QString gezeichnet = delegate->sichtbarerText(index, zelle);
    QVERIFY(QFontMetrics(s->schrift()).horizontalAdvance(gezeichnet) <= zelle.width() - 4);
    if (erwartet == "ganz") {
        QCOMPARE(gezeichnet, modellText);
    } else if (erwartet == "…") {
        QVERIFY2(gezeichnet.endsWith(QChar(0x2026)) && gezeichnet.size() > 1, qPrintable(gezeichnet));
        QVERIFY(modellText.startsWith(gezeichnet.chopped(1)));
    } else {
        QCOMPARE(gezeichnet, erwartet);
    }
}

// Page mode: a page starts at its first row even where the last row would not reach the
// bottom, the current row does not scroll the grid, and the row the viewport cuts is not drawn.
void TestGitter::seitenweise()
{
    Gitter g;
    g.spalte(TSpaltenArt::Text, 200);
    QVariantList werte;
    for (int i = 0; i < 30; ++i)
        werte << QStringLiteral("Zeile %1").arg(i);
    g.zeigen(werte, 30);
    // 13 whole rows and half of a 14th.
    g.gitter.resize(500, g.gitter.height() - g.gitter.viewport()->height() + 13 * 30 + 15);
    QTRY_COMPARE(g.gitter.viewport()->height(), 13 * 30 + 15);
    QCOMPARE(g.gitter.ganzeZeilen(), 13);
    const QRect angeschnitten(0, 13 * 30, 200, 15);
    auto textPunkte = [&] {
        const QImage bild = g.bild();
        int n = 0;
        for (int y = angeschnitten.top(); y <= angeschnitten.bottom(); ++y)
            for (int x = angeschnitten.left(); x <= angeschnitten.right(); ++x)
                n += bild.pixelColor(x, y).lightness() < 100;
        return n;
    };
    QVERIFY(textPunkte() > 0);   // the check sees the half row when it is drawn

    g.gitter.setSeitenweise(true);
    g.gitter.ersteZeileZeigen(26);
    QCOMPARE(g.gitter.ersteSichtbareZeile(), 26);
    g.gitter.setCurrentIndex(g.modell.index(2, 0));
    QCOMPARE(g.gitter.ersteSichtbareZeile(), 26);
    g.gitter.ersteZeileZeigen(0);
    QCOMPARE(g.gitter.ersteSichtbareZeile(), 0);
    QCOMPARE(textPunkte(), 0);

    // Back to scrolling: the grid follows its current row again.
    g.gitter.setSeitenweise(false);
    g.gitter.setCurrentIndex(g.modell.index(29, 0));
    QVERIFY(g.gitter.ersteSichtbareZeile() > 13);
}

// Fit to width: the columns fill the viewport in their proportions; their own widths, the ones
// stored, stay.
void TestGitter::breitenAnpassen()
{
    Gitter g;
    g.spalte(TSpaltenArt::Text, 100);
    g.spalte(TSpaltenArt::Text, 200);
    g.spalte(TSpaltenArt::Text, 100);
    g.gitter.spalte(1)->setSpaltenId(QStringLiteral("MITTE"));
    g.zeigen({});
    auto summe = [&] { return g.gitter.columnWidth(0) + g.gitter.columnWidth(1) + g.gitter.columnWidth(2); };
    g.gitter.setBreitenAnpassen(true);
    QCOMPARE(summe(), g.gitter.viewport()->width());
    QVERIFY(qAbs(g.gitter.columnWidth(1) - 2 * g.gitter.columnWidth(0)) <= 2);
    g.gitter.resize(900, 400);
    QTRY_COMPARE(summe(), g.gitter.viewport()->width());
    g.gitter.spalte(2)->setSichtbar(false);
    QCOMPARE(g.gitter.columnWidth(0) + g.gitter.columnWidth(1), g.gitter.viewport()->width());
    g.gitter.spalte(2)->setSichtbar(true);
    QCOMPARE(g.gitter.spalte(1)->breite(), 200);
    QCOMPARE(g.gitter.spaltenLayout(QStringLiteral("MITTE")).Width, 200);
    g.gitter.setBreitenAnpassen(false);
    QCOMPARE(g.gitter.columnWidth(0), 100);
    QCOMPARE(g.gitter.columnWidth(1), 200);
}

QTEST_MAIN(TestGitter)
#include "tst_gitter.moc"
