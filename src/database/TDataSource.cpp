#include "TDataSource.h"

#include "TKADaoTable.h"

TDataSource::TDataSource(QObject* parent)
    : QObject(parent)
{
}

void TDataSource::setDataSet(TKADaoTable* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    emit RowsAboutToBeReset();
    trennen();
    m_dataSet = dataSet;
    verbinden();
    emit RowsReset();
    allesMelden();
}

void TDataSource::setEnabled(bool wert)
{
    if (wert == m_enabled)
        return;
    emit RowsAboutToBeReset();
    trennen();
    m_enabled = wert;
    verbinden();
    emit RowsReset();
    allesMelden();
}

TDataSetState TDataSource::State() const
{
    if (!m_dataSet || !m_enabled)
        return TDataSetState::dsInactive;
    return m_dataSet->State();
}

void TDataSource::verbinden()
{
    if (!m_dataSet || !m_enabled)
        return;
    TKADaoTable* d = m_dataSet;
    m_verbindungen << connect(d, &TKADaoTable::StateChange, this, &TDataSource::StateChange)
                   << connect(d, &TKADaoTable::DataChange, this, &TDataSource::DataChange)
                   << connect(d, &TKADaoTable::UpdateData, this, &TDataSource::UpdateData)
                   << connect(d, &TKADaoTable::BrowseModeNeeded, this, &TDataSource::BrowseModeNeeded)
                   << connect(d, &TKADaoTable::Scrolled, this, &TDataSource::Scrolled)
                   << connect(d, &TKADaoTable::RowsAboutToBeReset, this, &TDataSource::RowsAboutToBeReset)
                   << connect(d, &TKADaoTable::RowsReset, this, &TDataSource::RowsReset)
                   << connect(d, &TKADaoTable::RowsAboutToBeInserted, this, &TDataSource::RowsAboutToBeInserted)
                   << connect(d, &TKADaoTable::RowsInserted, this, &TDataSource::RowsInserted)
                   << connect(d, &TKADaoTable::RowsAboutToBeRemoved, this, &TDataSource::RowsAboutToBeRemoved)
                   << connect(d, &TKADaoTable::RowsRemoved, this, &TDataSource::RowsRemoved)
                   << connect(d, &TKADaoTable::RowsChanged, this, &TDataSource::RowsChanged)
                   // A dataset that goes away is a dataset that closed.
                   << connect(d, &QObject::destroyed, this, [this] {
                          emit RowsAboutToBeReset();
                          trennen();
                          emit RowsReset();
                          allesMelden();
                      });
}

void TDataSource::trennen()
{
    for (const auto& verbindung : std::as_const(m_verbindungen))
        disconnect(verbindung);
    m_verbindungen.clear();
}

void TDataSource::allesMelden()
{
    emit StateChange();
    emit Scrolled(m_dataSet && m_enabled ? m_dataSet->CurrentRow() : -1);
    emit DataChange(nullptr);
}
