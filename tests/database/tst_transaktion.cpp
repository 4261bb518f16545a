#include "TKADaoDatabase.h"
#include "TestDatenbank.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// A unit of work on the connection is stored whole or not at all, alone or inside another one.
class TestTransaktion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { TestDatenbank::motoren(); }

    void ganzOderGarNicht_data()
    {
        QTest::addColumn<bool>("innenFehler");
        QTest::addColumn<bool>("aussenFehler");
        QTest::addColumn<QStringList>("gespeichert");
        QTest::newRow("both succeed") << false << false << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("inner fails, outer goes on") << true << false << QStringList{u"A"_s};
        QTest::newRow("outer fails after inner succeeded") << false << true << QStringList{};
    }
    void ganzOderGarNicht()
    {
        QFETCH(bool, innenFehler);
        QFETCH(bool, aussenFehler);
        QFETCH(QStringList, gespeichert);
        TestDatenbank t(TestDatenbank::serverDesTests());
        TKADaoDatabase db;
        db.setDatabaseName(t.pfad);
        db.Open();
        const auto einfuegen = [&](const char* name) {
            db.Execute(u"insert into Personal (Nummer, Name) values ('%1', '%1')"_s.arg(QLatin1String(name)));
        };
        try {
            db.Transaktion([&] {
                einfuegen("A");
                try {
                    db.Transaktion([&] {
                        einfuegen("B");
                        if (innenFehler)
                            throw Fehler(u"innen"_s);
                    });
                } catch (const Fehler&) {
                    QVERIFY(innenFehler);
                }
                if (aussenFehler)
                    throw Fehler(u"außen"_s);
            });
            QVERIFY(!aussenFehler);
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), u"außen"_s);
        }
        QCOMPARE(t.wert(u"select group_concat(Name, ',') from (select Name from Personal order by Name)"_s)
                     .toString()
                     .split(u',', Qt::SkipEmptyParts),
                 gespeichert);
        // The connection is out of every transaction again: another program can write.
        t.fremd(u"insert into Personal (Nummer, Name) values ('X', 'X')"_s);
    }
};

QTEST_GUILESS_MAIN(TestTransaktion)
#include "tst_transaktion.moc"
