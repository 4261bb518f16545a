#include "Spaltenauswahl.h"
#include "Zeilenwerte.h"

#include <QTest>

namespace {

// The columns of a table "Projekt" as the statement reads them.
const std::vector<QString> Herkunft = {QStringLiteral("ID"), QStringLiteral("Kommnr"), QStringLiteral("Ort"),
                                       QStringLiteral("Last_Datum"), QStringLiteral("PV_Sichtbar")};

int finden(const QString& name)
{
    for (size_t i = 0; i < Herkunft.size(); ++i)
        if (Herkunft[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace

// Which columns a dataset's rows hold, the statement that reads just those, and the rows built
// from what it gives, with every column in its place.
class TstSpaltenauswahl : public QObject
{
    Q_OBJECT

private slots:
    void leseText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QList<int>>("immer");
        QTest::addColumn<bool>("moeglich");
        QTest::addColumn<QString>("erwartet");
        QTest::addColumn<QList<int>>("gehalten");  // empty: every column
        const QString tabelle = QStringLiteral("SELECT * FROM [Projekt]");
        QTest::newRow("nichts verlangt: alles") << tabelle << QStringList() << QList<int>{0} << true << tabelle
                                                << QList<int>{};
        QTest::newRow("genannte und immer gehaltene")
            << tabelle << QStringList{QStringLiteral("ort")} << QList<int>{0, 3} << true
            << "SELECT [ID], [Ort], [Last_Datum] FROM [Projekt]" << QList<int>{0, 2, 3};
        QTest::newRow("unbekannter Name zählt nicht")
            << tabelle << QStringList{QStringLiteral("Gibtsnicht"), QStringLiteral("Kommnr")} << QList<int>{0, -1} << true
            << "SELECT [ID], [Kommnr] FROM [Projekt]" << QList<int>{0, 1};
        QTest::newRow("Bedingung und Ordnung bleiben")
            << QStringLiteral("  select *  from projekt where Ort = 'Kiel' order by Last_Datum")
            << QStringList{QStringLiteral("Kommnr")} << QList<int>{0} << true
            << "SELECT [ID], [Kommnr] FROM projekt where Ort = 'Kiel' order by Last_Datum"
            << QList<int>{0, 1};
        QTest::newRow("andere Anweisung bleibt")
            << QStringLiteral("SELECT ID, Kommnr FROM Projekt") << QStringList{QStringLiteral("Kommnr")} << QList<int>{0}
            << true << "SELECT ID, Kommnr FROM Projekt" << QList<int>{0, 1};
        QTest::newRow("nicht möglich: alles") << tabelle << QStringList{QStringLiteral("Kommnr")} << QList<int>{0} << false
                                              << tabelle << QList<int>{};
    }
    void leseText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, namen);
        QFETCH(QList<int>, immer);
        QFETCH(bool, moeglich);
        QFETCH(QString, erwartet);
        QFETCH(QList<int>, gehalten);
        Spaltenauswahl auswahl;
        auswahl.bilden(namen, int(Herkunft.size()), finden, std::vector<int>(immer.begin(), immer.end()), moeglich);
        QCOMPARE(auswahl.leseText(text, Herkunft), erwartet);
        QCOMPARE(auswahl.alleGehalten(), gehalten.isEmpty());
        QCOMPARE(auswahl.maske() == nullptr, gehalten.isEmpty());
        for (int c = 0; c < int(Herkunft.size()); ++c)
            QCOMPARE(auswahl.gehalten(c), gehalten.isEmpty() || gehalten.contains(c));
        if (erwartet != text || gehalten.isEmpty())
            QCOMPARE(auswahl.anzahlGeliefert(int(Herkunft.size())), gehalten.isEmpty() ? int(Herkunft.size()) : gehalten.size());
    }

    // A row built from the held values alone has each in its column and the others not read,
    // before, between and after them; the derived values behind the columns stay empty.
    void zeileAusGehaltenen_data()
    {
        QTest::addColumn<QList<int>>("gehalten");
        QTest::newRow("erste und letzte") << QList<int>{0, 4};
        QTest::newRow("mitten") << QList<int>{2, 3};
        QTest::newRow("eine") << QList<int>{1};
        QTest::newRow("alle") << QList<int>{0, 1, 2, 3, 4};
    }
    void zeileAusGehaltenen()
    {
        QFETCH(QList<int>, gehalten);
        std::vector<bool> maske(Herkunft.size(), false);
        for (int c : gehalten)
            maske[size_t(c)] = true;
        Zeilenbau bau;
        for (int runde = 0; runde < 2; ++runde) {  // one builder serves row after row
            bau.beginnen(Herkunft.size() + 1, &maske);
            for (int c : gehalten) {
                if (c % 2 == 0)
                    bau.ganzzahl(100 * runde + c);
                else
                    QVERIFY(bau.utf8("Text", 4));
            }
            const Zeilenwerte zeile = bau.fertig();
            QCOMPARE(zeile.size(), Herkunft.size() + 1);
            for (int c = 0; c < int(Herkunft.size()); ++c) {
                QCOMPARE(zeile.gelesen(size_t(c)), gehalten.contains(c));
                if (gehalten.contains(c))
                    QCOMPARE(zeile[size_t(c)], c % 2 == 0 ? QVariant(qlonglong(100 * runde + c)) : QVariant(QStringLiteral("Text")));
            }
            QVERIFY(zeile.gelesen(Herkunft.size()));
            QVERIFY(!zeile[Herkunft.size()].isValid());
        }
    }
};

QTEST_APPLESS_MAIN(TstSpaltenauswahl)
#include "tst_spaltenauswahl.moc"
