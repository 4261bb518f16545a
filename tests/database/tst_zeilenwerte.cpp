#include "SqliteAnweisung.h"
#include "Zeilenwerte.h"

#include <QDate>
#include <QDateTime>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<QVariant>)

// A row's values held compactly come out as they went in: same type, same value, null stays
// null, whatever value is changed afterwards and wherever.
class TstZeilenwerte : public QObject
{
    Q_OBJECT

    static void gleich(const QVariant& ist, const QVariant& soll, const char* wo)
    {
        QVERIFY2(ist.metaType() == soll.metaType(), wo);
        QVERIFY2(ist.isNull() == soll.isNull(), wo);
        QVERIFY2(ist == soll, wo);
        if (soll.metaType() == QMetaType::fromType<QString>())
            QVERIFY2(ist.toString().isNull() == soll.toString().isNull(), wo);
    }

    // One value of every kind a row holds, and a few that the block keeps aside.
    static std::vector<QVariant> allerlei()
    {
        QByteArray roh("Stra\xdf" "e");
        return {
            QVariant(),
            QVariant(QMetaType::fromType<int>()),
            QVariant(qlonglong(-4'000'000'000'000LL)),
            QVariant(qlonglong(0)),
            QVariant(42),
            QVariant(-1.5),
            QVariant(true),
            QVariant(false),
            QVariant(QString()),
            QVariant(QStringLiteral("")),
            QVariant(QStringLiteral("Bäckerei Huber – Straße 12 €")),
            QVariant(QString(300, QChar(u'x'))),
            QVariant(QString::fromUtf16(u"Noten \U0001D11E")),
            QVariant(QString(QChar(0xd800))),  // a lone surrogate: no UTF-8, kept aside
            QVariant(QByteArray("\x00\x01\xff", 3)),
            QVariant(QByteArray()),
            QVariant(QDate(2024, 6, 30)),
            QVariant(QDate()),
            QVariant(QDateTime(QDate(2024, 3, 1), QTime(7, 30, 15, 250))),
            QVariant(QDateTime(QDate(2024, 3, 1), QTime(7, 30), Qt::UTC)),
            QVariant::fromValue(RohText{roh}),
            QVariant(QStringList{QStringLiteral("a")}),
        };
    }

private slots:
    void rundreise()
    {
        const std::vector<QVariant> werte = allerlei();
        const Zeilenwerte zeile(werte);
        QCOMPARE(zeile.size(), werte.size());
        for (size_t i = 0; i < werte.size(); ++i) {
            const QByteArray wo = QByteArray::number(qulonglong(i));
            gleich(zeile[i], werte[i], wo.constData());
            QCOMPARE(zeile.istNull(i), werte[i].isNull());
        }
        const std::vector<QVariant> alle = Zeilenwerte(zeile).alle();
        for (size_t i = 0; i < werte.size(); ++i)
            gleich(alle[i], werte[i], "Kopie");
        QVERIFY(!zeile[werte.size()].isValid());
    }

    // Every value set in turn to every other kind: the values around it stay as they were.
    void setzenLaesstDieAnderen()
    {
        const std::vector<QVariant> werte = allerlei();
        for (size_t stelle = 0; stelle < werte.size(); ++stelle) {
            for (const QVariant& neu : werte) {
                Zeilenwerte zeile(werte);
                zeile.setzen(stelle, neu);
                std::vector<QVariant> soll = werte;
                soll[stelle] = neu;
                for (size_t i = 0; i < soll.size(); ++i)
                    gleich(zeile[i], soll[i], qPrintable(QStringLiteral("Stelle %1, Wert %2").arg(stelle).arg(i)));
            }
        }
    }

    void groesseAendern()
    {
        Zeilenwerte zeile(std::vector<QVariant>{QVariant(1), QVariant(QStringLiteral("a"))});
        zeile.setzen(4, QVariant(2.5));
        QCOMPARE(zeile.size(), size_t(5));
        QVERIFY(!zeile[2].isValid() && !zeile[3].isValid());
        QCOMPARE(zeile[4], QVariant(2.5));
        zeile.setzenAb(1, {QVariant(QStringLiteral("b")), QVariant(), QVariant(), QVariant(), QVariant(7)});
        QCOMPARE(zeile.size(), size_t(6));
        QCOMPARE(zeile[0], QVariant(1));
        QCOMPARE(zeile[1], QVariant(QStringLiteral("b")));
        QCOMPARE(zeile[5], QVariant(7));
        zeile.resize(2);
        QCOMPARE(zeile.alle(), (std::vector<QVariant>{QVariant(1), QVariant(QStringLiteral("b"))}));
    }

    // What a project row of fifty columns takes: a fraction of fifty QVariants with their texts.
    void kompakt()
    {
        std::vector<QVariant> werte;
        for (int i = 0; i < 30; ++i)
            werte.push_back(QVariant(QStringLiteral("Text der Spalte %1").arg(i)));
        for (int i = 0; i < 10; ++i)
            werte.push_back(QVariant(qlonglong(i)));
        for (int i = 0; i < 10; ++i)
            werte.push_back(QVariant());
        const Zeilenwerte zeile(werte);
        QVERIFY2(zeile.speicher() < 30 * 20 + 10 * 9 + 50, qPrintable(QString::number(zeile.speicher())));
    }
};

QTEST_GUILESS_MAIN(TstZeilenwerte)
#include "tst_zeilenwerte.moc"
