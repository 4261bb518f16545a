#include "SqliteAnweisung.h"
#include "Zeilenwerte.h"

#include <QDate>
#include <QDateTime>
#include <QTest>
#include <limits>
#include <memory>

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
            QVariant(qlonglong(std::numeric_limits<int32_t>::max())),
            QVariant(qlonglong(std::numeric_limits<int32_t>::min())),
            QVariant(qlonglong(std::numeric_limits<int32_t>::max()) + 1),
            QVariant(qlonglong(std::numeric_limits<int32_t>::min()) - 1),
            QVariant(42),
            QVariant(-1.5),
            QVariant(true),
            QVariant(false),
            QVariant(QString()),
            QVariant(QStringLiteral("")),
            QVariant(QStringLiteral("Bäckerei Huber – Straße 12 €")),
            QVariant(QString(300, QChar(u'x'))),
            QVariant(QString::fromUtf16(u"Noten \U0001D11E")),
            QVariant(QStringLiteral("2024-02-29")),  // a date as the file writes it
            QVariant(QStringLiteral("0001-01-01")),
            QVariant(QStringLiteral("2023-02-29")),  // no such day: a text like any other
            QVariant(QStringLiteral("2024-6-30")),
            QVariant(QStringLiteral("2024-06-3x")),
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

    // The values from some place on set anew, as many as there were, more, or fewer.
    void setzenAbJederStelle()
    {
        const std::vector<QVariant> werte = allerlei();
        std::vector<QVariant> andere(werte.rbegin(), werte.rend());
        for (size_t erste = 0; erste <= werte.size(); ++erste) {
            for (size_t anzahl : {size_t(0), size_t(1), werte.size() - erste, werte.size() - erste + 2}) {
                Zeilenwerte zeile(werte);
                const std::vector<QVariant> neu(andere.begin(), andere.begin() + qsizetype(std::min(anzahl, andere.size())));
                zeile.setzenAb(erste, neu);
                std::vector<QVariant> soll = werte;
                if (soll.size() < erste + neu.size())
                    soll.resize(erste + neu.size());
                std::copy(neu.begin(), neu.end(), soll.begin() + qsizetype(erste));
                QCOMPARE(zeile.size(), soll.size());
                for (size_t i = 0; i < soll.size(); ++i)
                    gleich(zeile[i], soll[i], qPrintable(QStringLiteral("ab %1, %2 Werte, Wert %3").arg(erste).arg(anzahl).arg(i)));
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

    // Equal values of one kind give equal bytes, whether asked for one by one or together;
    // different ones (also a number against its text) do not.
    void rohBytes()
    {
        const Zeilenwerte a(std::vector<QVariant>{QVariant(1), QVariant(QStringLiteral("Huber")), QVariant(), QVariant(2.5)});
        const Zeilenwerte b(std::vector<QVariant>{QVariant(QStringLiteral("1")), QVariant(QStringLiteral("Huber")),
                                                  QVariant(), QVariant(2.5)});
        std::string einzeln;
        std::string zusammen;
        for (size_t i : {1, 2, 3})
            QVERIFY(a.rohAnhaengen(i, einzeln));
        QVERIFY(a.rohAnhaengen(std::vector<int>{1, 2, 3, 7}, zusammen));
        std::string vonB;
        QVERIFY(b.rohAnhaengen(std::vector<int>{1, 2, 3, 7}, vonB));
        QCOMPARE(zusammen.substr(0, einzeln.size()), einzeln);
        QCOMPARE(vonB, zusammen);
        std::string erste;
        std::string ersteVonB;
        QVERIFY(a.rohAnhaengen(0, erste) && b.rohAnhaengen(0, ersteVonB));
        QVERIFY(erste != ersteVonB);
        const Zeilenwerte beiseite(std::vector<QVariant>{QVariant(QStringList{QStringLiteral("x")})});
        std::string nichts;
        QVERIFY(!beiseite.rohAnhaengen(0, nichts));
        QVERIFY(nichts.empty());
    }

    // Text handed over as UTF-8 is taken as it is only when it is well-formed; the row then
    // holds the same as one made from the text's QVariant.
    void utf8Direkt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("ASCII, lang") << QByteArray("Bauvorhaben Neubau Wohnhaus Nord") << true;
        QTest::newRow("leer") << QByteArray("") << true;
        QTest::newRow("Umlaute") << QByteArray("B\xc3\xa4" "ckerei Gr\xc3\xb6\xc3\x9f" "e") << true;
        QTest::newRow("drei Bytes") << QByteArray("Preis 5 \xe2\x82\xac") << true;
        QTest::newRow("vier Bytes") << QByteArray("Noten \xf0\x9d\x84\x9e") << true;
        QTest::newRow("Latin-1") << QByteArray("Stra\xdf" "e") << false;
        QTest::newRow("überlang") << QByteArray("\xc0\xaf") << false;
        QTest::newRow("überlang, drei Bytes") << QByteArray("\xe0\x80\xaf") << false;
        QTest::newRow("Ersatzzeichen-Hälfte") << QByteArray("\xed\xa0\x80") << false;
        QTest::newRow("über U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
        QTest::newRow("abgeschnitten") << QByteArray("abc\xe2\x82") << false;
        QTest::newRow("Folgebyte allein") << QByteArray("abcdefgh\x80") << false;
        QTest::newRow("Nullbyte") << QByteArray("a\0b", 3) << true;
        QTest::newRow("Datum") << QByteArray("2024-06-30") << true;
        QTest::newRow("kein Tag") << QByteArray("2024-13-01") << true;
    }

    void utf8Direkt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, gueltig);
        Zeilenbau bau;
        bau.beginnen(3);
        bau.ganzzahl(7);
        QCOMPARE(bau.utf8(bytes.constData(), size_t(bytes.size())), gueltig);
        if (!gueltig)
            bau.wert(QVariant(QStringLiteral("ersatz")));
        const Zeilenwerte zeile = bau.fertig();
        QCOMPARE(zeile.size(), size_t(3));
        QCOMPARE(zeile[0], QVariant(qlonglong(7)));
        QVERIFY(!zeile[2].isValid());
        if (!gueltig) {
            QCOMPARE(zeile[1], QVariant(QStringLiteral("ersatz")));
            return;
        }
        const QString text = QString::fromUtf8(bytes);
        QCOMPARE(zeile[1], QVariant(text));
        QVERIFY(!zeile[1].toString().isNull());
        std::string direkt;
        std::string ueberQVariant;
        QVERIFY(zeile.rohAnhaengen(1, direkt));
        QVERIFY(Zeilenwerte(std::vector<QVariant>{QVariant(), QVariant(text)}).rohAnhaengen(1, ueberQVariant));
        QCOMPARE(direkt, ueberQVariant);
    }

    // Fields read one after another, then an earlier one again, after a change: each value
    // where it is.
    void lesenInJederReihenfolge()
    {
        std::vector<QVariant> werte;
        for (int i = 0; i < 12; ++i)
            werte.push_back(i % 3 == 0 ? QVariant(QStringLiteral("T%1").arg(i)) : i % 3 == 1 ? QVariant(i) : QVariant());
        Zeilenwerte zeile(werte);
        for (size_t i : {0, 1, 5, 11, 3, 4, 10, 2})
            QCOMPARE(zeile[i], werte[i]);
        zeile.setzen(4, QVariant(QStringLiteral("länger als vorher")));
        werte[4] = QVariant(QStringLiteral("länger als vorher"));
        for (size_t i : {11, 5, 4, 3, 6})
            QCOMPARE(zeile[i], werte[i]);
        Zeilenwerte verschoben(std::move(zeile));
        QCOMPARE(zeile.size(), size_t(0));
        QVERIFY(!zeile[0].isValid());
        QCOMPARE(verschoben[9], werte[9]);

        // A row made where the one read last was (the same size, the values in another order)
        // is read from its own start, not from where the reading of the other one stopped.
        auto weg = std::make_unique<Zeilenwerte>(werte);
        QCOMPARE((*weg)[10], werte[10]);
        weg.reset();
        const std::vector<QVariant> umgekehrt(werte.rbegin(), werte.rend());
        const Zeilenwerte neu(umgekehrt);
        for (size_t i : {11, 10, 9})
            QCOMPARE(neu[i], umgekehrt[i]);
    }

    // A row read with only some of its fifty-four columns: the values read come out as they
    // went in, the others as not read and empty; setting any value, adding values at the end
    // and copying keep every other one. Few values read take few bytes of kinds.
    void teilweiseGelesen_data()
    {
        QTest::addColumn<QList<int>>("gehalten");
        QTest::newRow("keiner") << QList<int>{};
        QTest::newRow("der erste") << QList<int>{0};
        QTest::newRow("der letzte") << QList<int>{53};
        QTest::newRow("verstreut") << QList<int>{0, 7, 8, 9, 30, 53};
        QTest::newRow("alle bis auf einen") << [] {
            QList<int> l;
            for (int i = 0; i < 54; ++i)
                if (i != 17)
                    l << i;
            return l;
        }();
    }

    void teilweiseGelesen()
    {
        QFETCH(QList<int>, gehalten);
        constexpr size_t anzahl = 54;
        std::vector<bool> maske(anzahl, false);
        std::vector<QVariant> soll(anzahl);
        Zeilenbau bau;
        bau.beginnen(anzahl, &maske);
        for (int i : gehalten) {
            maske[size_t(i)] = true;
            soll[size_t(i)] = i % 3 == 0 ? QVariant(QStringLiteral("Wert %1").arg(i)) : i % 3 == 1 ? QVariant(qlonglong(i)) : QVariant();
        }
        for (int i : gehalten) {
            if (i % 3 == 0)
                bau.wert(soll[size_t(i)]);
            else if (i % 3 == 1)
                bau.ganzzahl(i);
            else
                bau.leer();
        }
        const Zeilenwerte zeile = bau.fertig();
        QCOMPARE(zeile.size(), anzahl);
        auto pruefen = [&](const Zeilenwerte& z, const std::vector<QVariant>& werte, const std::vector<bool>& gelesen,
                           const QString& wo) {
            for (size_t i = 0; i < werte.size(); ++i) {
                QVERIFY2(z.gelesen(i) == gelesen[i], qPrintable(wo + QStringLiteral(" gelesen %1").arg(i)));
                gleich(z[i], werte[i], qPrintable(wo + QStringLiteral(" Wert %1").arg(i)));
            }
        };
        pruefen(zeile, soll, maske, QStringLiteral("gebaut"));
        pruefen(Zeilenwerte(zeile), soll, maske, QStringLiteral("Kopie"));
        // Against the same values with a kind for every value (those not read as empty ones).
        if (gehalten.size() <= 6)
            QVERIFY2(zeile.speicher() + 15 <= Zeilenwerte(soll).speicher(),
                     qPrintable(QStringLiteral("%1 / %2").arg(zeile.speicher()).arg(Zeilenwerte(soll).speicher())));

        for (size_t stelle : {size_t(0), size_t(8), size_t(17), size_t(53)}) {
            Zeilenwerte z(zeile);
            z.setzen(stelle, QVariant(QStringLiteral("neu")));
            std::vector<QVariant> werte = soll;
            std::vector<bool> gelesen = maske;
            werte[stelle] = QVariant(QStringLiteral("neu"));
            gelesen[stelle] = true;
            pruefen(z, werte, gelesen, QStringLiteral("gesetzt an %1").arg(stelle));
        }
        Zeilenwerte mitAbgeleiteten(zeile);
        mitAbgeleiteten.setzenAb(anzahl, {QVariant(7), QVariant(2.5)});
        std::vector<QVariant> werte = soll;
        std::vector<bool> gelesen = maske;
        werte.insert(werte.end(), {QVariant(7), QVariant(2.5)});
        gelesen.insert(gelesen.end(), {true, true});
        pruefen(mitAbgeleiteten, werte, gelesen, QStringLiteral("mit abgeleiteten"));
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
        // A date text is held by its day, in less than its ten characters.
        const Zeilenwerte datum(std::vector<QVariant>{QVariant(QStringLiteral("2024-06-30"))});
        const Zeilenwerte text(std::vector<QVariant>{QVariant(QStringLiteral("2024-06-3x"))});
        QCOMPARE(text.speicher() - datum.speicher(), size_t(7));
    }
};

QTEST_GUILESS_MAIN(TstZeilenwerte)
#include "tst_zeilenwerte.moc"
