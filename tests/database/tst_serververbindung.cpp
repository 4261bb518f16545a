#include "AnweisungsZaehler.h"
#include "FehlerText.h"
#include "PostgresVerbindung.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QTest>
#include <memory>

// What only a database server does: it may be unreachable, other PCs hold rows locked, the
// network or the server may drop the connection, and a wall screen must cost it nothing while
// nobody writes.
class TstSerververbindung : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatenbank> m_t;
    std::unique_ptr<TKADaoDatabase> m_db;

    std::unique_ptr<TKADaoTable> personal()
    {
        auto t = std::make_unique<TKADaoTable>();
        t->setObjectName(QStringLiteral("TabPersonal"));
        t->setDatabase(m_db.get());
        t->setTableName(QStringLiteral("Personal"));
        t->Open();
        return t;
    }

    void nameEingeben(TKADaoTable& t, const QString& name)
    {
        t.Edit();
        t.FieldByName(QStringLiteral("Name"))->setAsString(name);
    }

private slots:
    void init()
    {
        m_t = std::make_unique<TestDatenbank>(true);
        m_t->grunddaten();
        m_db = std::make_unique<TKADaoDatabase>();
        m_db->setDatabaseName(m_t->pfad);
        m_db->Open();
    }

    void cleanup()
    {
        m_db.reset();
        m_t.reset();
    }

    void verbindungsfehler_data()
    {
        QTest::addColumn<QString>("aendern");   // what of the test server's address is changed
        QTest::addColumn<QString>("meldung");
        QTest::newRow("Server läuft nicht") << "port" << "Der Datenbankserver (%1) ist nicht erreichbar.";
        QTest::newRow("Datenbank fehlt") << "name" << "Die Datenbank 'gibtsnicht' gibt es auf dem Datenbankserver";
        QTest::newRow("leere Datenbank") << "leer" << "Die Datenbank %1 enthält keine Projektdatenbank.";
        QTest::newRow("unvollständige Adresse") << "ohneName" << "Die Adresse des Datenbankservers";
    }
    void verbindungsfehler()
    {
        QFETCH(QString, aendern);
        QFETCH(QString, meldung);
        Serveradresse adresse = *Serveradresse::lesen(m_t->pfad);
        QString text;
        if (aendern == QLatin1String("port")) {
            adresse.port = 1;
            text = adresse.text();
        } else if (aendern == QLatin1String("name")) {
            adresse.name = QStringLiteral("gibtsnicht");
            text = adresse.text();
        } else if (aendern == QLatin1String("leer")) {
            adresse.name = QStringLiteral("postgres");
            text = adresse.text();
        } else {
            text = QStringLiteral("postgresql://pvtest@localhost:5432/");
        }
        TKADaoDatabase db;
        db.setDatabaseName(text);
        const QString fehler = fehlerText([&] { db.Open(); });
        QVERIFY2(fehler.startsWith(meldung.arg(adresse.anzeige())), qPrintable(fehler));
        QVERIFY(!db.Connected());
    }

    // Another PC holds the row locked (its transaction is still open): the post waits as long
    // as the busy wait allows, then says so and keeps the input; once the lock is gone the
    // same post goes through.
    void gesperrteZeileWirdAbgewartet()
    {
        m_db->setBusyTimeout(300);
        auto t = personal();
        nameEingeben(*t, QStringLiteral("Anna Eingabe"));
        m_t->fremd(QStringLiteral("BEGIN; SELECT * FROM Personal WHERE ID = 1 FOR UPDATE"));
        QCOMPARE(fehlerText([&] { t->Post(); }), gesperrtText(true));
        QCOMPARE(t->State(), TDataSetState::dsEdit);
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Eingabe"));
        m_t->fremd(QStringLiteral("ROLLBACK"));
        t->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("Anna Eingabe"));
    }

    // The server ends the connection (restart, network): the next statement says so, the
    // input stays, and the one after connects anew and stores it.
    void verloreneVerbindungWirdNeuAufgebaut()
    {
        auto t = personal();
        nameEingeben(*t, QStringLiteral("Anna Eingabe"));
        m_t->wert(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                 "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
        const QString fehler = fehlerText([&] { t->Post(); });
        QVERIFY2(fehler.startsWith(QStringLiteral("Die Verbindung zum Datenbankserver")), qPrintable(fehler));
        QCOMPARE(t->State(), TDataSetState::dsEdit);
        QCOMPARE(t->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Eingabe"));
        t->Post();
        QCOMPARE(m_t->wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("Anna Eingabe"));
        QVERIFY(m_db->Connected());
    }

    // A dataset read again and again keeps its statement prepared on the server; a new
    // connection prepares it anew.
    void vorbereiteteAbfrageNachNeuerVerbindung()
    {
        auto t = personal();
        t->Requery();
        t->Requery();
        m_t->fremd(QStringLiteral("INSERT INTO Personal (Name) VALUES ('Clara')"));
        t->Requery();
        QCOMPARE(t->RecordCount(), 3);
        m_t->wert(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                 "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
        QVERIFY(fehlerText([&] { t->Requery(); }).startsWith(QStringLiteral("Die Verbindung zum Datenbankserver")));
        m_t->fremd(QStringLiteral("DELETE FROM Personal WHERE Name = 'Clara'"));
        t->Requery();
        QCOMPARE(t->RecordCount(), 2);
        t->Requery();
        QCOMPARE(t->RecordCount(), 2);
    }

    // A wall screen asks whether anything was written with one small statement; any table
    // written by another PC, or by this one, changes the answer.
    void aenderungsstand()
    {
        const TAenderungsstand vorher = m_db->Aenderungsstand();
        {
            AnweisungsZaehler zaehler(m_db.get());
            QCOMPARE(m_db->Aenderungsstand(), vorher);
            QCOMPARE(zaehler.anzahl(), 1);
        }
        for (const char* aenderung : {"UPDATE Personal SET Name = 'X' WHERE ID = 2", "DELETE FROM Aufgaben WHERE ID = 2",
                                      "INSERT INTO Projekt (Kommnr) VALUES ('P9')"}) {
            const TAenderungsstand stand = m_db->Aenderungsstand();
            m_t->fremd(QString::fromLatin1(aenderung));
            QVERIFY2(!(m_db->Aenderungsstand() == stand), aenderung);
        }
        const TAenderungsstand stand = m_db->Aenderungsstand();
        m_db->Execute(QStringLiteral("UPDATE Status SET Stat_Bemerkung = 'x' WHERE ID = 1"));
        QVERIFY(!(m_db->Aenderungsstand() == stand));
        // A transaction not yet stored is not seen by anyone else.
        m_t->fremd(QStringLiteral("BEGIN; UPDATE Projekt SET Ort = 'Y' WHERE ID = 1"));
        const TAenderungsstand offen = m_db->Aenderungsstand();
        QCOMPARE(m_db->Aenderungsstand(), offen);
        m_t->fremd(QStringLiteral("COMMIT"));
        QVERIFY(!(m_db->Aenderungsstand() == offen));
    }
};

QTEST_GUILESS_MAIN(TstSerververbindung)
#include "tst_serververbindung.moc"
