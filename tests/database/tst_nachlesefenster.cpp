#include "Nachlesefenster.h"

#include <QTest>

// The window of rows read in full holds rows of one stand of the dataset, never more than its
// bound, and a batch made room for is kept whole.
class TstNachlesefenster : public QObject
{
    Q_OBJECT

    static Zeilenwerte zeile(qint64 schluessel) { return Zeilenwerte({QVariant(schluessel), QVariant(QStringLiteral("Ort"))}); }

private slots:
    void schritte_data()
    {
        // Steps: "+k@s" puts row k in at stand s, "P n@s" makes room for n rows at stand s.
        // Then: the rows found at stand `stand` (in key order).
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<quint64>("stand");
        QTest::addColumn<QList<qint64>>("gefunden");
        QTest::newRow("ein Stand") << QStringList{"+1@1", "+2@1", "+3@1"} << quint64(1) << QList<qint64>{1, 2, 3};
        QTest::newRow("für einen anderen Stand nichts") << QStringList{"+1@1", "+2@1"} << quint64(2) << QList<qint64>{};
        QTest::newRow("ein neuer Stand verdrängt den alten") << QStringList{"+1@1", "+2@1", "+3@2"} << quint64(2)
                                                             << QList<qint64>{3};
        QTest::newRow("voll: fängt von vorn an") << QStringList{"+1@1", "+2@1", "+3@1", "+4@1", "+5@1"} << quint64(1)
                                                 << QList<qint64>{5};
        QTest::newRow("dieselbe Zeile nochmals, voll") << QStringList{"+1@1", "+2@1", "+3@1", "+4@1", "+4@1"}
                                                       << quint64(1) << QList<qint64>{1, 2, 3, 4};
        QTest::newRow("Platz für einen Stapel") << QStringList{"+1@1", "+2@1", "+3@1", "P2@1", "+7@1", "+8@1"}
                                                << quint64(1) << QList<qint64>{7, 8};
        QTest::newRow("Platz ist da") << QStringList{"+1@1", "P3@1", "+7@1", "+8@1", "+9@1"} << quint64(1)
                                      << QList<qint64>{1, 7, 8, 9};
    }

    void schritte()
    {
        QFETCH(QStringList, schritte);
        QFETCH(quint64, stand);
        QFETCH(QList<qint64>, gefunden);
        Nachlesefenster fenster(4);
        for (const QString& schritt : std::as_const(schritte)) {
            const QStringList teile = schritt.mid(1).split(QLatin1Char('@'));
            const qint64 zahl = teile[0].toLongLong();
            const quint64 bei = teile[1].toULongLong();
            if (schritt.startsWith(QLatin1Char('+')))
                fenster.ablegen(zahl, zeile(zahl), bei);
            else
                fenster.platzSchaffen(size_t(zahl), bei);
            QVERIFY(fenster.anzahl() <= fenster.hoechstens());
        }
        QList<qint64> ist;
        for (qint64 k = 1; k <= 9; ++k) {
            if (const Zeilenwerte* werte = fenster.finden(k, stand)) {
                QCOMPARE((*werte)[0].toLongLong(), k);
                ist << k;
            }
        }
        QCOMPARE(ist, gefunden);
    }

    // A failed read is given back for its stand while the pause lasts, then read is tried again.
    void fehlerPause()
    {
        Nachlesefenster fenster(4, 50);
        QVERIFY(fenster.fehlerInPause(1).isEmpty());
        fenster.fehlgeschlagen(1, QStringLiteral("gesperrt"));
        QCOMPARE(fenster.fehlerInPause(1), QStringLiteral("gesperrt"));
        QVERIFY(fenster.fehlerInPause(2).isEmpty());
        QTest::qWait(80);
        QVERIFY(fenster.fehlerInPause(1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstNachlesefenster)
#include "tst_nachlesefenster.moc"
