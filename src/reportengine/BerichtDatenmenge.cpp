#include "BerichtDatenmenge.h"

#include "TField.h"
#include "TKADaoTable.h"

TBerichtTabelle::TBerichtTabelle(QString name, TKADaoTable* tabelle)
    : TBerichtDatenmenge(std::move(name)), m_tabelle(tabelle)
{
}

void TBerichtTabelle::First()
{
    m_tabelle->First();
}

void TBerichtTabelle::Next()
{
    m_tabelle->Next();
}

bool TBerichtTabelle::Eof() const
{
    return !m_tabelle->Active() || m_tabelle->Eof() || m_tabelle->IsEmpty();
}

QVariant TBerichtTabelle::Wert(const QString& feld) const
{
    return m_tabelle->FieldByName(feld)->Value();
}

int TBerichtTabelle::Anzahl() const
{
    return m_tabelle->RecordCount();
}

void TBerichtTabelle::Auffrischen()
{
    if (m_tabelle->Active())
        m_tabelle->Requery();
}
