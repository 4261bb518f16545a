#include "IniRecord.h"
#include "UnitInfo.h"

#include <QDir>
#include <QLabel>
#include <QtTest>

// The information window: what it says and how it is laid out; a picture of it for the eye.
class TestInfo : public QObject
{
    Q_OBJECT

private slots:
    void texteUndLage();
};

void TestInfo::texteUndLage()
{
    IniVorbelegen();
    IniRecord.Version = QStringLiteral("1.0.0.1");
    QWidget hauptfenster;
    hauptfenster.setGeometry(100, 100, 1000, 800);
    TFormInfo info(&hauptfenster);
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));

    QCOMPARE(info.windowTitle(), QStringLiteral("Programminformation"));
    QCOMPARE(info.size(), QSize(428, 450));
    QCOMPARE(info.findChild<QLabel*>("Label1")->text(), QStringLiteral("Projektverwaltung"));
    QVERIFY(info.findChild<QLabel*>("Label1")->font().bold());
    QCOMPARE(info.findChild<QLabel*>("Label2")->text(), QStringLiteral("Version:"));
    QCOMPARE(info.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("1.0.0.1"));
    QCOMPARE(info.findChild<QLabel*>("Label3")->text(), QStringLiteral("Datum:"));
    QCOMPARE(info.findChild<QLabel*>("lblDatum")->text(), QStringLiteral("21.04.2010"));
    QCOMPARE(info.findChild<QWidget*>("Panel1")->geometry(), QRect(24, 288, 377, 105));
    // The title fits its label: nothing of "Projektverwaltung" is cut.
    QLabel* titel = info.Label1;
    QVERIFY(QFontMetrics(titel->font()).horizontalAdvance(titel->text()) <= titel->width());
    QCOMPARE(titel->geometry().right(), 189 + 177 - 1);
    // The picture fills the window, scaled in proportion.
    QCOMPARE(info.Image1->geometry(), info.rect());
    QCOMPARE(info.Image1->pixmap().size(), QSize(428, 428));
    QCOMPARE(Infobild().size(), QSize(256, 256));
    // Centred over the main window.
    QCOMPARE(info.frameGeometry().center(), hauptfenster.frameGeometry().center());

    const QString ordner = QString::fromLocal8Bit(qgetenv("PV_BINARY_DIR")) + "/bildschirmfotos";
    QDir().mkpath(ordner);
    QVERIFY(info.grab().save(ordner + "/programminformation.png"));
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
