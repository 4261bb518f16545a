#include "ZeilenAnweisungen.h"

#include <QTest>
#include <functional>

using Anweisung = ZeilenAnweisungen::Anweisung;
Q_DECLARE_METATYPE(std::function<Anweisung(const ZeilenAnweisungen&)>)

// The texts of the row statements: values only as parameters, names in brackets, and the
// optimistic check as one "IS ?" per compared column after the key.
class TstZeilenAnweisungen : public QObject
{
    Q_OBJECT

private slots:
    void texte_data()
    {
        using Bauen = std::function<Anweisung(const ZeilenAnweisungen&)>;
        QTest::addColumn<Bauen>("bauen");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("parameter");
        QTest::newRow("einfügen")
            << Bauen([](const ZeilenAnweisungen& z) { return z.einfuegen({{"Kommnr", "P'1"}, {"Select", 1}}); })
            << "INSERT INTO [Projekt] ([Kommnr], [Select]) VALUES (?, ?)" << QVariantList{"P'1", 1};
        QTest::newRow("einfügen ohne Werte")
            << Bauen([](const ZeilenAnweisungen& z) { return z.einfuegen({}); })
            << "INSERT INTO [Projekt] DEFAULT VALUES" << QVariantList{};
        QTest::newRow("ändern, geprüft wird das geänderte Feld")
            << Bauen([](const ZeilenAnweisungen& z) {
                   return z.aendern(7, {{"Strasse", "Neu"}}, {{"Strasse", QVariant()}, {"Kommnr", "P1"}});
               })
            << "UPDATE [Projekt] SET [Strasse] = ? WHERE [ID] = ? AND [Strasse] IS ? COLLATE BINARY "
               "AND [Kommnr] IS ? COLLATE BINARY"
            << QVariantList{"Neu", 7, QVariant(), "P1"};
        QTest::newRow("löschen mit Prüfung")
            << Bauen([](const ZeilenAnweisungen& z) { return z.loeschen(3, {{"Name", "Anna"}}); })
            << "DELETE FROM [Projekt] WHERE [ID] = ? AND [Name] IS ? COLLATE BINARY" << QVariantList{3, "Anna"};
        QTest::newRow("löschen nur nach Schlüssel")
            << Bauen([](const ZeilenAnweisungen& z) { return z.loeschen(3, {}); })
            << "DELETE FROM [Projekt] WHERE [ID] = ?" << QVariantList{3};
        QTest::newRow("Name mit schließender Klammer")
            << Bauen([](const ZeilenAnweisungen& z) { return z.loeschen(1, {{"a]b", 2}}); })
            << "DELETE FROM [Projekt] WHERE [ID] = ? AND \"a]b\" IS ? COLLATE BINARY" << QVariantList{1, 2};
    }

    void texte()
    {
        QFETCH(std::function<Anweisung(const ZeilenAnweisungen&)>, bauen);
        QFETCH(QString, sql);
        QFETCH(QVariantList, parameter);
        const Anweisung a = bauen(ZeilenAnweisungen(QStringLiteral("Projekt"), QStringLiteral("ID")));
        QCOMPARE(a.sql, sql);
        QCOMPARE(a.parameter, parameter);
    }
};

QTEST_GUILESS_MAIN(TstZeilenAnweisungen)
#include "tst_zeilenanweisungen.moc"
