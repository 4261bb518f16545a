#include "Ableitungsstand.h"

#include <QTest>
#include <map>

// The stand of derived values moves on with every change that can alter them and never comes
// back, so a row's values worked out at an earlier stand are never taken for current.
class TstAbleitungsstand : public QObject
{
    Q_OBJECT

private slots:
    void standKehrtNichtWieder_data()
    {
        // Steps: 'v' own rows read again, 'a'/'b' a change in looked-up dataset A/B,
        // 'A'/'B' that dataset goes away (its count leaves the sum).
        QTest::addColumn<QString>("schritte");
        QTest::newRow("eigene Zeilen") << "vvv";
        QTest::newRow("Änderungen der Quellen") << "abab";
        QTest::newRow("Quelle geht, andere holt ihren Stand auf") << "aabbbBaaa";
        QTest::newRow("beide Quellen gehen") << "abbAvB";
    }

    void standKehrtNichtWieder()
    {
        QFETCH(QString, schritte);
        Ableitungsstand ableitung;
        std::map<QChar, quint64> quellen{{QLatin1Char('a'), 1}, {QLatin1Char('b'), 1}};
        auto stand = [&] {
            quint64 summe = 0;
            for (const auto& [name, zaehler] : quellen)
                summe += zaehler;
            return ableitung.stand(summe);
        };
        QList<quint64> gesehen{stand()};
        for (const QChar schritt : schritte) {
            if (schritt == QLatin1Char('v'))
                ableitung.verwerfen();
            else if (schritt.isLower())
                ++quellen[schritt];
            else {
                quellen.erase(schritt.toLower());
                ableitung.quelleEntfernt();
            }
            const quint64 jetzt = stand();
            QVERIFY2(!gesehen.contains(jetzt), qPrintable(QStringLiteral("Stand kehrt wieder nach '%1'").arg(schritt)));
            QVERIFY(jetzt != Ableitungsstand::Ungueltig);
            gesehen << jetzt;
        }
    }

    void gilt()
    {
        Ableitungsstand ableitung;
        const quint64 stand = ableitung.stand(4);
        QVERIFY(Ableitungsstand::gilt(stand, ableitung.stand(4)));
        QVERIFY(!Ableitungsstand::gilt(stand, ableitung.stand(5)));
        QVERIFY(!Ableitungsstand::gilt(Ableitungsstand::Ungueltig, Ableitungsstand::Ungueltig));
        ableitung.verwerfen();
        QVERIFY(!Ableitungsstand::gilt(stand, ableitung.stand(4)));
    }
};

QTEST_GUILESS_MAIN(TstAbleitungsstand)
#include "tst_ableitungsstand.moc"
