// Damaged files end in a status code: never a crash, never an endless walk, never a wrong record.

#include "BtrieveSchreiber.h"
#include "BtrieveTesthilfe.h"
#include "Datei.h"
#include "Format.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace btrieve;
namespace bs = btrieveschreiber;

namespace {

constexpr uint16_t Satzlaenge = 40;
constexpr uint32_t Slot = 2 + Satzlaenge + 8;   // one key with linked duplicates

using Bytes = std::vector<uint8_t>;
using Schaden = std::function<void(Bytes&, const bs::Lageplan&)>;

void p16(Bytes& d, size_t pos, uint32_t v)
{
    d.at(pos) = uint8_t(v);
    d.at(pos + 1) = uint8_t(v >> 8);
}
void pws32(Bytes& d, size_t pos, uint32_t v)
{
    p16(d, pos, v >> 16);
    p16(d, pos + 2, v);
}
void pref(Bytes& d, size_t pos, uint8_t typ, uint32_t seite)
{
    d.at(pos) = uint8_t(seite >> 16);
    d.at(pos + 1) = typ;
    d.at(pos + 2) = uint8_t(seite);
    d.at(pos + 3) = uint8_t(seite >> 8);
}

// Test file: 2000 records on 512-byte pages; key 0 unique lstring, key 1 integer with duplicates.
Bytes testdatei(bs::Lageplan& plan, bool mitGeloeschten = false)
{
    std::vector<bs::Schluessel> k(2);
    k[0].segmente = {{0, 11, typ::LString, 0}};
    k[1].segmente = {{12, 4, typ::Integer, 0}};
    k[1].duplikate = true;
    bs::Optionen o;
    o.seitengroesse = 512;
    bs::Schreiber s(Satzlaenge, k, o);
    for (int i = 0; i < 2000; ++i) {
        Bytes satz(Satzlaenge, 0);
        // Appended rather than joined with "N" + ...: g++ 12 at -O3 warns falsely about the latter.
        std::string nr(1, 'N');
        nr += std::to_string(i * 7 % 2000 + 10000);
        satz[0] = uint8_t(nr.size());
        std::memcpy(&satz[1], nr.data(), nr.size());
        const int32_t gruppe = i % 50;
        std::memcpy(&satz[12], &gruppe, 4);
        s.satz(satz, mitGeloeschten && i % 10 == 3);
    }
    return s.bytes(&plan);
}

// Start of the leftmost leaf page of key k, and the root.
size_t linkesBlatt(const Bytes& d, const bs::Lageplan& plan, int k)
{
    size_t pos = plan.dateiposition(plan.wurzeln[size_t(k)]);
    for (;;) {
        const SeitenRef kind = seitenRef(&d[pos + 12]);
        if (kind.leer())
            return pos;
        pos = plan.dateiposition(kind.seite);
    }
}

size_t fcr(const bs::Lageplan& plan) { return size_t(plan.fcrSeite) * plan.seitengroesse; }

} // namespace

// Declared before the first test table that holds it.
Q_DECLARE_METATYPE(Schaden)

class TestBtrieveDefekt : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;

    // Open and walk every key to its end; the first status that is neither 0 nor the end of a walk.
    int16_t durchlaufen(const QString& pfad, int schluessel)
    {
        BtrieveAufrufer b;
        int16_t st = b.oeffnen(pfad);
        if (st != status::Ok)
            return st;
        for (int k = 0; k < schluessel && st == status::Ok; ++k) {
            long gelesen = 0;
            for (st = b.erster(int8_t(k)); st == status::Ok && gelesen < 100000; st = b.naechster(int8_t(k)))
                ++gelesen;
            if (st == status::Dateiende)
                st = status::Ok;
        }
        b.schliessen();
        return st;
    }

    QString ablegen(const Bytes& d)
    {
        const QString pfad = m_ordner.filePath(QStringLiteral("defekt.dat"));
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        f.write(reinterpret_cast<const char*>(d.data()), qint64(d.size()));
        return pfad;
    }

private slots:
    void beschaedigt_data()
    {
        QTest::addColumn<Schaden>("schaden");
        QTest::addColumn<bool>("mitGeloeschten");
        QTest::addColumn<int>("erwartet");
        const bool nein = false;

        QTest::newRow("unverändert") << Schaden([](Bytes&, const bs::Lageplan&) {}) << nein << 0;
        QTest::newRow("auf die Hälfte gekürzt") << Schaden([](Bytes& d, const bs::Lageplan&) { d.resize(d.size() / 2); }) << nein << 2;
        QTest::newRow("nur der Anfang des Kopfs") << Schaden([](Bytes& d, const bs::Lageplan&) { d.resize(100); }) << nein << 30;
        QTest::newRow("nur die Kopfseiten") << Schaden([](Bytes& d, const bs::Lageplan& p) { d.resize(2 * p.seitengroesse); }) << nein << 2;
        QTest::newRow("ältere Kopfseite zerstört") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            std::memset(&d[4], 0, p.seitengroesse - 4);
        }) << nein << 0;
        QTest::newRow("fremde Kennung") << Schaden([](Bytes& d, const bs::Lageplan&) { std::memcpy(d.data(), "PK\3\4", 4); }) << nein << 30;
        QTest::newRow("Format 8.x") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, 0x4A, 0x0800);
            p16(d, p.seitengroesse + 0x4A, 0x0800);
        }) << nein << 30;
        QTest::newRow("Format 9.5") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, 0x4A, 0x0950);
            p16(d, p.seitengroesse + 0x4A, 0x0950);
        }) << nein << 30;
        QTest::newRow("komprimiert") << Schaden([](Bytes& d, const bs::Lageplan& p) { d[fcr(p) + 0x106] |= 0x08; }) << nein << 30;
        QTest::newRow("Tabellen für variable Teile") << Schaden([](Bytes& d, const bs::Lageplan& p) { d[fcr(p) + 0x107] |= 0x08; }) << nein << 30;
        QTest::newRow("Leerzeichenkürzung") << Schaden([](Bytes& d, const bs::Lageplan& p) { d[fcr(p) + 0x106] |= 0x02; }) << nein << 30;
        QTest::newRow("Seitengröße 1000") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, 8, 1000);
            p16(d, p.seitengroesse + 8, 1000);
        }) << nein << 30;
        QTest::newRow("Seitentabellen zerstört") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            std::memset(&d[2 * p.seitengroesse], 0, 2 * p.seitengroesse);
        }) << nein << 2;
        QTest::newRow("Wurzel als Datenseite eingetragen") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const uint32_t l = p.wurzeln[0], proTabelle = p.seitengroesse / 4 - 2;
            const size_t tabelle = size_t(p.patSeiten.at((l - 1) / proTabelle)) * p.seitengroesse;
            d[tabelle + 4 + 4 * ((l - 1) % proTabelle + 1) + 1] = 'D';
        }) << nein << 2;
        QTest::newRow("Seitenkopf mit falscher Seitennummer") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            d[p.dateiposition(p.datenseiten[5]) + 2] ^= 0x01;
        }) << nein << 2;
        QTest::newRow("Kindzeiger hinter das Dateiende") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            pref(d, p.dateiposition(p.wurzeln[0]) + 12, 0x80, 0x0FFFFF);
        }) << nein << 2;
        QTest::newRow("Schleife zurück zur Wurzel") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            pref(d, linkesBlatt(d, p, 0) + 8, 0x80, p.wurzeln[0]);
        }) << nein << 2;
        QTest::newRow("mehr Einträge als die Seite fasst") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, p.dateiposition(p.wurzeln[0]) + 6, 0xFFFF);
        }) << nein << 2;
        QTest::newRow("Satzadresse zwischen zwei Plätzen") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const size_t e = linkesBlatt(d, p, 0) + 12 + 19 * 3;
            pws32(d, e + 4 + 11, ws32(&d[e + 4 + 11]) + 1);
        }) << nein << 2;
        QTest::newRow("Satzadresse hinter der Seite") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const size_t e = linkesBlatt(d, p, 0) + 12 + 19 * 3;
            pws32(d, e + 4 + 11, p.datenseiten[0] * p.seitengroesse + 6 + 10 * Slot);
        }) << nein << 2;
        QTest::newRow("Index nennt einen gelöschten Satz") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const size_t e = linkesBlatt(d, p, 0) + 12;
            pws32(d, e + 4 + 11, p.datenseiten[0] * p.seitengroesse + 6 + 3 * Slot);
        }) << true << 2;
        QTest::newRow("Index nennt einen Satz zweimal") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const size_t e = linkesBlatt(d, p, 0) + 12;
            std::memcpy(&d[e + 19 + 4], &d[e + 4], 15);
        }) << nein << 2;
        QTest::newRow("Duplikatkette im Kreis") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            const size_t e = linkesBlatt(d, p, 1) + 12;
            const uint32_t a = ws32(&d[e + 8]);
            const size_t slot = p.dateiposition(a / p.seitengroesse) + a % p.seitengroesse;
            pws32(d, slot + 2 + Satzlaenge + 4, a);
        }) << nein << 2;
        QTest::newRow("Schlüsselsegment hinter dem Satz") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, fcr(p) + 0x110 + 0x14, Satzlaenge);
        }) << nein << 2;
        QTest::newRow("Schlüsseltabelle außerhalb des Kopfs") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            p16(d, fcr(p) + 0x78, 0x01F0);
        }) << nein << 2;
        QTest::newRow("Sätze verschlüsselt") << Schaden([](Bytes& d, const bs::Lageplan& p) {
            for (uint32_t l : p.datenseiten)
                for (uint32_t s = 0; 6 + (s + 1) * Slot <= p.seitengroesse; ++s)
                    for (uint32_t b = 2; b < 2 + Satzlaenge; ++b)
                        d[p.dateiposition(l) + 6 + s * Slot + b] ^= uint8_t(0xA5 + b);
        }) << nein << 51;
    }

    void beschaedigt()
    {
        QFETCH(Schaden, schaden);
        QFETCH(bool, mitGeloeschten);
        QFETCH(int, erwartet);
        bs::Lageplan plan;
        Bytes d = testdatei(plan, mitGeloeschten);
        schaden(d, plan);
        QCOMPARE(int(durchlaufen(ablegen(d), 2)), erwartet);
    }

    // Variable parts: fragment bounds past the page and a chain that runs in a circle.
    void variablerTeil_data()
    {
        QTest::addColumn<int>("art");
        QTest::newRow("Fragment hinter der Seite") << 0;
        QTest::newRow("Fragmentkette im Kreis") << 1;
        QTest::newRow("Fragment fehlt") << 2;
    }

    void variablerTeil()
    {
        QFETCH(int, art);
        QFile f(QStringLiteral(PV_TESTDATEN "/btrieve/WGSMENU2.DAT"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray roh = f.readAll();
        Bytes d(roh.begin(), roh.end());

        auto datei = Datei::laden(std::make_shared<Speicherquelle>(d));
        const uint32_t ps = datei->kopf().seitengroesse;
        const Folge& folge = datei->folge(datei->schluessel()[0]);
        // The first record in key order that has a variable part.
        size_t zeiger = 0;
        for (size_t i = 0; i < folge.groesse() && !zeiger; ++i) {
            const uint32_t a = folge.adressen[i];
            const size_t slot = size_t(datei->physisch(a / ps, 'D')) * ps + a % ps;
            if (u32(&d[slot + 2 + datei->kopf().satzlaenge]) != Keine)
                zeiger = slot + 2 + datei->kopf().satzlaenge;
        }
        QVERIFY(zeiger);
        const FragmentRef r = fragmentRef(&d[zeiger]);
        const size_t seite = size_t(datei->physisch(r.seite, 'V')) * ps;
        const size_t eintrag = seite + ps - 2 * (r.fragment + 1u);
        if (art == 0)
            p16(d, eintrag, 0x0FF0);
        else if (art == 1)
            std::memcpy(&d[seite + (u16(&d[eintrag]) & 0x7FFF)], &d[zeiger], 4);
        else
            d[zeiger + 3] = 0xF0;
        QCOMPARE(int(durchlaufen(ablegen(d), 1)), 2);
    }
};

QTEST_GUILESS_MAIN(TestBtrieveDefekt)
#include "tst_btrievedefekt.moc"
