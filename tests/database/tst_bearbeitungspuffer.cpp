#include "Bearbeitungspuffer.h"
#include "Zeilenwerte.h"

#include <QTest>

namespace {

struct Zeile
{
    Zeilenwerte werte;
    quint64 stand = 0;
};

Zeile zeile(const std::vector<QVariant>& werte, quint64 stand = 0)
{
    return Zeile{Zeilenwerte(werte), stand};
}

} // namespace

// The pending row: which columns count as input, how another user's row is taken over, and
// that dropping it leaves nothing behind.
class TstBearbeitungspuffer : public QObject
{
    Q_OBJECT

private slots:
    void spalteGeaendert_data()
    {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QVariant>("gelesen");
        QTest::addColumn<QVariant>("eingabe");
        QTest::addColumn<bool>("geaendert");
        QTest::newRow("geändert: anderer Text") << false << QVariant(QStringLiteral("a")) << QVariant(QStringLiteral("b")) << true;
        QTest::newRow("geändert: zurück auf den alten Wert") << false << QVariant(5) << QVariant(5) << false;
        QTest::newRow("geändert: Zahl gegen ihren Text") << false << QVariant(1) << QVariant(QStringLiteral("1")) << true;
        QTest::newRow("geändert: geleert") << false << QVariant(5) << QVariant() << true;
        QTest::newRow("geändert: leer bleibt leer") << false << QVariant() << QVariant() << false;
        QTest::newRow("neu: mit Wert") << true << QVariant() << QVariant(0) << true;
        QTest::newRow("neu: leer") << true << QVariant() << QVariant() << false;
    }

    void spalteGeaendert()
    {
        QFETCH(bool, neu);
        QFETCH(QVariant, gelesen);
        QFETCH(QVariant, eingabe);
        QFETCH(bool, geaendert);
        Bearbeitungspuffer<Zeile> puffer;
        if (neu)
            puffer.einfuegen(zeile({QVariant(), QVariant()}), 3);
        else
            puffer.bearbeiten(zeile({QVariant(7), gelesen, QStringLiteral("abgeleitet")}), 2);
        puffer.zeile.werte.setzen(1, eingabe);
        QCOMPARE(puffer.spalteGeaendert(1), geaendert);
        QVERIFY(!puffer.spalteGeaendert(0));
    }

    // The original covers only the stored columns; derived values stay in the row.
    void bearbeitenLiestNurGespeicherteSpalten()
    {
        Bearbeitungspuffer<Zeile> puffer;
        puffer.bearbeiten(zeile({1, 2, 3}), 2);
        QCOMPARE(puffer.original, (std::vector<QVariant>{1, 2}));
        QCOMPARE(puffer.zeile.werte.size(), size_t(3));
        QVERIFY(!puffer.neu);
    }

    // Untouched columns show the other user's values; typed ones keep the input, and the row
    // read is the fresh one from then on.
    void frischUebernehmen()
    {
        Bearbeitungspuffer<Zeile> puffer;
        puffer.bearbeiten(zeile({1, QStringLiteral("alt"), QStringLiteral("alt")}), 3);
        puffer.zeile.werte.setzen(2, QStringLiteral("getippt"));
        const std::vector<QVariant> frisch{1, QStringLiteral("fremd"), QStringLiteral("fremd")};
        puffer.frischUebernehmen(frisch);
        QCOMPARE(puffer.zeile.werte.alle(), (std::vector<QVariant>{1, QStringLiteral("fremd"), QStringLiteral("getippt")}));
        QCOMPARE(puffer.original, frisch);
        QVERIFY(!puffer.spalteGeaendert(1));
        QVERIFY(puffer.spalteGeaendert(2));
    }

    void verwerfenSetztAllesZurueck()
    {
        Bearbeitungspuffer<Zeile> puffer;
        puffer.einfuegen(zeile({1}, 9), 4);
        puffer.geaendert = true;
        puffer.verwerfen();
        QCOMPARE(puffer.zeile.werte.size(), size_t(0));
        QCOMPARE(puffer.zeile.stand, quint64(0));
        QVERIFY(puffer.original.empty());
        QVERIFY(!puffer.neu);
        QVERIFY(!puffer.geaendert);
        QCOMPARE(puffer.posVorEinfuegen, -1);
    }
};

QTEST_GUILESS_MAIN(TstBearbeitungspuffer)
#include "tst_bearbeitungspuffer.moc"
