#include "Suchschluessel.h"

#include <QDate>
#include <QDateTime>
#include <QTest>

// Which values meet as search keys, and which row an index gives for a key.
class TstSuchschluessel : public QObject
{
    Q_OBJECT

private slots:
    void gleich_data()
    {
        QTest::addColumn<QVariant>("a");
        QTest::addColumn<QVariant>("b");
        QTest::addColumn<bool>("gleich");
        QTest::newRow("Zahl und ganze Kommazahl") << QVariant(qlonglong(7)) << QVariant(7.0) << true;
        QTest::newRow("int und long long") << QVariant(7) << QVariant(qlonglong(7)) << true;
        QTest::newRow("Ja und 1") << QVariant(true) << QVariant(1) << true;
        QTest::newRow("Kommazahl mit Rest") << QVariant(7.5) << QVariant(qlonglong(7)) << false;
        QTest::newRow("Zahl und ihr Text") << QVariant(7) << QVariant(QStringLiteral("7")) << false;
        QTest::newRow("Datum und gespeicherter Text")
            << QVariant(QDate(2024, 3, 1)) << QVariant(QStringLiteral("2024-03-01")) << true;
        QTest::newRow("Zeitpunkt und gespeicherter Text")
            << QVariant(QDateTime(QDate(2024, 3, 1), QTime(8, 5)))
            << QVariant(QStringLiteral("2024-03-01 08:05:00")) << true;
        QTest::newRow("Text nach Groß- und Kleinschreibung")
            << QVariant(QStringLiteral("Meier")) << QVariant(QStringLiteral("meier")) << false;
        QTest::newRow("leer und leer") << QVariant() << QVariant(QMetaType::fromType<qlonglong>()) << true;
        QTest::newRow("leer und 0") << QVariant() << QVariant(0) << false;
        QTest::newRow("leer und leerer Text") << QVariant() << QVariant(QString()) << false;
    }

    void gleich()
    {
        QFETCH(QVariant, a);
        QFETCH(QVariant, b);
        QFETCH(bool, gleich);
        QCOMPARE(Suchschluessel(a) == Suchschluessel(b), gleich);
        QCOMPARE(Suchschluessel::gleich({a, 1}, {b, 1}), gleich);
    }

    void listenVerschiedenerLaenge()
    {
        QVERIFY(!Suchschluessel::gleich({1}, {1, 2}));
        QVERIFY(Suchschluessel::gleich({}, {}));
    }

    // The first row with a key wins; empty values are neither entered nor found; the index
    // finds by the same rule the keys compare by.
    void index()
    {
        Suchindex index;
        const QVariantList werte{QVariant(), QVariant(qlonglong(4)), QStringLiteral("A"), QVariant(4.0),
                                 QStringLiteral("A"), QVariant(2.5)};
        for (int i = 0; i < werte.size(); ++i)
            index.eintragen(werte[i], i);
        QCOMPARE(index.zeile(Suchschluessel(4)), 1);
        QCOMPARE(index.zeile(Suchschluessel(4.0)), 1);
        QCOMPARE(index.zeile(Suchschluessel(QStringLiteral("A"))), 2);
        QCOMPARE(index.zeile(Suchschluessel(2.5)), 5);
        QCOMPARE(index.zeile(Suchschluessel(QStringLiteral("4"))), -1);
        QCOMPARE(index.zeile(Suchschluessel(QVariant())), -1);
        index.leeren();
        QCOMPARE(index.zeile(Suchschluessel(4)), -1);
    }

    // Numbers in ascending order, then perhaps not: whatever the order, each key finds its
    // first row and only its own.
    void indexZahlenfolgen_data()
    {
        QTest::addColumn<QList<qint64>>("schluessel");  // row i holds schluessel[i]
        QTest::addColumn<bool>("eindeutig");
        QTest::newRow("aufsteigend") << QList<qint64>{1, 2, 5, 9, 200000} << true;
        QTest::newRow("später eine kleinere") << QList<qint64>{3, 4, 8, 1, 9} << true;
        QTest::newRow("eine doppelt") << QList<qint64>{3, 4, 8, 4, 9} << false;
        QTest::newRow("die letzte doppelt") << QList<qint64>{3, 4, 8, 8} << false;
        QTest::newRow("absteigend") << QList<qint64>{9, 7, -2} << true;
    }

    void indexZahlenfolgen()
    {
        QFETCH(QList<qint64>, schluessel);
        QFETCH(bool, eindeutig);
        Suchindex index;
        // Every second row number, as when a row is left out.
        for (int i = 0; i < schluessel.size(); ++i)
            index.eintragen(QVariant(schluessel[i]), 2 * i);
        QCOMPARE(index.eindeutig(), eindeutig);
        for (int i = 0; i < schluessel.size(); ++i)
            QCOMPARE(index.zeile(Suchschluessel(QVariant(schluessel[i]))), 2 * int(schluessel.indexOf(schluessel[i])));
        for (const qint64 fehlt : {qint64(0), qint64(6), qint64(300000)})
            QCOMPARE(index.zeile(Suchschluessel(QVariant(fehlt))), -1);
        index.eintragen(QStringLiteral("Text"), 99);
        QCOMPARE(index.zeile(Suchschluessel(QStringLiteral("Text"))), 99);
        QCOMPARE(index.zeile(Suchschluessel(QVariant(schluessel.last()))), 2 * int(schluessel.indexOf(schluessel.last())));
    }
};

QTEST_GUILESS_MAIN(TstSuchschluessel)
#include "tst_suchschluessel.moc"
