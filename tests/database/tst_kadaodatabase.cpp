#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "OhneSchreibrecht.h"
#include "TestDatenbank.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <future>
#include <thread>

namespace {

QByteArray jetKopf(const char* motor)
{
    QByteArray kopf("\x00\x01\x00\x00", 4);
    kopf += motor;
    kopf += QByteArray(2048 - kopf.size(), '\0');
    return kopf;
}

QByteArray dateiInhalt(const QString& pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

void schreiben(const QString& pfad, const QByteArray& inhalt, qint64 stelle = 0)
{
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadWrite));
    QVERIFY(datei.seek(stelle));
    QCOMPARE(datei.write(inhalt), inhalt.size());
}

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

} // namespace

class TstKADaoDatabase : public QObject
{
    Q_OBJECT

private slots:
    void dateiWirdAbgewiesen_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("protokoll");   // the engine's own words, in the log only
        QTest::newRow("fehlt") << "fehlt" << QByteArray() << "Die Datenbank '%1' wurde nicht gefunden." << QString();
        const QString alt = QStringLiteral("Die Datei '%1' ist eine Access-Datenbank des alten Windows-Programms. Sie muss "
                                           "zuerst in das neue Datenbankformat umgewandelt werden, bevor die "
                                           "Projektverwaltung sie öffnen kann.");
        QTest::newRow("Jet-Datei") << "datei" << jetKopf("Standard Jet DB") << alt << QString();
        QTest::newRow("ACE-Datei") << "datei" << jetKopf("Standard ACE DB") << alt << QString();
        QTest::newRow("Textdatei") << "datei" << QByteArray("Kommnr;Bezeichn\n4711;Huber\n").repeated(200)
                                   << "Die Datei '%1' ist beschädigt oder keine Projektdatenbank."
                                   << "file is not a database";
        QTest::newRow("leere Datei") << "datei" << QByteArray()
                                     << "Die Datei '%1' enthält keine Projektdatenbank (sie hat keine Tabellen)."
                                     << QString();
        QTest::newRow("Ordner") << "ordner" << QByteArray() << "'%1' ist ein Ordner und keine Datenbankdatei."
                                << QString();
    }

    // Opening names the full path, tells an old Access file from a damaged one, and changes or
    // creates nothing. The message is German through and through; what the engine says in
    // English goes to the log.
    void dateiWirdAbgewiesen()
    {
        QFETCH(QString, art);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, meldung);
        QFETCH(QString, protokoll);
        if (!protokoll.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(protokoll)));
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("PROJEKT.MDB"));
        if (art == QLatin1String("datei"))
            schreiben(pfad, inhalt);
        else if (art == QLatin1String("ordner"))
            QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("PROJEKT.MDB")));

        // Given relative to the working directory, as a setting may hold it.
        const QString vorher = QDir::currentPath();
        QDir::setCurrent(ordner.path());
        TKADaoDatabase db;
        db.setDatabaseName(QStringLiteral("PROJEKT.MDB"));
        const QString text = fehlerText([&] { db.Open(); });
        QDir::setCurrent(vorher);

        QCOMPARE(text, meldung.arg(QDir::toNativeSeparators(pfad)));
        QVERIFY(!db.Connected());
        if (art == QLatin1String("fehlt"))
            QVERIFY(!QFileInfo::exists(pfad));
        if (art == QLatin1String("datei"))
            QCOMPARE(dateiInhalt(pfad), inhalt);
    }

    // A file whose pages are destroyed after its first page opens, but reading gives a clear
    // message instead of a crash.
    void beschaedigteSeiten()
    {
        TestDatenbank t;
        t.grunddaten();
        schreiben(t.pfad, QByteArray(8192, '\xA5'), 4096);
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        QString text = fehlerText([&] { db.Open(); });
        if (text.isEmpty()) {
            TKADaoTable projekt;
            projekt.setDatabase(&db);
            projekt.setTableName(QStringLiteral("Projekt"));
            text = fehlerText([&] { projekt.Open(); });
        }
        QCOMPARE(text, QStringLiteral("Die Datenbank '%1' ist beschädigt; bitte die Sicherung zurückspielen.")
                           .arg(QDir::toNativeSeparators(t.pfad)));
    }

    // Damage that opening does not see: the check after opening finds it and says so once; the
    // file can still be read, but no change is written to it any more.
    void beschaedigteDateiWirdNichtBeschrieben()
    {
        TestDatenbank t;
        t.grunddaten();
        {
            TKADaoDatabase heil;
            heil.setDatabaseName(t.pfad);
            QSignalSpy meldung(&heil, &TKADaoDatabase::Beschaedigt);
            heil.Open();
            QVERIFY(heil.IntegritaetAbwarten());
            QCoreApplication::processEvents();
            QCOMPARE(meldung.count(), 0);
        }
        t.letzteSeiteBeschaedigen();
        const QByteArray vorher = dateiInhalt(t.pfad);

        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        QSignalSpy meldung(&db, &TKADaoDatabase::Beschaedigt);
        // The engine's finding goes to the log.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^SQLite: .*Fragmentation"),
                                                                  QRegularExpression::DotMatchesEverythingOption));
        db.Open();
        const QString beschaedigt =
            QStringLiteral("Die Datenbank '%1' ist beschädigt; bitte die Sicherung zurückspielen.").arg(nativ(t.pfad));
        QTRY_COMPARE(meldung.count(), 1);
        QCOMPARE(meldung.at(0).at(0).toString(), beschaedigt);
        QVERIFY(!db.IntegritaetAbwarten());

        TKADaoTable personal;
        personal.setDatabase(&db);
        personal.setTableName(QStringLiteral("Personal"));
        personal.Open();
        QCOMPARE(personal.RecordCount(), 2);
        QCOMPARE(fehlerText([&] { personal.Edit(); }), beschaedigt);
        QCOMPARE(fehlerText([&] { personal.Append(); }), beschaedigt);
        QCOMPARE(fehlerText([&] { personal.Delete(); }), beschaedigt);
        TKADaoTable aktion;
        aktion.setDatabase(&db);
        aktion.setSQL(QStringLiteral("UPDATE Personal SET Name = 'x'"));
        QCOMPARE(fehlerText([&] { aktion.ExecuteSQL(); }), beschaedigt);
        db.Close();
        QCoreApplication::processEvents();
        QCOMPARE(meldung.count(), 1);
        QCOMPARE(dateiInhalt(t.pfad), vorher);
    }

    void nichtSchreibbarOeffnetNurLesend_data()
    {
        QTest::addColumn<bool>("ordnerGesperrt");
        QTest::newRow("Datei schreibgeschützt") << false;
        QTest::newRow("Ordner schreibgeschützt") << true;
    }

    // A wall-screen computer may only read the shared database: it opens read-only, shows its
    // rows, and every change is refused with the reason before anything is tried.
    void nichtSchreibbarOeffnetNurLesend()
    {
        QFETCH(bool, ordnerGesperrt);
        TestDatenbank t;
        t.grunddaten();
        const QByteArray vorher = dateiInhalt(t.pfad);
        if (ordnerGesperrt) {
            OhneSchreibrecht::offen(t.pfad);
            OhneSchreibrecht::nurLesbar(t.ordner(), true);
        } else {
            OhneSchreibrecht::offen(t.ordner());
            OhneSchreibrecht::nurLesbar(t.pfad, false);
        }
        {
            OhneSchreibrecht benutzer;
            TKADaoDatabase db;
            db.setDatabaseName(t.pfad);
            db.Open();
            QVERIFY(db.NurLesen());
            TKADaoTable personal;
            personal.setDatabase(&db);
            personal.setTableName(QStringLiteral("Personal"));
            personal.Open();
            QCOMPARE(personal.RecordCount(), 2);
            const QString nurLesen = QStringLiteral("Die Datenbank '%1' ist nur zum Lesen geöffnet (kein Schreibrecht "
                                                    "auf die Datei oder ihren Ordner); Änderungen können nicht "
                                                    "gespeichert werden.")
                                         .arg(nativ(t.pfad));
            QCOMPARE(fehlerText([&] { personal.Edit(); }), nurLesen);
            QCOMPARE(personal.State(), TDataSetState::dsBrowse);
            QCOMPARE(fehlerText([&] { personal.Append(); }), nurLesen);
            QCOMPARE(fehlerText([&] { personal.Delete(); }), nurLesen);
            QCOMPARE(personal.RecordCount(), 2);
            db.Close();
            QVERIFY(!db.NurLesen());
        }
        OhneSchreibrecht::offen(t.ordner());
        OhneSchreibrecht::offen(t.pfad);
        QCOMPARE(dateiInhalt(t.pfad), vorher);
        // With the right to write it opens writable again.
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.Open();
        QVERIFY(!db.NurLesen());
    }

    void englischeTexteNurImProtokoll_data()
    {
        QTest::addColumn<QString>("tabelle");    // made beforehand by the other connection
        QTest::addColumn<QString>("anweisung");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("protokoll");
        QTest::newRow("doppelter Wert") << "CREATE TABLE T (ID INTEGER PRIMARY KEY, Nr TEXT UNIQUE); "
                                           "INSERT INTO T (Nr) VALUES ('1')"
                                        << "INSERT INTO T (Nr) VALUES ('1')"
                                        << "Den Wert von 'Nr' gibt es schon; die Änderung wurde nicht gespeichert."
                                        << "UNIQUE constraint failed: T.Nr";
        QTest::newRow("leeres Pflichtfeld") << "CREATE TABLE T (ID INTEGER PRIMARY KEY, Nr TEXT NOT NULL)"
                                            << "INSERT INTO T (Nr) VALUES (NULL)"
                                            << "'Nr' darf nicht leer sein; die Änderung wurde nicht gespeichert."
                                            << "NOT NULL constraint failed: T.Nr";
        QTest::newRow("falsche Anweisung") << QString() << "UPDATE Personal SETZE Name = 1"
                                           << "Die SQL-Anweisung ist fehlerhaft und wurde nicht ausgeführt:\n"
                                              "UPDATE Personal SETZE Name = 1"
                                           << "syntax error";
    }

    // What the engine says in English goes to the log; the user reads German.
    void englischeTexteNurImProtokoll()
    {
        QFETCH(QString, tabelle);
        QFETCH(QString, anweisung);
        QFETCH(QString, meldung);
        QFETCH(QString, protokoll);
        TestDatenbank t;
        if (!tabelle.isEmpty())
            t.fremd(tabelle);
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.Open();
        TKADaoTable aktion;
        aktion.setDatabase(&db);
        aktion.setSQL(anweisung);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(protokoll)));
        QCOMPARE(fehlerText([&] { aktion.ExecuteSQL(); }), meldung);
    }

    void oeffnenUndSchliessen()
    {
        TestDatenbank t;
        t.grunddaten();
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.Close();  // closed: nothing
        db.setConnected(true);
        QVERIFY(db.Connected());
        db.Open();  // open: nothing
        TKADaoTable projekt;
        projekt.setDatabase(&db);
        projekt.setTableName(QStringLiteral("Projekt"));
        projekt.Open();
        QCOMPARE(db.DataSets(), QList<TKADaoTable*>({&projekt}));
        // Closing the connection closes its datasets.
        db.Close();
        QVERIFY(!projekt.Active());
        QVERIFY(!db.Connected());
        db.Open();
        projekt.Open();
        QCOMPARE(projekt.RecordCount(), 3);
    }

    // A lock that another instance keeps: the user reads that another user holds the
    // database, and nothing typed is lost; once the lock is gone the same Post succeeds. Only
    // the Post, which keeps the input, says so; reading promises nothing.
    void sperreEinesAnderenBenutzers()
    {
        TestDatenbank t;
        t.grunddaten();
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.setBusyTimeout(100);
        db.Open();
        TKADaoTable personal;
        personal.setDatabase(&db);
        personal.setTableName(QStringLiteral("Personal"));
        personal.Open();
        personal.Edit();
        personal.FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Anna Eingabe"));

        t.fremd(QStringLiteral("BEGIN EXCLUSIVE"));
        const QString gesperrt = QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer verwendet und ist "
                                                "gesperrt. Bitte versuchen Sie es in einem Augenblick noch einmal; "
                                                "Ihre Eingaben bleiben erhalten.");
        QCOMPARE(fehlerText([&] { personal.Post(); }), gesperrt);
        QCOMPARE(personal.State(), TDataSetState::dsEdit);
        QCOMPARE(personal.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Anna Eingabe"));
        TKADaoTable projekt;
        projekt.setDatabase(&db);
        projekt.setTableName(QStringLiteral("Projekt"));
        QCOMPARE(fehlerText([&] { projekt.Open(); }),
                 QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer verwendet und ist gesperrt. Bitte "
                                "versuchen Sie es in einem Augenblick noch einmal."));
        QVERIFY(!projekt.Active());

        t.fremd(QStringLiteral("ROLLBACK"));
        personal.Post();
        QCOMPARE(t.wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("Anna Eingabe"));
        projekt.Open();
        QCOMPARE(projekt.RecordCount(), 3);
    }

    // A short lock of another instance is waited for instead of failing.
    void kurzeSperreWirdAbgewartet()
    {
        TestDatenbank t;
        t.grunddaten();
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.setBusyTimeout(5000);
        db.Open();
        TKADaoTable personal;
        personal.setDatabase(&db);
        personal.setTableName(QStringLiteral("Personal"));
        personal.Open();
        personal.Edit();
        personal.FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("gewartet"));

        std::promise<void> gesperrt;
        std::thread andererBenutzer([&] {
            sqlite3* anderer = nullptr;
            sqlite3_open_v2(QFile::encodeName(t.pfad).constData(), &anderer, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_exec(anderer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            gesperrt.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sqlite3_exec(anderer, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(anderer);
        });
        gesperrt.get_future().wait();
        QElapsedTimer uhr;
        uhr.start();
        const QString text = fehlerText([&] { personal.Post(); });
        const qint64 gewartet = uhr.elapsed();
        andererBenutzer.join();
        QCOMPARE(text, QString());
        QVERIFY2(gewartet >= 150, qPrintable(QString::number(gewartet)));
        QCOMPARE(t.wert(QStringLiteral("SELECT Name FROM Personal WHERE ID = 1")).toString(), QStringLiteral("gewartet"));
    }
};

QTEST_GUILESS_MAIN(TstKADaoDatabase)
#include "tst_kadaodatabase.moc"
