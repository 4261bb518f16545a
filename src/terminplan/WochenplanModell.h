#pragma once

#include <QAbstractTableModel>
#include <QDate>

class TWochenplan;

// A week overview for a grid: column 0 the employee, columns 1 … 7 Monday … Sunday with the
// day's projects one per line.
class TWochenplanModell : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // The plan shown (not owned); nullptr shows nothing. Call again after the plan was reloaded.
    void setPlan(const TWochenplan* plan);
    // The day whose caption says "HEUTE".
    void setHeute(const QDate& heute) { m_heute = heute; }

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    // "MITARBEITER", then the days ("DO 10.12.", today with " · HEUTE").
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

private:
    const TWochenplan* m_plan = nullptr;
    QDate m_heute;
};
