#include "Bericht.h"

#include "BerichtDatenmenge.h"
#include "BerichtVorbereitung.h"

TBericht::TBericht(std::shared_ptr<const TBerichtDefinition> definition, QObject* parent)
    : QObject(parent), m_definition(std::move(definition))
{
}

TBericht::~TBericht() = default;

void TBericht::DatenmengeHinzufuegen(TBerichtDatenmenge* datenmenge)
{
    m_datenmengen.insert(datenmenge->Name(), datenmenge);
    m_reihenfolge.append(datenmenge);
}

void TBericht::DatenAuffrischen()
{
    for (TBerichtDatenmenge* d : m_reihenfolge)
        d->Auffrischen();
}

std::unique_ptr<TBerichtVorbereitung> TBericht::NeueVorbereitung(const QDate& datum) const
{
    return std::make_unique<TBerichtVorbereitung>(m_definition, m_datenmengen, datum);
}

std::shared_ptr<const TBerichtSeiten> TBericht::Vorbereiten(const QDate& datum) const
{
    auto lauf = NeueVorbereitung(datum);
    lauf->Beenden();
    return lauf->Seiten();
}
