// The timeline's geometry for known dates: where bars start and how long they are, the day
// scale's bounds, weekends, today's line, labels, and the way back from a point to a row and day.
#include "TerminplanGeometrie.h"

#include <QtTest>

namespace {

QDate tag(int monat, int t)
{
    return QDate(2026, monat, t);
}

// Today is Thursday 10.12.2026. The tasks reach from Monday 30.11. to Thursday 24.12., so the
// scale runs from 30.11. (a Monday) to Sunday 27.12.: 28 days of 18 pixels.
TTerminplanGeometrie beispiel()
{
    return TTerminplanGeometrie({{QStringLiteral("Aufmaß"), tag(12, 7), tag(12, 9)},
                                 {QStringLiteral("ohne Termin"), {}, {}},
                                 {QStringLiteral("nur Ende"), {}, tag(12, 24)},
                                 {QStringLiteral("verdreht"), tag(12, 20), tag(12, 18)},
                                 {QStringLiteral("ein Tag"), tag(11, 30), tag(11, 30)},
                                 {QStringLiteral("nur Beginn"), tag(12, 15), {}}},
                                tag(12, 10));
}

} // namespace

class TestTerminplanGeometrie : public QObject
{
    Q_OBJECT

private slots:
    void skala();
    void balken_data();
    void balken();
    void wochenendenUndHeute();
    void beschriftungen();
    void punktZuZeileUndTag_data();
    void punktZuZeileUndTag();
    void ohneAufgabenZeigtDieWocheVonHeute();
};

void TestTerminplanGeometrie::skala()
{
    const TTerminplanGeometrie g = beispiel();
    QCOMPARE(g.ersterTag(), tag(11, 30));
    QCOMPARE(g.letzterTag(), tag(12, 27));
    QCOMPARE(g.breite(), 28 * 18);
    QCOMPARE(g.hoehe(), 48 + 6 * 20);
    QCOMPARE(g.x(tag(12, 1)), 18);
    // Days outside the scale have their place as well; the way back clamps to it.
    QCOMPARE(g.x(tag(11, 29)), -18);
    QCOMPARE(g.tagBei(-5), tag(11, 30));
    QCOMPARE(g.tagBei(100000), tag(12, 27));
}

// Row i lies 48 + 20·i pixels down; its bar leaves 3 pixels above and below.
void TestTerminplanGeometrie::balken_data()
{
    QTest::addColumn<int>("zeile");
    QTest::addColumn<bool>("hatBalken");
    QTest::addColumn<QRect>("erwartet");
    QTest::newRow("Mo–Mi: drei Tage") << 0 << true << QRect(7 * 18, 51, 3 * 18, 14);
    QTest::newRow("ohne Datum: kein Balken") << 1 << false << QRect();
    QTest::newRow("nur Ende: ein Tag") << 2 << true << QRect(24 * 18, 91, 18, 14);
    QTest::newRow("Ende vor Beginn: die Tage dazwischen") << 3 << true << QRect(18 * 18, 111, 3 * 18, 14);
    QTest::newRow("erster Tag der Skala") << 4 << true << QRect(0, 131, 18, 14);
    QTest::newRow("nur Beginn: ein Tag") << 5 << true << QRect(15 * 18, 151, 18, 14);
}

void TestTerminplanGeometrie::balken()
{
    QFETCH(int, zeile);
    QFETCH(bool, hatBalken);
    QFETCH(QRect, erwartet);
    const auto balken = beispiel().balken(zeile);
    QCOMPARE(balken.has_value(), hatBalken);
    if (hatBalken)
        QCOMPARE(*balken, erwartet);
}

void TestTerminplanGeometrie::wochenendenUndHeute()
{
    const TTerminplanGeometrie g = beispiel();
    const std::vector<QRect> erwartet = {QRect(5 * 18, 48, 36, 120), QRect(12 * 18, 48, 36, 120),
                                         QRect(19 * 18, 48, 36, 120), QRect(26 * 18, 48, 36, 120)};
    QCOMPARE(g.wochenenden(), erwartet);
    // Through the middle of Thursday 10.12.
    QCOMPARE(g.heuteX(), 10 * 18 + 9);
}

void TestTerminplanGeometrie::beschriftungen()
{
    const TTerminplanGeometrie g = beispiel();
    const auto text = [](const std::vector<TSkalenBeschriftung>& liste) {
        QStringList texte;
        for (const TSkalenBeschriftung& b : liste)
            texte << QStringLiteral("%1@%2+%3").arg(b.text).arg(b.x).arg(b.breite);
        return texte;
    };
    QCOMPARE(text(g.monate()), (QStringList{"November 2026@0+18", "Dezember 2026@18+486"}));
    QCOMPARE(text(g.wochen()), (QStringList{"KW 49@0+126", "KW 50@126+126", "KW 51@252+126", "KW 52@378+126"}));
}

void TestTerminplanGeometrie::punktZuZeileUndTag_data()
{
    QTest::addColumn<QPoint>("punkt");
    QTest::addColumn<int>("zeile");
    QTest::addColumn<QDate>("tag");
    QTest::newRow("Kopf") << QPoint(0, 47) << -1 << tag(11, 30);
    QTest::newRow("erste Zeile, erster Pixel") << QPoint(126, 48) << 0 << tag(12, 7);
    QTest::newRow("erste Zeile, letzter Pixel") << QPoint(143, 67) << 0 << tag(12, 7);
    QTest::newRow("zweite Zeile") << QPoint(144, 68) << 1 << tag(12, 8);
    QTest::newRow("letzte Zeile") << QPoint(503, 167) << 5 << tag(12, 27);
    QTest::newRow("unter den Zeilen") << QPoint(0, 168) << -1 << tag(11, 30);
}

void TestTerminplanGeometrie::punktZuZeileUndTag()
{
    QFETCH(QPoint, punkt);
    QFETCH(int, zeile);
    QFETCH(QDate, tag);
    const TTerminplanGeometrie g = beispiel();
    QCOMPARE(g.zeileBei(punkt.y()), zeile);
    QCOMPARE(g.tagBei(punkt.x()), tag);
}

// Without tasks (or with tasks without dates) the scale is the week of today, with its line.
void TestTerminplanGeometrie::ohneAufgabenZeigtDieWocheVonHeute()
{
    const TTerminplanGeometrie g({{QStringLiteral("ohne"), {}, {}}}, tag(12, 13));
    QCOMPARE(g.ersterTag(), tag(12, 7));
    QCOMPARE(g.letzterTag(), tag(12, 13));
    QCOMPARE(g.heuteX(), 6 * 18 + 9);
    QVERIFY(!g.balken(0));
    QCOMPARE(g.zeileBei(50), 0);
    // A view wider than that asks for more days: the scale goes on to the end of that week.
    QCOMPARE(TTerminplanGeometrie({}, tag(12, 13), {}, tag(12, 16)).letzterTag(), tag(12, 20));
}

QTEST_APPLESS_MAIN(TestTerminplanGeometrie)
#include "tst_terminplangeometrie.moc"
