#include "WochenplanModell.h"

#include "GitterSpalte.h"
#include "Wochenplan.h"

void TWochenplanModell::setPlan(const TWochenplan* plan)
{
    beginResetModel();
    m_plan = plan;
    endResetModel();
}

int TWochenplanModell::rowCount(const QModelIndex& eltern) const
{
    return eltern.isValid() || !m_plan ? 0 : int(m_plan->Zeilen().size());
}

int TWochenplanModell::columnCount(const QModelIndex& eltern) const
{
    return eltern.isValid() ? 0 : 8;
}

QVariant TWochenplanModell::data(const QModelIndex& index, int rolle) const
{
    if (!m_plan || !index.isValid() || (rolle != Qt::DisplayRole && rolle != GitterRolle::Rohwert))
        return {};
    const TWochenplanZeile& zeile = m_plan->Zeilen()[size_t(index.row())];
    if (index.column() == 0)
        return zeile.name;
    return zeile.tage[size_t(index.column() - 1)].join(QLatin1Char('\n'));
}
