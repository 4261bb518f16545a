#include "SqliteAnweisung.h"
#include "ZeilenSchreiber.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sqlite3.h>

using Zeilenanweisung = ZeilenAnweisungen::Anweisung;
using Bauen = std::function<Zeilenanweisung(const ZeilenSchreiber&)>;
Q_DECLARE_METATYPE(Bauen)

namespace {

// Columns of a dataset: ID (the key), Kommnr, Ort, and an expression that is not written.
const QStringList Spalten{QStringLiteral("ID"), QStringLiteral("Kommnr"), QStringLiteral("Ort"), QString()};
const std::vector<QVariant> Gelesen{7, QStringLiteral("P1"), QVariant(), 3};

std::vector<QVariant> mit(std::vector<QVariant> zeile, size_t spalte, const QVariant& wert)
{
    zeile[spalte] = wert;
    return zeile;
}

} // namespace

// Which statement a row change becomes, and the optimistic check at work on a real file shared
// by two connections.
class TstZeilenSchreiber : public QObject
{
    Q_OBJECT

    sqlite3* m_db = nullptr;
    sqlite3* m_fremd = nullptr;
    QTemporaryDir m_ordner;
    QString m_datei;

    static void sql(sqlite3* db, const char* text) { QCOMPARE(sqlite3_exec(db, text, nullptr, nullptr, nullptr), SQLITE_OK); }
    ZeilenSchreiber schreiber() const { return ZeilenSchreiber(m_db, m_datei, QStringLiteral("Projekt"), Spalten.mid(0, 3), 0); }
    std::vector<QVariant> zeile(qlonglong id) const { return schreiber().nachlesen(id).value_or(std::vector<QVariant>{}); }

private slots:
    void anweisungen_data()
    {
        QTest::addColumn<Bauen>("bauen");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("parameter");
        const std::vector<bool> keinePruefung(4, false);
        QTest::newRow("einfügen: nur Spalten mit Wert")
            << Bauen([](const ZeilenSchreiber& s) { return s.einfuegung({QVariant(), QStringLiteral("P2"), QVariant(), 5}); })
            << "INSERT INTO [Projekt] ([Kommnr]) VALUES (?)" << QVariantList{"P2"};
        QTest::newRow("ändern: nur die geänderte Spalte, geprüft gegen den gelesenen Wert")
            << Bauen([=](const ZeilenSchreiber& s) {
                   return s.aenderung(mit(Gelesen, 2, QStringLiteral("Kiel")), Gelesen, keinePruefung).anweisung;
               })
            << "UPDATE [Projekt] SET [Ort] = ? WHERE [ID] = ? AND [Ort] IS ? COLLATE BINARY"
            << QVariantList{"Kiel", 7, QVariant()};
        QTest::newRow("ändern: InWhere-Spalte immer geprüft")
            << Bauen([=](const ZeilenSchreiber& s) {
                   return s.aenderung(mit(Gelesen, 2, QStringLiteral("Kiel")), Gelesen, {false, true, false, false})
                       .anweisung;
               })
            << "UPDATE [Projekt] SET [Ort] = ? WHERE [ID] = ? AND [Kommnr] IS ? COLLATE BINARY AND [Ort] IS ? COLLATE BINARY"
            << QVariantList{"Kiel", 7, "P1", QVariant()};
        QTest::newRow("ändern: Ausdruck wird nicht geschrieben")
            << Bauen([=](const ZeilenSchreiber& s) { return s.aenderung(mit(Gelesen, 3, 4), Gelesen, keinePruefung).anweisung; })
            << "" << QVariantList{};
        QTest::newRow("ändern: Zahl statt Text ist eine Änderung")
            << Bauen([=](const ZeilenSchreiber& s) { return s.aenderung(mit(Gelesen, 1, 1), mit(Gelesen, 1, "1"), keinePruefung).anweisung; })
            << "UPDATE [Projekt] SET [Kommnr] = ? WHERE [ID] = ? AND [Kommnr] IS ? COLLATE BINARY"
            << QVariantList{1, 7, "1"};
        QTest::newRow("löschen: jede geschriebene Spalte geprüft")
            << Bauen([=](const ZeilenSchreiber& s) { return s.loeschung(Gelesen); })
            << "DELETE FROM [Projekt] WHERE [ID] = ? AND [Kommnr] IS ? COLLATE BINARY AND [Ort] IS ? COLLATE BINARY"
            << QVariantList{7, "P1", QVariant()};
    }

    void anweisungen()
    {
        QFETCH(Bauen, bauen);
        QFETCH(QString, sql);
        QFETCH(QVariantList, parameter);
        const Zeilenanweisung a = bauen(ZeilenSchreiber(nullptr, QString(), QStringLiteral("Projekt"), Spalten, 0));
        QCOMPARE(a.sql, sql);
        QCOMPARE(a.parameter, parameter);
    }

    void verglicheneSpalten()
    {
        const ZeilenSchreiber s(nullptr, QString(), QStringLiteral("Projekt"), Spalten, 0);
        QCOMPARE(s.aenderung(mit(Gelesen, 2, QStringLiteral("Kiel")), Gelesen, {true, true, false, true}).verglichen,
                 (QList<int>{1, 2}));
        QCOMPARE(s.nachleseText(), QStringLiteral("SELECT [ID], [Kommnr], [Ort], [] FROM [Projekt] WHERE [ID] = ?"));
    }

    void init()
    {
        m_datei = m_ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        QCOMPARE(sqlite3_open(QFile::encodeName(m_datei).constData(), &m_db), SQLITE_OK);
        QCOMPARE(sqlite3_open(QFile::encodeName(m_datei).constData(), &m_fremd), SQLITE_OK);
        sql(m_db, "CREATE TABLE Projekt (ID INTEGER PRIMARY KEY AUTOINCREMENT, Kommnr TEXT, Ort TEXT)");
    }

    void cleanup()
    {
        sqlite3_close(m_db);
        sqlite3_close(m_fremd);
        QFile::remove(m_datei);
    }

    // Written while the compared columns hold what was read; refused once another connection
    // changed one of them; a column nobody here changed does not stand in the way.
    void pruefungAmWerk()
    {
        const ZeilenSchreiber s = schreiber();
        QCOMPARE(s.ausfuehren(s.einfuegung({QVariant(), QStringLiteral("P1"), QStringLiteral("Kiel")})), 1);
        const QVariant id = s.neuerSchluessel();
        QCOMPARE(id, QVariant(qlonglong(1)));
        const std::vector<QVariant> gelesen = zeile(1);
        QCOMPARE(gelesen, (std::vector<QVariant>{qlonglong(1), QStringLiteral("P1"), QStringLiteral("Kiel")}));

        sql(m_fremd, "UPDATE Projekt SET Kommnr = 'P9' WHERE ID = 1");
        const std::vector<bool> keine(3, false);
        QCOMPARE(s.ausfuehren(s.aenderung(mit(gelesen, 2, QStringLiteral("Ulm")), gelesen, keine).anweisung), 1);
        QCOMPARE(zeile(1), (std::vector<QVariant>{qlonglong(1), QStringLiteral("P9"), QStringLiteral("Ulm")}));

        QCOMPARE(s.ausfuehren(s.aenderung(mit(gelesen, 1, QStringLiteral("P2")), gelesen, keine).anweisung), 0);
        QCOMPARE(s.ausfuehren(s.loeschung(gelesen)), 0);
        QCOMPARE(s.ausfuehren(s.loeschung(zeile(1))), 1);
        QVERIFY(!s.nachlesen(1));
    }

    void loeschenNachSchluessel()
    {
        sql(m_db, "INSERT INTO Projekt (Kommnr) VALUES ('a'), ('b'), ('c')");
        schreiber().loeschenNachSchluessel({1, 3, 4});
        QVERIFY(!schreiber().nachlesen(1));
        QVERIFY(schreiber().nachlesen(2));
        QVERIFY(!schreiber().nachlesen(3));
    }
};

QTEST_GUILESS_MAIN(TstZeilenSchreiber)
#include "tst_zeilenschreiber.moc"
