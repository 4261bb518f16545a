// The data-bound controls over a real project database: showing the current row, following
// the dataset, writing the user's change into the edit buffer, and their limits.
#include "DBBedienelemente.h"
#include "DatumEdit.h"
#include "FehlerAnwendung.h"
#include "FeldVerbindung.h"
#include "ProjektDaten.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QtTest>

namespace {

// Typing text with umlauts: keyClicks() only takes ASCII.
void tippen(QWidget* ziel, const QString& text)
{
    for (const QChar zeichen : text) {
        if (zeichen.unicode() < 128)
            QTest::keyClick(ziel, zeichen.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, ziel, Qt::Key(zeichen.toUpper().unicode()), QString(zeichen),
                                Qt::NoModifier);
    }
}

QString kommnr(ProjektDaten& d)
{
    return d.tabProjekt.FieldByName(QStringLiteral("Kommnr"))->AsString();
}

} // namespace

class TestDBBedienelemente : public QObject
{
    Q_OBJECT
private slots:
    void textEditFolgtUndSchreibt();
    void textEditZahlenfeld();
    void textEditFeldbreite_data();
    void textEditFeldbreite();
    void memoUndCheckBox();
    void lookupBox();
    void datumEditLeeresDatum();
    void spinEditGrenzen_data();
    void spinEditGrenzen();
    void lesetext();
};

void TestDBBedienelemente::textEditFolgtUndSchreibt()
{
    ProjektDaten d;
    QWidget fenster;
    auto* oben = new TDBEdit(&fenster);
    auto* unten = new TDBEdit(&fenster);  // the same field bound twice
    unten->move(0, 40);
    for (TDBEdit* edit : {oben, unten}) {
        edit->setDatenquelle(&d.dsProjekt);
        edit->setFeld(QStringLiteral("Kommnr"));
    }
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QCOMPARE(oben->text(), QStringLiteral("P-1"));
    d.tabProjekt.MoveToRow(2);
    QCOMPARE(oben->text(), QStringLiteral("P-3"));
    QCOMPARE(unten->text(), QStringLiteral("P-3"));

    // Typing starts the edit; the text reaches the field when the user leaves the edit.
    oben->setFocus();
    oben->selectAll();
    tippen(oben, QStringLiteral("Ü-17"));
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QCOMPARE(oben->text(), QStringLiteral("Ü-17"));
    QCOMPARE(kommnr(d), QStringLiteral("P-3"));
    unten->setFocus();
    QCOMPARE(kommnr(d), QStringLiteral("Ü-17"));
    QCOMPARE(unten->text(), QStringLiteral("Ü-17"));
    QCOMPARE(d.gespeichert(QStringLiteral("select count(*) from Projekt where Kommnr = 'Ü-17'")).toInt(), 0);
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select count(*) from Projekt where Kommnr = 'Ü-17'")).toInt(), 1);

    // A post takes what is typed without leaving the edit.
    unten->end(false);
    tippen(unten, QStringLiteral("a"));
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select count(*) from Projekt where Kommnr = 'Ü-17a'")).toInt(), 1);
    QCOMPARE(oben->text(), QStringLiteral("Ü-17a"));

    // Cancelling shows the stored value again.
    oben->setFocus();
    oben->selectAll();
    tippen(oben, QStringLiteral("X"));
    d.tabProjekt.Cancel();
    QCOMPARE(oben->text(), QStringLiteral("Ü-17a"));

    // A closed dataset shows nothing.
    d.tabProjekt.Close();
    QCOMPARE(oben->text(), QString());
}

void TestDBBedienelemente::textEditZahlenfeld()
{
    // A number field: a half-typed value such as "-" is no error; what the field refuses ends
    // the post with the field's message, and the row stays in edit state.
    ProjektDaten d;
    TDBEdit edit;
    edit.setDatenquelle(&d.dsProjekt);
    edit.setFeld(QStringLiteral("Kostenstelle"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    FehlerAnwendung::fehler.clear();
    edit.setFocus();
    QTest::keyClicks(&edit, QStringLiteral("-5"));
    QCoreApplication::processEvents();
    QVERIFY(FehlerAnwendung::fehler.isEmpty());
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select Kostenstelle from Projekt where Kommnr = 'P-1'")).toInt(), -5);

    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QVERIFY_THROWS_EXCEPTION(Fehler, d.tabProjekt.Post());
    QCOMPARE(d.tabProjekt.State(), TDataSetState::dsEdit);
    QCOMPARE(d.gespeichert(QStringLiteral("select Kostenstelle from Projekt where Kommnr = 'P-1'")).toInt(), -5);

    // Leaving the edit with such a value shows the message and the field's value again.
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("x1"));
    edit.clearFocus();
    QTRY_COMPARE(FehlerAnwendung::fehler.size(), 1);
    QCOMPARE(edit.text(), QStringLiteral("-5"));
}

void TestDBBedienelemente::textEditFeldbreite_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<int>("breite");
    QTest::newRow("Kommnr") << "Kommnr" << 10;
    QTest::newRow("Bezeichn") << "Bezeichn" << 30;
    QTest::newRow("Betreff1") << "Betreff1" << 50;
    QTest::newRow("Zahl ohne Grenze") << "Kostenstelle" << 32767;
}

void TestDBBedienelemente::textEditFeldbreite()
{
    QFETCH(QString, feld);
    QFETCH(int, breite);
    ProjektDaten d;
    TDBEdit edit;
    edit.setDatenquelle(&d.dsProjekt);
    edit.setFeld(feld);
    QCOMPARE(edit.maxLength(), breite);
    if (breite < 100) {
        // Typing past the width stops at the width.
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        d.tabProjekt.Edit();
        edit.clear();
        QTest::keyClicks(&edit, QString(breite + 5, QLatin1Char('x')));
        QCOMPARE(edit.text().size(), breite);
        d.tabProjekt.Post();
        QCOMPARE(d.tabProjekt.FieldByName(feld)->AsString(), QString(breite, QLatin1Char('x')));
    }
}

void TestDBBedienelemente::memoUndCheckBox()
{
    ProjektDaten d;
    QWidget fenster;
    auto* memo = new TDBMemo(&fenster);
    memo->setDatenquelle(&d.dsProjekt);
    memo->setFeld(QStringLiteral("V_Bemerkung"));
    auto* ev = new TDBCheckBox(QStringLiteral("sichtbar im Edit-View"), &fenster);
    ev->move(0, 120);
    ev->setDatenquelle(&d.dsProjekt);
    ev->setFeld(QStringLiteral("EV_Sichtbar"));
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    QVERIFY(ev->isChecked());  // row 0
    d.tabProjekt.Next();
    QVERIFY(!ev->isChecked());
    d.tabProjekt.Edit();
    QTest::mouseClick(ev, Qt::LeftButton);
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("EV_Sichtbar"))->AsBoolean(), true);
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("Zeile eins"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("Zeile zwei"));
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select V_Bemerkung from Projekt where Kommnr = 'P-2'")).toString(),
             QStringLiteral("Zeile eins\nZeile zwei"));
    QCOMPARE(d.gespeichert(QStringLiteral("select EV_Sichtbar from Projekt where Kommnr = 'P-2'")).toBool(), true);
    d.tabProjekt.Prior();
    QCOMPARE(memo->toPlainText(), QString());
}

void TestDBBedienelemente::lookupBox()
{
    ProjektDaten d;
    TDBLookupBox box;
    box.setDatenquelle(&d.dsProjekt);
    box.setFeld(QStringLiteral("Last_Personal"));
    box.setListe(&d.dsPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.count(), 2);
    QCOMPARE(box.currentText(), QStringLiteral("Huber"));
    d.tabProjekt.Next();  // employee 99 does not exist
    QCOMPARE(box.currentIndex(), -1);

    d.tabProjekt.Edit();
    box.showPopup();
    QTRY_VERIFY(box.view()->isVisible());
    QTest::mouseClick(box.view()->viewport(), Qt::LeftButton, {},
                      box.view()->visualRect(box.model()->index(1, 0)).center());
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Last_Personal"))->AsInteger(), 2);
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select Last_Personal from Projekt where Kommnr = 'P-2'")).toInt(), 2);

    // A new employee appears in the list.
    ProjektDaten::zeile(d.tabPersonal, {{"Nummer", "3"}, {"Name", QStringLiteral("Özdemir")}});
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.currentText(), QStringLiteral("Maier-Müller"));
}

void TestDBBedienelemente::datumEditLeeresDatum()
{
    ProjektDaten d;
    TDBDatumEdit edit;
    edit.setDatenquelle(&d.dsProjekt);
    edit.setFeld(QStringLiteral("Datum"));
    TDBDatumEdit termin;  // a date/time column
    termin.setDatenquelle(&d.dsProjekt);
    termin.setFeld(QStringLiteral("Termin"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QCOMPARE(edit.datum(), QDate(2024, 1, 1));
    QVERIFY(!termin.datum().isValid());

    d.tabProjekt.Edit();
    edit.aufklappen();
    QTest::mouseClick(edit.auswahl()->knopfOhne(), Qt::LeftButton);
    termin.setDatum(QDate());
    termin.eingabe()->setText(QStringLiteral("24.12.2024"));
    d.tabProjekt.Post();  // takes the typed date without leaving the edit
    QVERIFY(d.gespeichert(QStringLiteral("select Datum from Projekt where Kommnr = 'P-1'")).isNull());
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Termin"))->AsDate(), QDate(2024, 12, 24));
    QCOMPARE(edit.eingabe()->text(), QString());

    d.tabProjekt.Next();
    QCOMPARE(edit.datum(), QDate(2024, 1, 2));
    QVERIFY(!termin.datum().isValid());
}

void TestDBBedienelemente::spinEditGrenzen_data()
{
    QTest::addColumn<QVariant>("gespeichert");
    QTest::addColumn<int>("angezeigt");
    QTest::addColumn<QVariant>("nachBearbeiten");
    QTest::newRow("im Bereich") << QVariant(120) << 120 << QVariant(120);
    QTest::newRow("über dem Maximum") << QVariant(950) << 900 << QVariant(900);
    QTest::newRow("unter dem Minimum") << QVariant(5) << 10 << QVariant(10);
    QTest::newRow("leer") << QVariant() << 10 << QVariant(10);
}

void TestDBBedienelemente::spinEditGrenzen()
{
    QFETCH(QVariant, gespeichert);
    QFETCH(int, angezeigt);
    QFETCH(QVariant, nachBearbeiten);
    ProjektDaten d;
    d.tabProjekt.Edit();
    d.tabProjekt.FieldByName(QStringLiteral("Kostenstelle"))->setValue(gespeichert);
    d.tabProjekt.Post();

    TDBSpinEdit edit;
    edit.setBereich(10, 900, 10);
    edit.setDatenquelle(&d.dsProjekt);
    edit.setFeld(QStringLiteral("Kostenstelle"));
    QCOMPARE(edit.value(), angezeigt);
    // Browsing changes nothing; editing takes what is shown.
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Kostenstelle"))->Value(), gespeichert);
    d.tabProjekt.Edit();
    QCOMPARE(d.tabProjekt.FieldByName(QStringLiteral("Kostenstelle"))->Value(), nachBearbeiten);
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select Kostenstelle from Projekt where Kommnr = 'P-1'")), nachBearbeiten);

    // A value typed beyond the bound is stored as the bound.
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    d.tabProjekt.Edit();
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("5000"));
    d.tabProjekt.Post();
    QCOMPARE(d.gespeichert(QStringLiteral("select Kostenstelle from Projekt where Kommnr = 'P-1'")).toInt(), 900);
    QCOMPARE(edit.value(), 900);
}

void TestDBBedienelemente::lesetext()
{
    ProjektDaten d;
    TDBText id;
    id.setDatenquelle(&d.dsProjekt);
    id.setFeld(QStringLiteral("ID"));
    TDBText datum;
    datum.setDatenquelle(&d.dsProjekt);
    datum.setFeld(QStringLiteral("Datum"));
    QCOMPARE(id.text(), d.tabProjekt.FieldByName(QStringLiteral("ID"))->AsString());
    QVERIFY(!id.text().isEmpty());
    QCOMPARE(datum.text(), QStringLiteral("01.01.2024"));
    d.tabProjekt.Last();
    QCOMPARE(datum.text(), QStringLiteral("04.01.2024"));
    d.tabProjekt.Append();
    QCOMPARE(id.text(), QString());
    QCOMPARE(datum.text(), QString());
}

PV_TEST_MAIN(TestDBBedienelemente)
#include "tst_dbbedienelemente.moc"
