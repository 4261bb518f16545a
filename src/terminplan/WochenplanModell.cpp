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

QVariant TWochenplanModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const
{
    if (richtung != Qt::Horizontal || rolle != Qt::DisplayRole)
        return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
    if (abschnitt == 0)
        return QStringLiteral("MITARBEITER");
    if (!m_plan || abschnitt > 7)
        return {};
    const int tag = abschnitt - 1;
    const QString titel = m_plan->TagTitel(tag);
    return m_plan->Montag().addDays(tag) == m_heute ? titel + QStringLiteral(" · HEUTE") : titel;
}
