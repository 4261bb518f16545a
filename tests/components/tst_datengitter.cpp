// The data grid over a real project database: the model's consistency, current-row sync in
// both directions, each column kind's text, editing in the grid down to the file, and reading
// only the rows shown.
#include "DatenGitter.h"
#include "DatenGitterModell.h"
#include "DatumEdit.h"
#include "FehlerAnwendung.h"
#include "ProjektDaten.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

namespace {

enum Spalte { Fortschritt, Kommnr, Bezeichn, Datum, EV, Mitarbeiter, Rang, Memo, Anzahl };

// The project grid as a window sets it up.
struct ProjektGitter
{
    TDatenGitter gitter;

    explicit ProjektGitter(ProjektDaten& d)
    {
        gitter.spalteHinzufuegen(TSpaltenArt::Fortschritt, QStringLiteral("Status"), QStringLiteral(" "), 130);
        gitter.spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Kommnr"), QStringLiteral("PROJEKT"), 80);
        gitter.spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Bezeichn"), QStringLiteral("BEZEICHNUNG"), 150)
            ->setEditierbar(true);
        gitter.spalteHinzufuegen(TSpaltenArt::Datum, QStringLiteral("Datum"), QStringLiteral("DATUM"), 70)
            ->setEditierbar(true);
        gitter.spalteHinzufuegen(TSpaltenArt::CheckBox, QStringLiteral("EV_Sichtbar"), QStringLiteral("EV"), 20)
            ->setEditierbar(true);
        TGitterSpalte* lookup = gitter.spalteHinzufuegen(TSpaltenArt::Lookup, QStringLiteral("Last_Personal"),
                                                         QStringLiteral("MITARBEITER"), 150);
        lookup->setLookup(&d.dsPersonal, QStringLiteral("ID"), QStringLiteral("Name"), 8);
        lookup->setEditierbar(true);
        gitter.spalteHinzufuegen(TSpaltenArt::Rang, QStringLiteral("Last_Rang"), QStringLiteral("RANG"), 90)
            ->setMaximum(5);
        gitter.spalteHinzufuegen(TSpaltenArt::Memo, QStringLiteral("V_Bemerkung"), QStringLiteral("BEMERKUNG"), 200);
        gitter.setDatenquelle(&d.dsProjekt);
        gitter.resize(1000, 300);
        gitter.show();
    }

    QModelIndex index(int zeile, int spalte) const { return gitter.model()->index(zeile, spalte); }
    QString text(int zeile, int spalte) const { return index(zeile, spalte).data().toString(); }
    void klick(int zeile, int spalte)
    {
        QTest::mouseClick(gitter.viewport(), Qt::LeftButton, {}, gitter.visualRect(index(zeile, spalte)).center());
    }
};

} // namespace

class TestDatenGitter : public QObject
{
    Q_OBJECT
private slots:
    void modellBleibtStimmig();
    void aktuelleZeileInBeideRichtungen();
    void spaltenTexte();
    void bearbeitenBisInDieDatei();
    void datumUndLookupImGitter();
    void nurLesen();
    void speichernScheitertBeimZeilenwechsel();
    void liestNurSichtbareZeilen();
    void eineMeldungJeTatsache();
};

void TestDatenGitter::modellBleibtStimmig()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QAbstractItemModelTester pruefer(g.gitter.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(g.gitter.model()->rowCount(), 4);
    QCOMPARE(g.gitter.model()->columnCount(), int(Anzahl));

    d.tabProjekt.Append();
    QCOMPARE(g.gitter.model()->rowCount(), 5);
    d.tabProjekt.FieldByName(QStringLiteral("Kommnr"))->setAsString(QStringLiteral("P-5"));
    d.tabProjekt.Post();
    QCOMPARE(g.gitter.model()->rowCount(), 5);
    d.tabProjekt.Append();
    d.tabProjekt.Cancel();
    QCOMPARE(g.gitter.model()->rowCount(), 5);
    d.tabProjekt.MoveToRow(1);
    d.tabProjekt.Delete();
    QCOMPARE(g.gitter.model()->rowCount(), 4);
    d.tabProjekt.setFilter(QStringLiteral("EV_Sichtbar"));
    d.tabProjekt.setFiltered(true);
    QCOMPARE(g.gitter.model()->rowCount(), d.tabProjekt.RowCount());
    d.tabProjekt.setFiltered(false);
    d.tabProjekt.Requery();
    d.tabProjekt.Close();
    QCOMPARE(g.gitter.model()->rowCount(), 0);
    d.tabProjekt.Open();
    QCOMPARE(g.gitter.model()->rowCount(), 4);
    QCOMPARE(g.text(0, Kommnr), QStringLiteral("P-1"));
}

void TestDatenGitter::aktuelleZeileInBeideRichtungen()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    auto gitterZeile = [&] { return g.gitter.currentIndex().row(); };
    QCOMPARE(gitterZeile(), 0);

    // The dataset moves, the grid follows and shows the row selected.
    d.tabProjekt.MoveToRow(2);
    QCOMPARE(gitterZeile(), 2);
    QVERIFY(g.gitter.selectionModel()->isRowSelected(2, {}));
    d.tabProjekt.Next();
    QCOMPARE(gitterZeile(), 3);
    QVERIFY(!g.gitter.selectionModel()->isRowSelected(2, {}));
    QVERIFY(d.tabProjekt.Locate(QStringLiteral("Kommnr"), QStringLiteral("P-2")));
    QCOMPARE(gitterZeile(), 1);

    // The user moves, the dataset follows.
    g.klick(3, Kommnr);
    QCOMPARE(d.tabProjekt.CurrentRow(), 3);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Kommnr"))->AsString(), QStringLiteral("P-4"));
    g.gitter.setFocus();
    QTest::keyClick(&g.gitter, Qt::Key_Up);
    QCOMPARE(d.tabProjekt.CurrentRow(), 2);
    QTest::keyClick(&g.gitter, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(d.tabProjekt.CurrentRow(), 0);

    // Read anew: the dataset stands on its first row, and so does the grid.
    g.klick(2, Kommnr);
    d.tabProjekt.Requery();
    QCOMPARE(d.tabProjekt.CurrentRow(), 0);
    QCOMPARE(gitterZeile(), 0);
    d.tabProjekt.setFilter(QStringLiteral("EV_Sichtbar"));
    d.tabProjekt.setFiltered(true);
    QCOMPARE(g.gitter.model()->rowCount(), 2);
    QCOMPARE(gitterZeile(), d.tabProjekt.CurrentRow());
    QCOMPARE(g.text(gitterZeile(), Kommnr), d.tabProjekt.FieldByName(QStringLiteral("Kommnr"))->AsString());

    // A second grid on the same data source shows the same current row.
    TDatenGitter zweites;
    zweites.spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Kommnr"), QStringLiteral("PROJEKT"));
    zweites.setDatenquelle(&d.dsProjekt);
    d.tabProjekt.MoveToRow(1);
    QCOMPARE(zweites.currentIndex().row(), 1);
    QCOMPARE(gitterZeile(), 1);
}

void TestDatenGitter::spaltenTexte()
{
    ProjektDaten d;
    ProjektGitter g(d);
    d.tabProjekt.MoveToRow(0);
    d.tabProjekt.Edit();
    d.tabProjekt.FieldByName(QStringLiteral("V_Bemerkung"))->setAsString(QStringLiteral("Gerüst prüfen"));
    d.tabProjekt.Post();
    d.tabProjekt.MoveToRow(3);
    d.tabProjekt.Edit();
    d.tabProjekt.FieldByName(QStringLiteral("Datum"))->Clear();
    d.tabProjekt.FieldByName(QStringLiteral("Last_Rang"))->Clear();
    d.tabProjekt.Post();

    // Status 0, 25.25, 50.5 (rounded up) and empty (drawn as 0).
    QCOMPARE(g.text(0, Fortschritt), QStringLiteral("0%"));
    QCOMPARE(g.text(1, Fortschritt), QStringLiteral("25%"));
    QCOMPARE(g.text(2, Fortschritt), QStringLiteral("51%"));
    QCOMPARE(g.text(3, Fortschritt), QStringLiteral("0%"));
    QCOMPARE(g.index(2, Fortschritt).data(GitterRolle::Rohwert).toDouble(), 50.5);
    QCOMPARE(g.text(1, Kommnr), QStringLiteral("P-2"));
    QCOMPARE(g.text(1, Datum), QStringLiteral("02.01.2024"));
    QCOMPARE(g.text(3, Datum), QString());
    QCOMPARE(g.index(1, Datum).data(GitterRolle::Rohwert).toDate(), QDate(2024, 1, 2));
    QCOMPARE(g.text(0, EV), QStringLiteral("Wahr"));
    QCOMPARE(g.text(1, EV), QStringLiteral("Falsch"));
    g.gitter.spalte(EV)->setCheckTexte(QStringLiteral("wahr"), QStringLiteral("falsch"));
    QCOMPARE(g.text(0, EV), QStringLiteral("wahr"));
    // The employee's name; an id without an employee shows nothing.
    QCOMPARE(g.text(0, Mitarbeiter), QStringLiteral("Huber"));
    QCOMPARE(g.text(1, Mitarbeiter), QString());
    QCOMPARE(g.index(0, Mitarbeiter).data(GitterRolle::Rohwert).toInt(), 1);
    QCOMPARE(g.text(2, Rang), QStringLiteral("2"));
    QCOMPARE(g.text(3, Rang), QString());
    QCOMPARE(g.text(0, Memo), QStringLiteral("Gerüst prüfen"));
    QCOMPARE(g.gitter.model()->headerData(Bezeichn, Qt::Horizontal).toString(), QStringLiteral("BEZEICHNUNG"));

    // A renamed employee shows at once.
    d.tabPersonal.First();
    d.tabPersonal.Edit();
    d.tabPersonal.FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Huber-Schmid"));
    d.tabPersonal.Post();
    QCOMPARE(g.text(0, Mitarbeiter), QStringLiteral("Huber-Schmid"));
}

void TestDatenGitter::bearbeitenBisInDieDatei()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    auto ev = [&](const char* kommnr) {
        return d.gespeichert(QStringLiteral("select EV_Sichtbar from Projekt where Kommnr = '%1'")
                                 .arg(QLatin1String(kommnr)))
            .toBool();
    };

    // A click on the tick box of row 1 edits that row; nothing is written yet.
    g.klick(1, EV);
    QCOMPARE(d.tabProjekt.CurrentRow(), 1);
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("EV_Sichtbar"))->AsBoolean(), true);
    QCOMPARE(g.gitter.model()->headerData(1, Qt::Vertical, GitterRolle::Zeilenzustand).toInt(), 1);
    QCOMPARE(ev("P-2"), false);

    // Moving to another row posts.
    g.klick(2, Kommnr);
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsBrowse);
    QCOMPARE(ev("P-2"), true);
    QCOMPARE(g.text(1, EV), QStringLiteral("Wahr"));

    // Text typed into a cell: at most the field's width, posted on the next row change.
    g.gitter.setCurrentIndex(g.index(2, Bezeichn));
    g.gitter.edit(g.index(2, Bezeichn));
    auto* zeile = g.gitter.findChild<QLineEdit*>();
    QVERIFY(zeile);
    QCOMPARE(zeile->maxLength(), 30);
    zeile->setText(QStringLiteral("Neubau Halle 7"));
    QTest::keyClick(zeile, Qt::Key_Return);
    QTRY_COMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Bezeichn"))->AsString(), QStringLiteral("Neubau Halle 7"));
    g.klick(0, Kommnr);
    QCOMPARE(d.gespeichert(QStringLiteral("select Bezeichn from Projekt where Kommnr = 'P-3'")).toString(),
             QStringLiteral("Neubau Halle 7"));
}

void TestDatenGitter::datumUndLookupImGitter()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));

    // The date cell opens the calendar below; "Ohne" empties the date.
    g.klick(1, Datum);
    g.gitter.edit(g.index(1, Datum));
    TDatumAuswahl* auswahl = nullptr;
    QTRY_VERIFY((auswahl = qobject_cast<TDatumAuswahl*>(QApplication::activePopupWidget())));
    QVERIFY(auswahl->geometry().top() >= g.gitter.viewport()->mapToGlobal(g.gitter.visualRect(g.index(1, Datum)).topLeft()).y());
    QTest::mouseClick(auswahl->knopfOhne(), Qt::LeftButton);
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QVERIFY(d.tabProjekt.FieldByName(QStringLiteral("Datum"))->IsNull());
    QCOMPARE(g.text(1, Datum), QString());

    // "Heute" in another row posts the first edit and starts the next.
    g.klick(2, Datum);
    QVERIFY(d.gespeichert(QStringLiteral("select Datum from Projekt where Kommnr = 'P-2'")).isNull());
    g.gitter.edit(g.index(2, Datum));
    QTRY_VERIFY((auswahl = qobject_cast<TDatumAuswahl*>(QApplication::activePopupWidget())));
    QTest::mouseClick(auswahl->knopfHeute(), Qt::LeftButton);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Datum"))->AsDate(), QDate::currentDate());

    // The lookup cell drops the list down with its rows; choosing writes the key.
    g.klick(0, Kommnr);
    QCOMPARE(d.gespeichert(QStringLiteral("select Datum from Projekt where Kommnr = 'P-3'")).toDate(),
             QDate::currentDate());
    g.gitter.setCurrentIndex(g.index(0, Mitarbeiter));
    g.gitter.edit(g.index(0, Mitarbeiter));
    auto* liste = g.gitter.findChild<QComboBox*>();
    QVERIFY(liste);
    QCOMPARE(liste->count(), 2);
    QCOMPARE(liste->itemText(1), QStringLiteral("Maier-Müller"));
    QCOMPARE(liste->maxVisibleItems(), 8);
    QCOMPARE(liste->currentText(), QStringLiteral("Huber"));
    QTRY_VERIFY(liste->view()->isVisible());
    QTest::mouseClick(liste->view()->viewport(), Qt::LeftButton, {},
                      liste->view()->visualRect(liste->model()->index(1, 0)).center());
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Last_Personal"))->AsInteger(), 2);
    QCOMPARE(g.text(0, Mitarbeiter), QStringLiteral("Maier-Müller"));
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select Last_Personal from Projekt where Kommnr = 'P-1'")).toInt(), 2);
}

void TestDatenGitter::nurLesen()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    QVERIFY(!(g.index(0, Kommnr).flags() & Qt::ItemIsEditable));
    QVERIFY(g.index(0, EV).flags() & Qt::ItemIsEditable);
    g.gitter.setNurLesen(true);
    QVERIFY(!(g.index(0, EV).flags() & Qt::ItemIsEditable));
    g.klick(1, EV);
    QCOMPARE(d.tabProjekt.CurrentRow(), 1);
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsBrowse);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("EV_Sichtbar"))->AsBoolean(), false);
}

void TestDatenGitter::speichernScheitertBeimZeilenwechsel()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    bool gesperrt = true;
    d.tabProjekt.BeforePost = [&](TKADaoTable*) {
        if (gesperrt)
            throw Fehler(QStringLiteral("Datensatz ist gesperrt"));
    };
    FehlerAnwendung::fehler.clear();
    g.klick(1, EV);
    g.klick(3, Kommnr);
    // The error reaches the error box; grid and dataset stay on the row being edited.
    QTRY_COMPARE(FehlerAnwendung::fehler, QStringList{QStringLiteral("Datensatz ist gesperrt")});
    QTRY_COMPARE(g.gitter.currentIndex().row(), 1);
    QCOMPARE(d.tabProjekt.CurrentRow(), 1);
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QVERIFY(g.gitter.selectionModel()->isRowSelected(1, {}));

    gesperrt = false;
    g.klick(3, Kommnr);
    QCOMPARE(d.tabProjekt.CurrentRow(), 3);
    QCOMPARE(d.gespeichert(QStringLiteral("select EV_Sichtbar from Projekt where Kommnr = 'P-2'")).toBool(), true);
}

void TestDatenGitter::liestNurSichtbareZeilen()
{
    ProjektDaten d(0);
    d.db.Execute(QStringLiteral("INSERT INTO Projekt (Kommnr, Last_Rang, Last_Personal) "
                                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                                "SELECT 'P-' || i, i % 5, 1 + i % 2 FROM n"));
    d.tabProjekt.Requery();
    d.berechnet = 0;
    ProjektGitter g(d);
    g.gitter.resize(1000, 400);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    QCOMPARE(g.gitter.model()->rowCount(), 5000);
    const int sichtbar = g.gitter.viewport()->height() / g.gitter.zeilenHoehe() + 1;
    QVERIFY2(d.berechnet <= 3 * sichtbar, qPrintable(QString::number(d.berechnet)));

    // Moving far down reads the rows there, not those between.
    d.berechnet = 0;
    d.tabProjekt.MoveToRow(4000);
    g.gitter.viewport()->repaint();
    QVERIFY2(d.berechnet <= 3 * sichtbar, qPrintable(QString::number(d.berechnet)));
    QCOMPARE(g.text(4000, Kommnr), QStringLiteral("P-4001"));
}

PV_TEST_MAIN(TestDatenGitter)
#include "tst_datengitter.moc"

// One fact, one notice: a typed cell is one dataChanged of its row (the row header hears of the
// edit state once), its post one more of that row, a move none.
void TestDatenGitter::eineMeldungJeTatsache()
{
    ProjektDaten d;
    ProjektGitter g(d);
    QVERIFY(QTest::qWaitForWindowExposed(&g.gitter));
    QAbstractItemModel* modell = g.gitter.model();
    QSignalSpy daten(modell, &QAbstractItemModel::dataChanged);
    QSignalSpy kopf(modell, &QAbstractItemModel::headerDataChanged);
    QSignalSpy reset(modell, &QAbstractItemModel::modelReset);
    auto zeilen = [&] {
        QStringList liste;
        for (const auto& signal : std::as_const(daten)) {
            const auto von = signal.at(0).toModelIndex();
            const auto bis = signal.at(1).toModelIndex();
            liste << QStringLiteral("%1-%2").arg(von.row()).arg(bis.row());
        }
        daten.clear();
        return liste.join(QLatin1Char(' '));
    };

    QVERIFY(modell->setData(g.index(2, Bezeichn), QStringLiteral("Neubau"), Qt::EditRole));
    QCOMPARE(zeilen(), QStringLiteral("2-2"));
    QCOMPARE(kopf.count(), 1);
    QVERIFY(modell->setData(g.index(2, Bezeichn), QStringLiteral("Neubau Halle"), Qt::EditRole));
    QCOMPARE(zeilen(), QStringLiteral("2-2"));
    QCOMPARE(kopf.count(), 1);

    d.tabProjekt.Post();
    QCOMPARE(zeilen(), QStringLiteral("2-2"));
    d.tabProjekt.MoveToRow(0);
    QCOMPARE(zeilen(), QString());
    QCOMPARE(reset.count(), 0);
}
