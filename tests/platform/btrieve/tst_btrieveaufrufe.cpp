// The engine through BTRCALLID: files of the writer read back exactly, status codes of every
// misuse, several files and clients at once, and a file written while it is open.

#include "BtrieveSchreiber.h"
#include "BtrieveTesthilfe.h"
#include "Datei.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <tuple>

using namespace btrieve;
namespace bs = btrieveschreiber;

namespace {

constexpr uint16_t Satzlaenge = 64;

// Record layout of the test files.
struct Testsatz
{
    int nr = 0;
    std::string nummer;     // lstring 11 at 0, unique
    int32_t betrag = 0;     // integer 4 at 11
    std::string name;       // zstring 20 at 15
    int16_t klein = 0;      // integer 2 at 35
    std::string kuerzel;    // string 8 at 37, blank-padded
};

std::vector<uint8_t> bauen(const Testsatz& t)
{
    std::vector<uint8_t> s(Satzlaenge, 0);
    s[0] = uint8_t(t.nummer.size());
    std::memcpy(&s[1], t.nummer.data(), t.nummer.size());
    std::memcpy(&s[11], &t.betrag, 4);
    std::memcpy(&s[15], t.name.data(), t.name.size());
    std::memcpy(&s[35], &t.klein, 2);
    std::string k = t.kuerzel;
    k.resize(8, ' ');
    std::memcpy(&s[37], k.data(), 8);
    std::memcpy(&s[45], &t.nr, 4);
    return s;
}

std::vector<Testsatz> erzeugen(int anzahl)
{
    static const char* namen[] = {"Anna", "anna", "ANNA", "Bernd", "bernd", "Carla", "Dora", "dora", "Emil", "Zeno"};
    static const char* kuerzel[] = {"ALPHA", "beta", "GAMMA", "delta", "Alpha"};
    std::vector<Testsatz> v;
    uint32_t z = 4711;
    auto zufall = [&](uint32_t n) {
        z = z * 1103515245u + 12345u;
        return (z >> 16) % n;
    };
    for (int i = 0; i < anzahl; ++i) {
        Testsatz t;
        t.nr = i;
        t.nummer = "P" + std::to_string((uint64_t(i) * 7919u) % 100000u);
        t.betrag = int32_t(zufall(2001)) - 1000;
        t.name = namen[zufall(10)];
        t.klein = int16_t(zufall(50));
        t.kuerzel = kuerzel[zufall(5)];
        v.push_back(t);
    }
    return v;
}

std::string gross(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return s;
}

btrieve::Acs grossTabelle()
{
    btrieve::Acs t;
    for (int i = 0; i < 256; ++i)
        t[size_t(i)] = uint8_t(i >= 'a' && i <= 'z' ? i - 32 : i);
    return t;
}

std::vector<bs::Schluessel> testschluessel(bool wiederholend, bool mitAcs)
{
    std::vector<bs::Schluessel> k(4);
    k[0].segmente = {{0, 11, typ::LString, 0}};
    k[1].segmente = {{11, 4, typ::Integer, 0}};
    k[1].duplikate = true;
    k[2].segmente = {{15, 20, typ::ZString, flag::OhneGross}};
    k[2].duplikate = true;
    k[2].wiederholend = wiederholend;
    k[3].segmente = {{37, 8, typ::String, flag::Absteigend}, {35, 2, typ::Integer, 0}};
    k[3].duplikate = true;
    if (mitAcs) {
        bs::Schluessel a;
        a.segmente = {{15, 20, typ::ZString, flag::Acs}};
        a.duplikate = true;
        k.push_back(a);
    }
    return k;
}

// Record numbers of the live records in the order the engine must return them, worked out here
// without the engine's comparison.
std::vector<int> erwarteteFolge(const std::vector<Testsatz>& saetze, const std::vector<bool>& geloescht, int schluessel)
{
    std::vector<int> nr;
    for (const Testsatz& t : saetze)
        if (!geloescht[size_t(t.nr)])
            nr.push_back(t.nr);
    auto sortierwert = [&](int i) {
        const Testsatz& t = saetze[size_t(i)];
        std::string absteigend = t.kuerzel;
        absteigend.resize(8, ' ');
        for (char& c : absteigend)
            c = char(255 - uint8_t(c));
        switch (schluessel) {
        case 0: return std::make_tuple(t.nummer, 0, std::string());
        case 1: return std::make_tuple(std::string(), int(t.betrag), std::string());
        case 3: return std::make_tuple(absteigend, int(t.klein), std::string());
        default: return std::make_tuple(std::string(), 0, gross(t.name));
        }
    };
    std::stable_sort(nr.begin(), nr.end(), [&](int a, int b) { return sortierwert(a) < sortierwert(b); });
    return nr;
}

int satzNummer(const BtrieveAufrufer& b)
{
    int nr;
    std::memcpy(&nr, b.daten.data() + 45, 4);
    return nr;
}

} // namespace

class TestBtrieveAufrufe : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;

    QString schreiben(const QString& name, const bs::Schreiber& s, bs::Lageplan* plan = nullptr)
    {
        const QString pfad = m_ordner.filePath(name);
        std::string fehler;
        if (!s.schreiben(QFile::encodeName(pfad).toStdString(), fehler, plan))
            qWarning() << QString::fromStdString(fehler);
        return pfad;
    }

private slots:
    void schreiberLesen_data()
    {
        QTest::addColumn<int>("seitengroesse");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("jederGeloeschte");   // 0: none
        QTest::addColumn<bool>("veraltet");
        QTest::addColumn<bool>("umgekehrt");
        QTest::addColumn<bool>("wiederholend");
        QTest::addColumn<bool>("mitAcs");
        QTest::newRow("wenige Sätze") << 4096 << 10 << 0 << false << false << false << false;
        QTest::newRow("leer") << 4096 << 0 << 0 << false << false << false << false;
        QTest::newRow("mehrstufige Bäume") << 512 << 3000 << 0 << false << false << false << false;
        QTest::newRow("gelöschte Sätze, veraltete Seiten") << 1024 << 700 << 7 << true << true << false << false;
        QTest::newRow("wiederholte Duplikate (6.1)") << 2048 << 400 << 0 << false << false << true << false;
        QTest::newRow("Sortierfolge") << 4096 << 300 << 5 << false << false << false << true;
        QTest::newRow("mehrere Seitentabellen") << 512 << 9000 << 0 << false << true << false << false;
    }

    void schreiberLesen()
    {
        QFETCH(int, seitengroesse);
        QFETCH(int, anzahl);
        QFETCH(int, jederGeloeschte);
        QFETCH(bool, veraltet);
        QFETCH(bool, umgekehrt);
        QFETCH(bool, wiederholend);
        QFETCH(bool, mitAcs);

        bs::Optionen o;
        o.seitengroesse = uint16_t(seitengroesse);
        o.version = wiederholend ? 0x0610 : 0x0600;
        o.veralteteSeiten = veraltet;
        o.physischUmgekehrt = umgekehrt;
        if (mitAcs)
            o.acs = grossTabelle();
        const auto saetze = erzeugen(anzahl);
        std::vector<bool> geloescht(saetze.size());
        bs::Schreiber s(Satzlaenge, testschluessel(wiederholend, mitAcs), o);
        int lebende = 0;
        for (const Testsatz& t : saetze) {
            geloescht[size_t(t.nr)] = jederGeloeschte && t.nr % jederGeloeschte == 3;
            s.satz(bauen(t), geloescht[size_t(t.nr)]);
            lebende += geloescht[size_t(t.nr)] ? 0 : 1;
        }
        bs::Lageplan plan;
        const QString pfad = schreiben(QStringLiteral("runde.dat"), s, &plan);
        if (anzahl > 5000)
            QVERIFY(plan.patSeiten.size() > 1);

        int16_t st = 0;
        auto d = Datei::laden(Dateiquelle::oeffnen(QFile::encodeName(pfad).toStdString(), st));
        QCOMPARE(int(d->kopf().saetze), lebende);
        QCOMPARE(int(d->kopf().versionswort), int(o.version));

        BtrieveAufrufer b;
        QCOMPARE(b.oeffnen(pfad), status::Ok);
        const int schluessel = mitAcs ? 5 : 4;
        for (int k = 0; k < schluessel; ++k) {
            const std::vector<int> erwartet = erwarteteFolge(saetze, geloescht, k);
            std::vector<int> gelesen;
            for (int16_t r = b.erster(int8_t(k)); r == status::Ok; r = b.naechster(int8_t(k))) {
                QCOMPARE(b.laenge, uint32_t(Satzlaenge));
                const int nr = satzNummer(b);
                QVERIFY(nr >= 0 && nr < anzahl);
                QVERIFY(b.satz() == bauen(saetze[size_t(nr)]));
                gelesen.push_back(nr);
                if (int(gelesen.size()) > lebende)
                    break;
            }
            QCOMPARE(gelesen, erwartet);

            // Get Equal on a sample of values: the first record of the value in key order.
            for (size_t i = 0; i < erwartet.size(); i += 37) {
                const Schluessel* sk = d->schluesselNr(k);
                const std::vector<uint8_t> satz = bauen(saetze[size_t(erwartet[i])]);
                const std::vector<uint8_t> wert = sk->wertAus(satz.data());
                QCOMPARE(b.gleich(int8_t(k), wert.data(), wert.size()), status::Ok);
                size_t erster = i;
                while (erster > 0 && sk->gleich(sk->wertAus(bauen(saetze[size_t(erwartet[erster - 1])]).data()).data(), wert.data()))
                    --erster;
                QCOMPARE(satzNummer(b), erwartet[erster]);
            }
        }
        // Values that are not there, and a deleted record's value.
        const std::vector<uint8_t> fehlt = bauen(Testsatz{0, "X-fehlt", 0, "", 0, ""});
        QCOMPARE(b.gleich(0, fehlt.data(), 11), status::SchluesselNichtGefunden);
        if (jederGeloeschte) {
            const std::vector<uint8_t> weg = bauen(saetze[3]);
            QCOMPARE(b.gleich(0, weg.data(), 11), status::SchluesselNichtGefunden);
        }
        QCOMPARE(b.schliessen(), status::Ok);
    }

    void statuscodes()
    {
        bs::Schreiber s(Satzlaenge, testschluessel(false, false));
        for (const Testsatz& t : erzeugen(20))
            s.satz(bauen(t));
        const QString pfad = schreiben(QStringLiteral("status.dat"), s);

        BtrieveAufrufer b;
        QCOMPARE(b.erster(0), status::DateiNichtOffen);
        QCOMPARE(b.schliessen(), status::DateiNichtOffen);
        QCOMPARE(b.oeffnen(m_ordner.filePath(QStringLiteral("gibtsnicht.dat"))), status::DateiNichtGefunden);
        QCOMPARE(b.oeffnen(m_ordner.filePath(QStringLiteral("kein/ordner.dat"))), status::DateiNichtGefunden);
        QCOMPARE(b.oeffnen(m_ordner.path()), status::DateiNichtGefunden);
        QCOMPARE(b.oeffnen(QString()), status::UngueltigerDateiname);
        QFile text(m_ordner.filePath(QStringLiteral("text.dat")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(5000, 'x'));
        text.close();
        QCOMPARE(b.oeffnen(text.fileName()), status::KeineBtrieveDatei);
        QFile leer(m_ordner.filePath(QStringLiteral("leer.dat")));
        QVERIFY(leer.open(QIODevice::WriteOnly));
        leer.close();
        QCOMPARE(b.oeffnen(leer.fileName()), status::KeineBtrieveDatei);
        // A file name without its terminating zero within the key buffer.
        std::memset(b.schluessel, 'a', sizeof b.schluessel);
        QCOMPARE(BTRCALLID(Oeffnen, b.positionsblock, b.daten.data(), &b.laenge, b.schluessel, 255, 0, b.client),
                 status::UngueltigerDateiname);

        QCOMPARE(b.oeffnen(pfad), status::Ok);
        for (uint16_t op : {2, 3, 4, 7, 8, 9, 13, 105, 112, 206})
            QCOMPARE(b.rufen(op, 0), status::UngueltigeOperation);
        QCOMPARE(b.naechster(0), status::UngueltigePositionierung);
        QCOMPARE(b.erster(4), status::UngueltigeSchluesselnummer);
        QCOMPARE(b.erster(-1), status::UngueltigeSchluesselnummer);
        QCOMPARE(b.erster(1), status::Ok);
        QCOMPARE(b.naechster(0), status::AndereSchluesselnummer);
        QCOMPARE(b.naechster(1), status::Ok);

        // Too small a data buffer: as much as fits, and status 22.
        QCOMPARE(b.rufen(ErsterLesen, 0, 10), status::DatenpufferZuKurz);
        QCOMPARE(b.laenge, 10u);
        QCOMPARE(b.rufen(ErsterLesen, 0, Satzlaenge), status::Ok);
        QCOMPARE(b.laenge, uint32_t(Satzlaenge));
        // Too small a key buffer for the key's 11 bytes.
        b.laenge = Satzlaenge;
        QCOMPARE(BTRCALLID(ErsterLesen, b.positionsblock, b.daten.data(), &b.laenge, b.schluessel, 10, 0, b.client),
                 status::SchluesselpufferZuKurz);

        QCOMPARE(b.schliessen(), status::Ok);
        QCOMPARE(b.erster(0), status::DateiNichtOffen);
        QCOMPARE(b.schliessen(), status::DateiNichtOffen);
        QCOMPARE(b.beenden(), status::Ok);
    }

    // Each position block has its own cursor; Stop releases only the calling client's files.
    void mehrereDateienUndClients()
    {
        bs::Schreiber s(Satzlaenge, testschluessel(false, false));
        const auto saetze = erzeugen(30);
        for (const Testsatz& t : saetze)
            s.satz(bauen(t));
        const QString pfad = schreiben(QStringLiteral("mehrere.dat"), s);
        const std::vector<int> folge0 = erwarteteFolge(saetze, std::vector<bool>(30), 0);
        const std::vector<int> folge1 = erwarteteFolge(saetze, std::vector<bool>(30), 1);

        BtrieveAufrufer a1('A'), a2('A'), b1('B');
        QCOMPARE(a1.oeffnen(pfad), status::Ok);
        QCOMPARE(a2.oeffnen(pfad), status::Ok);
        QCOMPARE(b1.oeffnen(pfad), status::Ok);
        QCOMPARE(a1.erster(0), status::Ok);
        QCOMPARE(a2.erster(1), status::Ok);
        QCOMPARE(a1.naechster(0), status::Ok);
        QCOMPARE(satzNummer(a1), folge0[1]);
        QCOMPARE(a2.naechster(1), status::Ok);
        QCOMPARE(satzNummer(a2), folge1[1]);
        QCOMPARE(b1.erster(0), status::Ok);

        QCOMPARE(a1.beenden(), status::Ok);
        QCOMPARE(a1.naechster(0), status::DateiNichtOffen);
        QCOMPARE(a2.naechster(1), status::DateiNichtOffen);
        QCOMPARE(b1.naechster(0), status::Ok);
        QCOMPARE(satzNummer(b1), folge0[1]);
        QCOMPARE(b1.schliessen(), status::Ok);
    }

    // Another program rewrites the file while it is open: the walk goes on in the new state.
    void dateiWirdGeschrieben()
    {
        auto datei = [&](const std::vector<std::string>& nummern, uint32_t zaehler) {
            bs::Optionen o;
            o.zaehler = zaehler;
            bs::Schreiber s(Satzlaenge, testschluessel(false, false), o);
            int nr = 0;
            for (const std::string& n : nummern)
                s.satz(bauen(Testsatz{nr++, n, 0, "x", 0, "k"}));
            return s;
        };
        const QString pfad = schreiben(QStringLiteral("wechsel.dat"), datei({"A", "C", "E"}, 2));
        BtrieveAufrufer b;
        QCOMPARE(b.oeffnen(pfad), status::Ok);
        QCOMPARE(b.erster(0), status::Ok);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.daten.data()) + 1, b.daten[0]), QByteArray("A"));

        schreiben(QStringLiteral("wechsel.dat"), datei({"D", "A", "B", "E", "C"}, 3));
        QStringList folge;
        int16_t r = 0;
        for (r = b.naechster(0); r == status::Ok; r = b.naechster(0))
            folge << QString::fromLatin1(reinterpret_cast<const char*>(b.daten.data()) + 1, b.daten[0]);
        QCOMPARE(r, status::Dateiende);
        QCOMPARE(folge, QStringList({"B", "C", "D", "E"}));
        QCOMPARE(b.schliessen(), status::Ok);
    }
};

QTEST_GUILESS_MAIN(TestBtrieveAufrufe)
#include "tst_btrieveaufrufe.moc"
