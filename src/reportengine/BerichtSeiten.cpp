#include "BerichtSeiten.h"

TBerichtSeiten::TBerichtSeiten(std::shared_ptr<const TBerichtDefinition> definition)
    : m_definition(std::move(definition)), m_papier(m_definition->PapierMm())
{
}

QString TBerichtSeiten::Text(const TSeitenElement& element, int index) const
{
    const TBerichtAusdruck& ausdruck = element.objekt->Ausdruck;
    if (!ausdruck.Seitenabhaengig())
        return element.text;
    return ausdruck.Zusammensetzen(element.teile, index + 1, Anzahl());
}

QStringList TBerichtSeiten::Texte(int index) const
{
    QStringList texte;
    for (const TSeitenElement& e : Seite(index).elemente)
        if (e.objekt->art == TBerichtObjekt::Art::Text)
            texte << Text(e, index);
    return texte;
}
