#include "Suchbegriff.h"

#include <QtTest>

// A typed text against the texts of one row: upper and lower case, umlauts and ß in every
// spelling a user may type, blanks, and the border between two texts of the row.
class TestSuchbegriff : public QObject
{
    Q_OBJECT

private slots:
    void gefunden_data();
    void gefunden();
};

void TestSuchbegriff::gefunden_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QStringList>("texte");
    QTest::addColumn<bool>("erwartet");

    const QStringList mueller{QStringLiteral("Müller GmbH")};
    QTest::newRow("Umlaut wie geschrieben") << QStringLiteral("Müller") << mueller << true;
    QTest::newRow("ue für ü") << QStringLiteral("mueller") << mueller << true;
    QTest::newRow("u für ü") << QStringLiteral("muller") << mueller << true;
    QTest::newRow("Großschreibung") << QStringLiteral("MÜLLER") << mueller << true;
    QTest::newRow("ü findet ue") << QStringLiteral("Müller") << QStringList{QStringLiteral("Mueller & Söhne")} << true;
    QTest::newRow("o findet ö") << QStringLiteral("sohne") << QStringList{QStringLiteral("Mueller & Söhne")} << true;
    QTest::newRow("Teil nach ue") << QStringLiteral("eller") << QStringList{QStringLiteral("Mueller")} << true;
    QTest::newRow("ss für ß") << QStringLiteral("strasse") << QStringList{QStringLiteral("Hauptstraße 5")} << true;
    QTest::newRow("s für ß") << QStringLiteral("HAUPTSTRASE") << QStringList{QStringLiteral("Hauptstraße 5")} << true;
    QTest::newRow("ß findet ss") << QStringLiteral("Straße") << QStringList{QStringLiteral("Umbau Strasse")} << true;
    QTest::newRow("Akzent") << QStringLiteral("cafe") << QStringList{QStringLiteral("Café Rösterei")} << true;
    QTest::newRow("Nummer") << QStringLiteral("2024-01") << QStringList{QStringLiteral("2024-017")} << true;
    QTest::newRow("im zweiten Text") << QStringLiteral("lager") << QStringList{QStringLiteral("P-1"), QStringLiteral("Erweiterung Lager")} << true;
    QTest::newRow("Leerraum") << QStringLiteral("  müller \t gmbh ") << QStringList{QStringLiteral("Müller  GmbH")} << true;
    QTest::newRow("nur Leerraum findet alles") << QStringLiteral("   ") << QStringList{QStringLiteral("x")} << true;

    QTest::newRow("anderer Name") << QStringLiteral("Miller") << mueller << false;
    QTest::newRow("ai ist nicht ei") << QStringLiteral("Maier") << QStringList{QStringLiteral("Meier")} << false;
    QTest::newRow("nicht über die Textgrenze") << QStringLiteral("müller") << QStringList{QStringLiteral("Müll"), QStringLiteral("er")} << false;
    QTest::newRow("Leerraum zählt") << QStringLiteral("müller gmbh") << QStringList{QStringLiteral("MüllerGmbH")} << false;
    QTest::newRow("leere Zeile") << QStringLiteral("a") << QStringList{} << false;
}

void TestSuchbegriff::gefunden()
{
    QFETCH(QString, eingabe);
    QFETCH(QStringList, texte);
    QFETCH(bool, erwartet);
    QCOMPARE(Suchbegriff(eingabe).gefunden(Suchbegriff::durchsuchbar(texte)), erwartet);
}

QTEST_APPLESS_MAIN(TestSuchbegriff)
#include "tst_suchbegriff.moc"
