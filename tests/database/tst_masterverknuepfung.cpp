#include "FehlerText.h"
#include "MasterVerknuepfung.h"
#include "TKADaoTable.h"

#include <QTest>

using Paare = QList<MasterVerknuepfung::Paar>;
Q_DECLARE_METATYPE(Paare)

// How a master link text is read, and the condition a detail dataset adds from it.
class TstMasterVerknuepfung : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<Paare>("paare");
        QTest::addColumn<QString>("bedingung");
        QTest::newRow("ein Paar") << "Projekt_ID -> ID" << true << Paare{{"Projekt_ID", "ID"}} << "[Projekt_ID] = ?";
        QTest::newRow("ohne Leerzeichen") << "Projekt_ID->ID" << true << Paare{{"Projekt_ID", "ID"}}
                                          << "[Projekt_ID] = ?";
        QTest::newRow("zwei Paare, Semikolon am Ende")
            << "A -> X; B->Y ;" << true << Paare{{"A", "X"}, {"B", "Y"}} << "[A] = ? AND [B] = ?";
        QTest::newRow("ohne Pfeil gleichnamig") << "Kommnr" << true << Paare{{"Kommnr", "Kommnr"}} << "[Kommnr] = ?";
        QTest::newRow("leer") << "  " << true << Paare{} << "";
        QTest::newRow("Detailfeld fehlt") << "-> ID" << false << Paare{} << "";
        QTest::newRow("Masterfeld fehlt im zweiten Paar") << "A -> X; B ->" << false << Paare{} << "";
    }

    void lesen()
    {
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(Paare, paare);
        QFETCH(QString, bedingung);
        const auto link = MasterVerknuepfung::lesen(text);
        QCOMPARE(link.has_value(), gueltig);
        if (!link)
            return;
        QCOMPARE(link->paare(), paare);
        QCOMPARE(link->bedingung(), bedingung);
        QCOMPARE(link->text(), text);
    }

    // A broken link is refused when it is set, and the dataset keeps the link it had.
    void ungueltigeVerknuepfungAbgewiesen()
    {
        TKADaoTable tabelle;
        tabelle.setObjectName(QStringLiteral("TabAufgaben"));
        tabelle.setMasterFields(QStringLiteral("Projekt_ID -> ID"));
        QCOMPARE(fehlerText([&] { tabelle.setMasterFields(QStringLiteral("Projekt_ID ->")); }),
                 QStringLiteral("TabAufgaben: Die Verknüpfung 'Projekt_ID ->' mit der Master-Datenmenge ist ungültig."));
        QCOMPARE(tabelle.MasterFields(), QStringLiteral("Projekt_ID -> ID"));
    }
};

QTEST_GUILESS_MAIN(TstMasterVerknuepfung)
#include "tst_masterverknuepfung.moc"
