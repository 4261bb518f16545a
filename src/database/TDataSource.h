#pragma once

#include "DatenbankTypen.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class TField;
class TKADaoTable;

/// The link between a dataset and the controls bound to it (and the detail datasets that
/// follow it). It passes on every notification of its dataset; a control connects once and
/// keeps working when the dataset is exchanged. With Enabled false nothing is passed on and
/// State is dsInactive; enabling again sends a reset.
class TDataSource : public QObject
{
    Q_OBJECT

public:
    explicit TDataSource(QObject* parent = nullptr);

    TKADaoTable* DataSet() const { return m_dataSet; }
    void setDataSet(TKADaoTable* dataSet);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool wert);
    /// The dataset's state; dsInactive without dataset or while disabled.
    TDataSetState State() const;

signals:
    // The same meaning as the signals of TKADaoTable.
    void StateChange();
    void DataChange(TField* Field);
    void UpdateData();
    void BrowseModeNeeded();
    void Scrolled(int zeile);
    void RowsAboutToBeReset();
    void RowsReset();
    void RowsAboutToBeInserted(int erste, int letzte);
    void RowsInserted();
    void RowsAboutToBeRemoved(int erste, int letzte);
    void RowsRemoved();
    void RowsChanged(int erste, int letzte);

private:
    void verbinden();
    void trennen();
    void allesMelden();

    QPointer<TKADaoTable> m_dataSet;
    bool m_enabled = true;
    QList<QMetaObject::Connection> m_verbindungen;
};
