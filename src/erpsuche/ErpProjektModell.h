#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

struct TMasterProjekt;

// One row of the ERP project list: number, customer, construction site and first subject line,
// held as one text with the lengths of its four cells (a row of 100,000 costs one allocation).
class TErpZeile
{
public:
    TErpZeile() = default;
    TErpZeile(const std::array<QString, 4>& zellen, int32_t nr);
    // The four cells of an ERP record, its texts converted from the DOS code page.
    static TErpZeile ausSatz(const TMasterProjekt& satz, int32_t nr);

    QStringView zelle(int spalte) const;
    // Place in the order the file gave (key 6), so equal cells keep that order when sorted.
    int32_t nr() const { return m_nr; }

private:
    QString m_text;
    std::array<uint8_t, 4> m_laenge{};
    int32_t m_nr = 0;
};

// The rows of the ERP search grid: read only, sortable by any of its four columns, and searched
// for the first row whose cell begins with a text.
class TErpProjektModell : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Spalte { Projekt, Kunde, Baustelle, Betreff, SpaltenAnzahl };

    explicit TErpProjektModell(QObject* parent = nullptr);

    // Adds rows at the end in one step.
    void zeilenAnhaengen(std::vector<TErpZeile> zeilen);
    void leeren();
    QString zelle(int zeile, int spalte) const;

    // The first row, from the top, whose cell in the column begins with the text regardless of
    // upper and lower case; -1 when none does. The empty text matches the first row.
    int suchen(int spalte, const QString& anfang) const;

    // Alphabetical, upper and lower case alike, umlauts beside their base letter (ä with a,
    // ß as ss); equal cells stay in the file's order. Rows already in that order are left alone.
    void sort(int spalte, Qt::SortOrder reihenfolge = Qt::AscendingOrder) override;
    // The column sorted by last; -1 while in the file's order.
    int sortierSpalte() const { return m_sortSpalte; }

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column captions, upper case.
    static QString spaltenTitel(int spalte);

private:
    std::vector<TErpZeile> m_zeilen;
    int m_sortSpalte = -1;
    Qt::SortOrder m_sortOrdnung = Qt::AscendingOrder;
};

// The key by which a cell is sorted: case folded, umlauts and other accented letters reduced
// to their base letter, ß to ss.
QString Sortierschluessel(QStringView text);
