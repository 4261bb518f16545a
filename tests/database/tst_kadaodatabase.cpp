#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "TestDatenbank.h"

#include <QDir>
#include <QElapsedTimer>
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
        QTest::newRow("fehlt") << "fehlt" << QByteArray() << "Die Datenbank '%1' wurde nicht gefunden.";
        const QString alt = QStringLiteral("Die Datei '%1' ist eine Access-Datenbank des alten Windows-Programms. Sie muss "
                                           "zuerst in das neue Datenbankformat umgewandelt werden, bevor die "
                                           "Projektverwaltung sie öffnen kann.");
        QTest::newRow("Jet-Datei") << "datei" << jetKopf("Standard Jet DB") << alt;
        QTest::newRow("ACE-Datei") << "datei" << jetKopf("Standard ACE DB") << alt;
        QTest::newRow("Textdatei") << "datei" << QByteArray("Kommnr;Bezeichn\n4711;Huber\n").repeated(200)
                                   << "Die Datei '%1' ist beschädigt oder keine Projektdatenbank.";
        QTest::newRow("leere Datei") << "datei" << QByteArray()
                                     << "Die Datei '%1' enthält keine Projektdatenbank (sie hat keine Tabellen).";
        QTest::newRow("Ordner") << "ordner" << QByteArray() << "'%1' ist ein Ordner und keine Datenbankdatei.";
    }

    // Opening names the full path, tells an old Access file from a damaged one, and changes or
    // creates nothing.
    void dateiWirdAbgewiesen()
    {
        QFETCH(QString, art);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, meldung);
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

        QVERIFY2(text.startsWith(meldung.arg(QDir::toNativeSeparators(pfad))), qPrintable(text));
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
        QVERIFY2(text.startsWith(QStringLiteral("Die Datei '%1' ist beschädigt").arg(QDir::toNativeSeparators(t.pfad))),
                 qPrintable(text));
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

    // Rollback undoes what was written since StartTransaction, Commit keeps it; an inner
    // transaction (also inside one the caller began itself) is undone on its own.
    void transaktion()
    {
        TestDatenbank t;
        t.grunddaten();
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.Open();
        const QString zaehlen = QStringLiteral("SELECT count(*) FROM Personal");
        auto einfuegen = [&] { db.Execute(QStringLiteral("INSERT INTO Personal (Name) VALUES ('Clara')")); };
        db.StartTransaction();
        QVERIFY(db.InTransaction());
        einfuegen();
        db.Rollback();
        QVERIFY(!db.InTransaction());
        QCOMPARE(t.wert(zaehlen).toInt(), 2);
        QVERIFY(!fehlerText([&] { db.Commit(); }).isEmpty());
        db.Rollback();  // none running: nothing

        db.Execute(QStringLiteral("BEGIN IMMEDIATE"));
        einfuegen();
        db.StartTransaction();
        einfuegen();
        db.Rollback();
        QVERIFY(db.InTransaction());
        db.StartTransaction();
        einfuegen();
        db.Commit();
        db.Execute(QStringLiteral("COMMIT"));
        QCOMPARE(t.wert(zaehlen).toInt(), 4);
    }

    // A lock that another instance keeps: the user reads that another user holds the
    // database, and nothing typed is lost; once the lock is gone the same Post succeeds.
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
        QCOMPARE(fehlerText([&] { projekt.Open(); }), gesperrt);
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
