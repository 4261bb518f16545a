// A window's place: what is read from PROJEKT.INI is where the window's outer rectangle goes,
// and what it stores when closed untouched is what it read. A place that would hide the title
// bar is moved back onto a screen. (The same under a window manager with frames is checked by
// tests/smoke/tst_fensterrahmen.)

#include "FensterLage.h"
#include "IniRecord.h"
#include "Testdateien.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class TestFensterLage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aufBildschirm_data();
    void aufBildschirm();
    void unveraendertZurueck_data();
    void unveraendertZurueck();
    void titelAusserhalbZurueckGeholt();
    void fremderNameTutNichts();

private:
    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
};

void TestFensterLage::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    IniRecord = TIniRecord();
}

void TestFensterLage::cleanup()
{
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestFensterLage::aufBildschirm_data()
{
    QTest::addColumn<QList<QRect>>("schirme");
    QTest::addColumn<QRect>("gespeichert");
    QTest::addColumn<QPoint>("erwartet");
    const QList<QRect> einer = {QRect(0, 0, 1600, 1000)};
    const QList<QRect> zwei = {QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 800)};

    QTest::newRow("auf dem Schirm") << einer << QRect(99, 40, 1113, 750) << QPoint(99, 40);
    QTest::newRow("Titel über dem Schirm") << einer << QRect(97, -20, 1113, 750) << QPoint(97, 0);
    QTest::newRow("Titel halb darüber") << einer << QRect(97, -5, 1113, 750) << QPoint(97, 0);
    QTest::newRow("links draußen, Titel noch greifbar") << einer << QRect(-1000, 40, 1113, 750) << QPoint(-1000, 40);
    QTest::newRow("links ganz draußen") << einer << QRect(-1100, 40, 1113, 750) << QPoint(0, 40);
    QTest::newRow("rechts draußen") << einer << QRect(1590, 40, 1113, 750) << QPoint(487, 40);
    QTest::newRow("unter dem Schirm") << einer << QRect(100, 990, 1113, 750) << QPoint(100, 250);
    QTest::newRow("größer als der Schirm") << einer << QRect(-50, -50, 2000, 1200) << QPoint(0, 0);
    QTest::newRow("auf dem zweiten Schirm") << zwei << QRect(2000, 40, 800, 600) << QPoint(2000, 40);
    QTest::newRow("unter dem kleineren Schirm") << zwei << QRect(1700, 900, 800, 600) << QPoint(1700, 200);
}

void TestFensterLage::aufBildschirm()
{
    QFETCH(QList<QRect>, schirme);
    QFETCH(QRect, gespeichert);
    QFETCH(QPoint, erwartet);
    const QRect ergebnis = AufBildschirm(gespeichert, 20, schirme);
    QCOMPARE(ergebnis.topLeft(), erwartet);
    QCOMPARE(ergebnis.size(), gespeichert.size());
}

// Read, shown or not, closed: the file holds the same bytes as before.
void TestFensterLage::unveraendertZurueck_data()
{
    QTest::addColumn<bool>("zeigen");
    QTest::newRow("gezeigt") << true;
    QTest::newRow("nie gezeigt") << false;
}

void TestFensterLage::unveraendertZurueck()
{
    QFETCH(bool, zeigen);
    const QByteArray vorher = "[Fenster]\r\nStammFensterTop=40\r\nStammFensterLeft=99\r\nStammFensterWidth=700\r\n"
                              "StammFensterHeight=500\r\n";
    Testdateien::schreibenRoh(IniDateiPfad(), vorher);
    QWidget fenster;
    FensterLageAnwenden(&fenster, "StammFenster");
    if (zeigen) {
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        QCOMPARE(fenster.frameGeometry(), QRect(99, 40, 700, 500));
    }
    FensterLageMerken(&fenster, "StammFenster");
    QCOMPARE(Testdateien::lesen(IniDateiPfad()), vorher);
}

void TestFensterLage::titelAusserhalbZurueckGeholt()
{
    Testdateien::schreibenRoh(IniDateiPfad(), "[Fenster]\r\nSucheFensterTop=-20\r\nSucheFensterLeft=5000\r\n");
    QWidget fenster;
    FensterLageAnwenden(&fenster, "SucheFenster");
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    const QRect schirm = fenster.screen()->availableGeometry();
    QVERIFY2(schirm.contains(fenster.frameGeometry().topLeft()), qPrintable(QDebug::toString(fenster.frameGeometry())));
    QCOMPARE(fenster.frameGeometry().size(), QSize(715, 427));   // the window's default size
    FensterLageMerken(&fenster, "SucheFenster");
    FensterLesen("SucheFenster");
    QCOMPARE(IniRecord.SucheFensterTop, fenster.frameGeometry().top());
    QCOMPARE(IniRecord.SucheFensterLeft, fenster.frameGeometry().left());
}

void TestFensterLage::fremderNameTutNichts()
{
    Testdateien::schreibenRoh(IniDateiPfad(), "[Fenster]\r\nstammfensterTop=40\r\n");
    QWidget fenster;
    fenster.setGeometry(10, 20, 300, 200);
    FensterLageAnwenden(&fenster, "stammfenster");
    QCOMPARE(fenster.geometry(), QRect(10, 20, 300, 200));
    FensterLageMerken(&fenster, "stammfenster");
    QCOMPARE(Testdateien::lesen(IniDateiPfad()), QByteArray("[Fenster]\r\nstammfensterTop=40\r\n"));
}

QTEST_MAIN(TestFensterLage)
#include "tst_fensterlage.moc"
