// The rows of the ERP search grid: sorting by a column, the type-ahead search, and the view's
// current row following its row through a sort.

#include "ErpProjektModell.h"

#include <QItemSelectionModel>
#include <QtTest>

namespace {

using Zeilen = QList<QStringList>;

TErpProjektModell* modellMit(const Zeilen& zeilen, QObject* eltern)
{
    auto* modell = new TErpProjektModell(eltern);
    std::vector<TErpZeile> neu;
    int nr = 0;
    for (const QStringList& z : zeilen)
        neu.emplace_back(std::array<QString, 4>{z.value(0), z.value(1), z.value(2), z.value(3)}, nr++);
    modell->zeilenAnhaengen(std::move(neu));
    return modell;
}

QStringList spalte(const TErpProjektModell& m, int s)
{
    QStringList werte;
    for (int i = 0; i < m.rowCount(); ++i)
        werte << m.zelle(i, s);
    return werte;
}

// In the file's order (by number): customers with umlauts, mixed case and an empty name.
const Zeilen Kunden = {
    {"24-001", "Zimmerei Öhler", "Ulm", "Dach"},
    {"24-002", "abt & Co", "", "Heizung"},
    {"24-003", "Ärztehaus Nord", "Bad Aibling", ""},
    {"24-004", "ABT Bau", "Aalen", "Bad"},
    {"24-005", "", "Biberach", "Sanitär"},
    {"24-006", "Abend GmbH", "Öhringen", "Elektro"},
    {"24-007", "Straßenbau Süd", "Ulm", "Kanal"},
    {"24-008", "Strasser KG", "Ulm", "Kanal"},
};

} // namespace

class TstErpProjektModell : public QObject
{
    Q_OBJECT

private slots:
    void zellenUndTitel()
    {
        TErpProjektModell* m = modellMit(Kunden, this);
        QCOMPARE(m->rowCount(), 8);
        QCOMPARE(m->columnCount(), 4);
        QCOMPARE(m->zelle(2, TErpProjektModell::Kunde), QStringLiteral("Ärztehaus Nord"));
        QCOMPARE(m->zelle(1, TErpProjektModell::Baustelle), QString());
        QCOMPARE(m->data(m->index(6, 1)).toString(), QStringLiteral("Straßenbau Süd"));
        QStringList titel;
        for (int i = 0; i < 4; ++i)
            titel << m->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(titel, QStringList({"PROJEKT", "KUNDE", "BAUSTELLE", "BETREFF"}));
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
    }

    void sortieren_data()
    {
        QTest::addColumn<int>("spalte");
        QTest::addColumn<Qt::SortOrder>("ordnung");
        QTest::addColumn<QStringList>("projekte");
        // Case does not count, umlauts stand by their base letter, ß as ss; equal cells keep the
        // file's order. Whole rows move: the numbers are read from column 0.
        // Kunde: "", Abend, abt & Co, ABT Bau, Ärztehaus, Straßenbau (strassen…), Strasser, Zimmerei.
        QTest::newRow("Kunde aufsteigend") << 1 << Qt::AscendingOrder
            << QStringList({"24-005", "24-006", "24-002", "24-004", "24-003", "24-007", "24-008", "24-001"});
        QTest::newRow("Kunde absteigend") << 1 << Qt::DescendingOrder
            << QStringList({"24-001", "24-008", "24-007", "24-003", "24-004", "24-002", "24-006", "24-005"});
        // Baustelle: "", Aalen, Bad Aibling, Biberach, Öhringen, then Ulm three times in file order.
        QTest::newRow("Baustelle: Gleiche in Dateiordnung") << 2 << Qt::AscendingOrder
            << QStringList({"24-002", "24-004", "24-003", "24-005", "24-006", "24-001", "24-007", "24-008"});
    }

    void sortieren()
    {
        QFETCH(int, spalte);
        QFETCH(Qt::SortOrder, ordnung);
        QFETCH(QStringList, projekte);
        TErpProjektModell* m = modellMit(Kunden, this);
        m->sort(spalte, ordnung);
        QCOMPARE(::spalte(*m, 0), projekte);
        QCOMPARE(m->sortierSpalte(), spalte);
    }

    void suchen_data()
    {
        QTest::addColumn<int>("sortierung");
        QTest::addColumn<int>("spalte");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("projekt");
        QTest::newRow("ab in jeder Schreibung") << 1 << 1 << "ab" << "24-006";
        QTest::newRow("abt: erste von zweien") << 1 << 1 << "ABT" << "24-002";
        QTest::newRow("ä findet Ä") << 1 << 1 << "ä" << "24-003";
        QTest::newRow("ö findet Ö in der Baustelle") << 2 << 2 << "öh" << "24-006";
        QTest::newRow("ß") << 1 << 1 << "straß" << "24-007";
        QTest::newRow("leer: erste Zeile") << 1 << 1 << "" << "24-005";
        QTest::newRow("nur am Anfang") << 1 << 1 << "Bau" << "";
        QTest::newRow("ganzer Text") << 0 << 0 << "24-0071" << "";
        QTest::newRow("unsortiert: von oben") << -1 << 3 << "ka" << "24-007";
    }

    void suchen()
    {
        QFETCH(int, sortierung);
        QFETCH(int, spalte);
        QFETCH(QString, text);
        QFETCH(QString, projekt);
        TErpProjektModell* m = modellMit(Kunden, this);
        if (sortierung >= 0)
            m->sort(sortierung);
        const int zeile = m->suchen(spalte, text);
        QCOMPARE(zeile < 0 ? QString() : m->zelle(zeile, 0), projekt);
    }

    // Sorted by the searched column the search may jump; it must find what the walk from the top
    // finds, for every beginning of every cell in either case.
    void suchenWieVonOben()
    {
        TErpProjektModell* m = modellMit(Kunden, this);
        for (int s = 0; s < TErpProjektModell::SpaltenAnzahl; ++s) {
            m->sort(s);
            for (int zeile = 0; zeile < m->rowCount(); ++zeile) {
                const QString zelle = m->zelle(zeile, s);
                for (int n = 0; n <= qMin(4, int(zelle.size())); ++n) {
                    for (const QString& text : {zelle.left(n), zelle.left(n).toUpper(), zelle.left(n).toLower()}) {
                        int erwartet = -1;
                        for (int i = 0; i < m->rowCount() && erwartet < 0; ++i)
                            if (m->zelle(i, s).startsWith(text, Qt::CaseInsensitive))
                                erwartet = i;
                        QVERIFY2(m->suchen(s, text) == erwartet, qPrintable(QStringLiteral("Spalte %1, \"%2\"").arg(s).arg(text)));
                    }
                }
            }
        }
    }

    void leeresModell()
    {
        TErpProjektModell m;
        QCOMPARE(m.suchen(0, QString()), -1);
        m.sort(1);
        QCOMPARE(m.rowCount(), 0);
    }

    // The view's current row and selection stay on their project when the rows are re-sorted,
    // and appending rows makes the next sort by the same column sort again.
    void aktuelleZeileFolgtSortierung()
    {
        TErpProjektModell* m = modellMit(Kunden, this);
        QItemSelectionModel auswahl(m);
        auswahl.setCurrentIndex(m->index(3, 0), QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows);
        m->sort(1);
        QCOMPARE(m->zelle(auswahl.currentIndex().row(), 0), QStringLiteral("24-004"));
        QVERIFY(auswahl.isRowSelected(auswahl.currentIndex().row(), {}));

        std::vector<TErpZeile> neu;
        neu.emplace_back(std::array<QString, 4>{"24-009", "Aachener Hof", "", ""}, 8);
        m->zeilenAnhaengen(std::move(neu));
        QCOMPARE(m->sortierSpalte(), -1);
        m->sort(1);
        QCOMPARE(m->zelle(1, 1), QStringLiteral("Aachener Hof"));
    }
};

QTEST_GUILESS_MAIN(TstErpProjektModell)
#include "tst_erpprojektmodell.moc"
