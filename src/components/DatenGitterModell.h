#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QVector>

class TDataSource;
class TDatenGitter;
class TField;
class TKADaoTable;
class TListenVerbindung;

// The model behind a data grid bound to a data source: one row per dataset row, one column
// per column definition of the grid. It reads values only when the view asks for them, gives
// each column kind its display text besides the field's own value, follows the dataset's row
// changes as a Qt model must, and turns edits in the grid into edits of the dataset.
class TDatenGitterModell : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TDatenGitterModell(TDatenGitter* gitter);

    void setDatenquelle(TDataSource* quelle);
    TDataSource* datenquelle() const;
    TKADaoTable* datenmenge() const;

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& wert, int rolle = Qt::EditRole) override;

    // Called when the grid gains a column or a column's definition changes.
    void spaltenNeu();
    // The dataset is adding, removing or re-reading rows just now.
    bool imUmbau() const { return m_umbau; }

private:
    bool gueltig(const QModelIndex& index) const;
    TField* feld(int spalte) const;
    TListenVerbindung* liste(int spalte) const;
    void zeilenAktualisieren(int erste, int letzte);
    void felderZuordnen() const;

    TDatenGitter* m_gitter;
    QPointer<TDataSource> m_quelle;
    QHash<int, TListenVerbindung*> m_listen;
    int m_spalten = 0;
    bool m_umbau = false;
    // Field of each column, found again whenever the dataset is read anew (its fields are
    // made when it opens).
    mutable QVector<TField*> m_felder;
    mutable bool m_felderGueltig = false;
};
