#include "SqliteAnweisung.h"
#include "Spaltenkatalog.h"

#include <QTest>
#include <sqlite3.h>

Q_DECLARE_METATYPE(TFieldType)

// What the catalogue makes of a statement's columns, on a small database in memory: names,
// kinds, origin, and whether the rows go back to one table.
class TstSpaltenkatalog : public QObject
{
    Q_OBJECT

    sqlite3* m_db = nullptr;

    void ausfuehren(const char* sql) { QCOMPARE(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

private slots:
    void initTestCase()
    {
        QCOMPARE(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        ausfuehren("CREATE TABLE Projekt (ID INTEGER PRIMARY KEY AUTOINCREMENT, Kommnr VARCHAR(10) COLLATE NOCASE,"
                   " Termin DATETIME, PV_Sichtbar BOOLEAN)");
        ausfuehren("CREATE TABLE Aufgabe (ID INTEGER PRIMARY KEY, Projekt_ID INT, Bezeichnung VARCHAR(150))");
        ausfuehren("CREATE TABLE Ohne (Nr INT PRIMARY KEY, Text TEXT)");
    }

    void cleanupTestCase() { sqlite3_close(m_db); }

    void katalog_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QList<TFieldType>>("typen");
        QTest::addColumn<QString>("basis");
        QTest::addColumn<int>("schluessel");
        using T = TFieldType;
        QTest::newRow("ganze Tabelle")
            << "SELECT * FROM Projekt" << QStringList{"ID", "Kommnr", "Termin", "PV_Sichtbar"}
            << QList<T>{T::ftAutoInc, T::ftString, T::ftDateTime, T::ftBoolean} << "Projekt" << 0;
        QTest::newRow("Schlüssel nicht vorn")
            << "SELECT Kommnr, ID FROM Projekt" << QStringList{"Kommnr", "ID"} << QList<T>{T::ftString, T::ftAutoInc}
            << "Projekt" << 1;
        QTest::newRow("ohne Schlüssel nicht schreibbar")
            << "SELECT Kommnr FROM Projekt" << QStringList{"Kommnr"} << QList<T>{T::ftString} << "" << -1;
        QTest::newRow("Schlüssel, der nicht die Zeilennummer ist")
            << "SELECT * FROM Ohne" << QStringList{"Nr", "Text"} << QList<T>{T::ftInteger, T::ftMemo} << "" << -1;
        QTest::newRow("Ausdruck mit Typ der gespeicherten Abfrage")
            << "SELECT ID, 3 AS AnzahlAufgaben FROM Projekt" << QStringList{"ID", "AnzahlAufgaben"}
            << QList<T>{T::ftAutoInc, T::ftInteger} << "" << -1;
        QTest::newRow("unbekannter Ausdruck") << "SELECT 1 + 1 AS Zwei" << QStringList{"Zwei"}
                                              << QList<T>{T::ftUnknown} << "" << -1;
        QTest::newRow("Verknüpfung: gleiche Namen mit Alias")
            << "SELECT p.ID, a.ID, a.Bezeichnung FROM Projekt p JOIN Aufgabe a ON a.Projekt_ID = p.ID"
            << QStringList{"p.ID", "a.ID", "Bezeichnung"} << QList<T>{T::ftAutoInc, T::ftAutoInc, T::ftString} << ""
            << -1;
        QTest::newRow("Verknüpfung ohne Alias")
            << "SELECT Projekt.ID, Aufgabe.ID FROM Projekt JOIN Aufgabe ON Aufgabe.Projekt_ID = Projekt.ID"
            << QStringList{"Projekt.ID", "Aufgabe.ID"} << QList<T>{T::ftAutoInc, T::ftAutoInc} << "" << -1;
    }

    void katalog()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, namen);
        QFETCH(QList<TFieldType>, typen);
        QFETCH(QString, basis);
        QFETCH(int, schluessel);
        const SqliteAnweisung anweisung(m_db, QStringLiteral(":memory:"), sql);
        const Spaltenkatalog katalog = Spaltenkatalog::lesen(m_db, anweisung.handle(), sql);
        QStringList gelesen;
        QList<TFieldType> gelesenTypen;
        for (const auto& s : katalog.spalten()) {
            gelesen << s.name;
            gelesenTypen << s.typ;
        }
        QCOMPARE(gelesen, namen);
        QCOMPARE(gelesenTypen, typen);
        QCOMPARE(katalog.basisTabelle(), basis);
        QCOMPARE(katalog.schluesselSpalte(), schluessel);
    }

    // Width only for Text columns; the origin names the table column behind an alias.
    void breiteUndHerkunft()
    {
        const QString sql = QStringLiteral("SELECT Kommnr AS Nummer, Termin FROM Projekt");
        const SqliteAnweisung anweisung(m_db, QStringLiteral(":memory:"), sql);
        const auto spalten = Spaltenkatalog::lesen(m_db, anweisung.handle(), sql).spalten();
        QCOMPARE(spalten[0].name, QStringLiteral("Nummer"));
        QCOMPARE(spalten[0].herkunft, QStringLiteral("Kommnr"));
        QCOMPARE(spalten[0].tabelle, QStringLiteral("Projekt"));
        QCOMPARE(spalten[0].breite, 10);
        QCOMPARE(spalten[1].breite, 0);
    }
};

QTEST_GUILESS_MAIN(TstSpaltenkatalog)
#include "tst_spaltenkatalog.moc"
