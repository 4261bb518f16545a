// The controls that need no dataset: date edit with its calendar, spin edit, command button,
// command pictures and colour codes.
#include "BefehlsKnopf.h"
#include "Bildliste.h"
#include "DatumEdit.h"
#include "Farben.h"
#include "SpinEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestBedienelemente : public QObject
{
    Q_OBJECT
private slots:
    void datumKalender();
    void datumTexteingabe_data();
    void datumTexteingabe();
    void spinEditGrenzen_data();
    void spinEditGrenzen();
    void befehlsKnopf();
    void bildliste();
    void farbcodes_data();
    void farbcodes();
};

void TestBedienelemente::datumKalender()
{
    TDatumEdit edit;
    edit.setDatum(QDate(2024, 3, 15));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QSignalSpy bearbeitet(&edit, &TDatumEdit::datumBearbeitet);

    edit.aufklappen();
    TDatumAuswahl* auswahl = edit.auswahl();
    QVERIFY(auswahl->isVisible());
    QCOMPARE(auswahl->kalender()->firstDayOfWeek(), Qt::Monday);
    QCOMPARE(auswahl->kalender()->selectedDate(), QDate(2024, 3, 15));
    QCOMPARE(auswahl->knopfHeute()->text(), QStringLiteral("Heute"));
    QCOMPARE(auswahl->knopfOhne()->text(), QStringLiteral("Ohne"));
    // The calendar opens below the edit.
    QVERIFY(auswahl->geometry().top() >= edit.mapToGlobal(QPoint(0, edit.height())).y());

    QTest::mouseClick(auswahl->knopfOhne(), Qt::LeftButton);
    QVERIFY(!auswahl->isVisible());
    QVERIFY(!edit.datum().isValid());
    QCOMPARE(edit.eingabe()->text(), QString());
    QCOMPARE(bearbeitet.count(), 1);

    // Without a date the calendar shows today; "Heute" takes it.
    edit.aufklappen();
    QCOMPARE(auswahl->kalender()->selectedDate(), QDate::currentDate());
    QTest::mouseClick(auswahl->knopfHeute(), Qt::LeftButton);
    QCOMPARE(edit.datum(), QDate::currentDate());
    QCOMPARE(bearbeitet.count(), 2);

    // A chosen day.
    edit.aufklappen();
    emit auswahl->kalender()->clicked(QDate(2023, 12, 24));
    QCOMPARE(edit.datum(), QDate(2023, 12, 24));
    QCOMPARE(edit.eingabe()->text(), QStringLiteral("24.12.2023"));

    // Set by the program: no user change reported; read-only opens nothing.
    edit.setDatum(QDate(2020, 1, 1));
    QCOMPARE(bearbeitet.count(), 3);
    edit.setNurLesen(true);
    edit.aufklappen();
    QVERIFY(!auswahl->isVisible());
}

void TestBedienelemente::datumTexteingabe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("datum");
    QTest::addColumn<QString>("angezeigt");
    const QDate vorher(2024, 5, 6);
    QTest::newRow("deutsch") << "31.01.2024" << QDate(2024, 1, 31) << "31.01.2024";
    QTest::newRow("kurz") << "1.2.2024" << QDate(2024, 2, 1) << "01.02.2024";
    QTest::newRow("leer ist ohne Datum") << "" << QDate() << "";
    QTest::newRow("nur Leerzeichen") << "   " << QDate() << "";
    QTest::newRow("kein Tag") << "31.02.2024" << vorher << "06.05.2024";
    QTest::newRow("kein Datum") << "morgen" << vorher << "06.05.2024";
    QTest::newRow("zweistelliges Jahr") << "01.02.24" << vorher << "06.05.2024";
}

void TestBedienelemente::datumTexteingabe()
{
    QFETCH(QString, text);
    QFETCH(QDate, datum);
    QFETCH(QString, angezeigt);
    TDatumEdit edit;
    edit.setDatum(QDate(2024, 5, 6));
    edit.eingabe()->setText(text);
    emit edit.eingabe()->editingFinished();
    QCOMPARE(edit.datum(), datum);
    QCOMPARE(edit.eingabe()->text(), angezeigt);
}

void TestBedienelemente::spinEditGrenzen_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<int>("wert");
    QTest::newRow("im Bereich") << 10 << 900 << "120" << 120;
    QTest::newRow("über dem Maximum") << 10 << 900 << "950" << 900;
    QTest::newRow("unter dem Minimum") << 10 << 900 << "5" << 10;
    QTest::newRow("negativ") << 10 << 900 << "-5" << 10;
    QTest::newRow("Rang 0 bis 100") << 0 << 100 << "101" << 100;
    QTest::newRow("Intervall") << 1 << 1000 << "10000" << 1000;
}

void TestBedienelemente::spinEditGrenzen()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, getippt);
    QFETCH(int, wert);
    TSpinEdit edit;
    edit.setBereich(minimum, maximum, 10);
    QCOMPARE(edit.singleStep(), 10);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, getippt);
    QTest::keyClick(&edit, Qt::Key_Enter);
    QCOMPARE(edit.value(), wert);
    QCOMPARE(edit.text(), QString::number(wert));

    // Values set by the program go to the nearest bound as well.
    edit.setValue(minimum - 1);
    QCOMPARE(edit.value(), minimum);
    QCOMPARE(edit.begrenzt(qint64(maximum) + 5000000000LL), maximum);
}

void TestBedienelemente::befehlsKnopf()
{
    QAction befehl(QStringLiteral("Speichern"));
    befehl.setIcon(Bildliste::symbol(3));
    int ausgefuehrt = 0;
    connect(&befehl, &QAction::triggered, this, [&] { ++ausgefuehrt; });

    TBefehlsKnopf knopf(&befehl);
    knopf.show();
    QVERIFY(QTest::qWaitForWindowExposed(&knopf));
    QCOMPARE(knopf.text(), QStringLiteral("Speichern"));
    QVERIFY(!knopf.icon().isNull());
    QCOMPARE(knopf.height(), 30);
    QTest::mouseClick(&knopf, Qt::LeftButton);
    QCOMPARE(ausgefuehrt, 1);

    // The window's own enabled state rules the button, not the command's.
    knopf.setEnabled(false);
    QTest::mouseClick(&knopf, Qt::LeftButton);
    QCOMPARE(ausgefuehrt, 1);
    befehl.setText(QStringLiteral("Übernehmen"));
    QCOMPARE(knopf.text(), QStringLiteral("Übernehmen"));
    QVERIFY(!knopf.isEnabled());
    knopf.setEnabled(true);
    befehl.setEnabled(false);
    befehl.setEnabled(true);
    knopf.setVisible(false);
    befehl.setVisible(true);
    QVERIFY(!knopf.isVisible());

    // The command going away leaves a button that does nothing.
    auto* kurz = new QAction(QStringLiteral("Kurz"));
    TBefehlsKnopf zweiter(kurz);
    delete kurz;
    QCOMPARE(zweiter.befehl(), nullptr);
    zweiter.click();
}

void TestBedienelemente::bildliste()
{
    for (int i = 0; i < Bildliste::Anzahl; ++i) {
        const QPixmap bild = Bildliste::bild(i);
        QVERIFY2(!bild.isNull(), qPrintable(QString::number(i)));
        QCOMPARE(bild.size(), QSize(16, 16));
    }
    QVERIFY(Bildliste::bild(-1).isNull());
    QVERIFY(Bildliste::bild(24).isNull());
    QVERIFY(Bildliste::symbol(24).isNull());
    // The pictures differ from each other.
    QSet<QByteArray> verschieden;
    for (int i = 0; i < Bildliste::Anzahl; ++i) {
        const QImage b = Bildliste::bild(i).toImage();
        verschieden.insert(QByteArray(reinterpret_cast<const char*>(b.constBits()), b.sizeInBytes()));
    }
    QCOMPARE(verschieden.size(), Bildliste::Anzahl);
}

void TestBedienelemente::farbcodes_data()
{
    QTest::addColumn<qint64>("code");
    QTest::addColumn<QColor>("farbe");
    const QPalette p = QGuiApplication::palette();
    QTest::newRow("rot im unteren Byte") << qint64(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("grün") << qint64(0x00008000) << QColor(0, 128, 0);
    QTest::newRow("Zeilenband") << qint64(0x00FEF3ED) << QColor(237, 243, 254);
    QTest::newRow("Balken mittel") << qint64(0x00A6CAF0) << QColor(240, 202, 166);
    QTest::newRow("Titelstreifen dezimal") << qint64(10010070) << QColor(214, 189, 152);
    QTest::newRow("Markierung dezimal") << qint64(14268584) << QColor(168, 184, 217);
    QTest::newRow("Fensterhintergrund") << qint64(-16777211) << p.color(QPalette::Base);
    QTest::newRow("Fenstertext") << qint64(-16777208) << p.color(QPalette::Text);
    QTest::newRow("Schaltfläche") << qint64(-16777201) << p.color(QPalette::Button);
}

void TestBedienelemente::farbcodes()
{
    QFETCH(qint64, code);
    QFETCH(QColor, farbe);
    QCOMPARE(FarbeAusCode(static_cast<int32_t>(code)), farbe);
    if (code >= 0)
        QCOMPARE(CodeAusFarbe(farbe), static_cast<int32_t>(code));
}

QTEST_MAIN(TestBedienelemente)
#include "tst_bedienelemente.moc"
