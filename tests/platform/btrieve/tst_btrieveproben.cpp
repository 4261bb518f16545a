// Real engine-written files: every key walked through BTRCALLID must return each record once, in
// the order of the file's own index, and Get Equal must find what is there and nothing else.

#include "BtrieveTesthilfe.h"
#include "Datei.h"
#include "Format.h"

#include <QtTest>
#include <set>

using namespace btrieve;

namespace {
QString probe(const QString& name) { return QStringLiteral(PV_TESTDATEN "/btrieve/") + name; }

std::unique_ptr<Datei> laden(const QString& pfad)
{
    int16_t st = 0;
    std::shared_ptr<Quelle> q = Dateiquelle::oeffnen(QFile::encodeName(pfad).toStdString(), st);
    if (!q)
        return nullptr;
    return Datei::laden(q);
}

// A value no record of the key holds, so Get Equal must answer 4.
std::vector<uint8_t> fehlenderWert(const Schluessel& k, const Folge& f)
{
    for (uint8_t fuell : {uint8_t(0xFE), uint8_t(0x7E), uint8_t(0x01), uint8_t(0x5A)}) {
        std::vector<uint8_t> w(k.laenge, fuell);
        bool vorhanden = false;
        for (size_t i = 0; i < f.groesse() && !vorhanden; ++i)
            vorhanden = k.gleich(f.wert(i), w.data());
        if (!vorhanden)
            return w;
    }
    return {};
}
} // namespace

class TestBtrieveProben : public QObject
{
    Q_OBJECT
private slots:
    void proben_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("seitengroesse");
        QTest::addColumn<int>("satzlaenge");
        QTest::addColumn<int>("saetze");
        QTest::addColumn<int>("schluessel");
        QTest::addColumn<qint64>("summeLaengen");   // all records with their variable parts
        QTest::newRow("6.0, Sortierfolge, verkettete Duplikate") << "GALTELA.DAT" << 0x0600 << 4096 << 950 << 73 << 3 << qint64(73 * 950);
        QTest::newRow("5.x, Duplikate, integer, autoinc") << "MBBSEMU.DAT" << 0x0400 << 512 << 74 << 4 << 4 << qint64(4 * 74);
        QTest::newRow("6.1, leer, zwei Sortierfolgen") << "MULTIACS.DAT" << 0x0610 << 4096 << 128 << 0 << 3 << qint64(0);
        QTest::newRow("5.x, variable Sätze") << "VARIABLE.DAT" << 0x0400 << 512 << 8 << 1024 << 2 << qint64(531968);
        QTest::newRow("6.0, variable Sätze") << "WGSMENU2.DAT" << 0x0600 << 4096 << 448 << 46 << 1 << qint64(26216);
    }

    void proben()
    {
        QFETCH(QString, datei);
        QFETCH(int, version);
        QFETCH(int, seitengroesse);
        QFETCH(int, satzlaenge);
        QFETCH(int, saetze);
        QFETCH(int, schluessel);
        QFETCH(qint64, summeLaengen);
        const QString pfad = probe(datei);
        const QByteArray vorher = pruefsumme(pfad);
        QVERIFY(!vorher.isEmpty());

        auto d = laden(pfad);
        QVERIFY(d);
        QCOMPARE(int(d->kopf().versionswort), version);
        QCOMPARE(int(d->kopf().seitengroesse), seitengroesse);
        QCOMPARE(int(d->kopf().satzlaenge), satzlaenge);
        QCOMPARE(int(d->kopf().saetze), saetze);
        QCOMPARE(int(d->schluessel().size()), schluessel);

        BtrieveAufrufer b;
        QCOMPARE(b.oeffnen(pfad), status::Ok);
        for (const Schluessel& k : d->schluessel()) {
            const Folge& f = d->folge(k);
            QCOMPARE(int(f.groesse()), saetze);
            QCOMPARE(std::set<uint32_t>(f.adressen.begin(), f.adressen.end()).size(), f.groesse());
            // Our comparison must reproduce the order the engine gave its index.
            QVERIFY2(!k.vergleichbar || f.geordnet, qPrintable(QStringLiteral("Schlüssel %1").arg(k.nummer)));

            qint64 summe = 0;
            int16_t st = b.erster(int8_t(k.nummer));
            for (size_t i = 0; i < f.groesse(); ++i) {
                QCOMPARE(st, status::Ok);
                std::vector<uint8_t> erwartet;
                d->satzLesen(f.adressen[i], erwartet);
                QVERIFY2(b.satz() == erwartet, qPrintable(QStringLiteral("Schlüssel %1, Satz %2").arg(k.nummer).arg(i)));
                QVERIFY(std::equal(b.schluessel, b.schluessel + k.laenge, k.wertAus(erwartet.data()).begin()));
                summe += b.laenge;
                st = b.naechster(int8_t(k.nummer));
            }
            QCOMPARE(st, status::Dateiende);
            QCOMPARE(b.naechster(int8_t(k.nummer)), status::Dateiende);
            QCOMPARE(summe, summeLaengen);

            // Get Equal: the first record of its value in index order; Get Next goes on from there.
            for (size_t i = 0; i < f.groesse(); ++i) {
                size_t erster = i;
                while (erster > 0 && k.gleich(f.wert(erster - 1), f.wert(i)))
                    --erster;
                QCOMPARE(b.gleich(int8_t(k.nummer), f.wert(i), k.laenge), status::Ok);
                std::vector<uint8_t> erwartet;
                d->satzLesen(f.adressen[erster], erwartet);
                QVERIFY(b.satz() == erwartet);
                if (erster + 1 < f.groesse() && i % 7 == 0) {
                    QCOMPARE(b.naechster(int8_t(k.nummer)), status::Ok);
                    d->satzLesen(f.adressen[erster + 1], erwartet);
                    QVERIFY(b.satz() == erwartet);
                }
            }
            const std::vector<uint8_t> fehlt = fehlenderWert(k, f);
            QVERIFY(!fehlt.empty());
            QCOMPARE(b.gleich(int8_t(k.nummer), fehlt.data(), fehlt.size()), status::SchluesselNichtGefunden);
        }
        QCOMPARE(b.schliessen(), status::Ok);
        QCOMPARE(b.beenden(), status::Ok);
        QCOMPARE(pruefsumme(pfad), vorher);
    }

    // The file's collating sequence (upper case) decides Get Equal and the order, not the bytes.
    void sortierfolge()
    {
        auto d = laden(probe("GALTELA.DAT"));
        QVERIFY(d);
        const Schluessel* k = d->schluesselNr(2);
        QVERIFY(k && k->segmente[0].acs);
        const Folge& f = d->folge(*k);
        bool byteweiseAnders = false;
        for (size_t i = 1; i < f.groesse(); ++i)
            byteweiseAnders = byteweiseAnders || std::memcmp(f.wert(i - 1), f.wert(i), k->laenge) > 0;
        QVERIFY(byteweiseAnders);

        BtrieveAufrufer b;
        QCOMPARE(b.oeffnen(probe("GALTELA.DAT")), status::Ok);
        uint8_t wert[16] = {'B', 'L', 'E', 'S', 'S'};
        QCOMPARE(b.gleich(2, wert, sizeof wert), status::Ok);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.schluessel)), QByteArray("bless"));
        QCOMPARE(b.schliessen(), status::Ok);
    }
};

QTEST_GUILESS_MAIN(TestBtrieveProben)
#include "tst_btrieveproben.moc"
