#pragma once

#include "BerichtDefinition.h"

#include <QDate>
#include <QSizeF>
#include <QStringList>
#include <memory>
#include <vector>

/// One thing to draw on a prepared page: an object of the definition at the place its band
/// was put, with its text worked out as far as it can be before the page count is known.
struct TSeitenElement
{
    const TBerichtObjekt* objekt = nullptr;
    double bandOben = 0;   // millimetres from the top of the paper
    double bandLinks = 0;  // millimetres from the left of the paper
    QString text;          // text objects: the text, when it does not depend on the page
    QStringList teile;     // text objects that do: TBerichtAusdruck::Vorbereiten
};

struct TBerichtSeite
{
    std::vector<TSeitenElement> elemente;
};

/// An entry of the outline: a text and where it stands.
struct TGliederungsEintrag
{
    QString text;
    int seite = 0;         // 0-based
    double oben = 0;       // millimetres
};

/// The pages of one run of a report, kept as drawing lists in millimetres; drawn on screen,
/// on a printer and into a PDF by the same renderer (BerichtZeichner.h).
class TBerichtSeiten
{
public:
    explicit TBerichtSeiten(std::shared_ptr<const TBerichtDefinition> definition);

    const TBerichtDefinition& Definition() const { return *m_definition; }
    QSizeF PapierMm() const { return m_papier; }
    QDate Datum() const { return m_datum; }
    void setDatum(const QDate& datum) { m_datum = datum; }

    int Anzahl() const { return int(m_seiten.size()); }
    const TBerichtSeite& Seite(int index) const { return m_seiten[size_t(index)]; }
    TBerichtSeite& NeueSeite() { return m_seiten.emplace_back(); }
    TBerichtSeite& LetzteSeite() { return m_seiten.back(); }

    const std::vector<TGliederungsEintrag>& Gliederung() const { return m_gliederung; }
    void GliederungHinzufuegen(TGliederungsEintrag eintrag) { m_gliederung.push_back(std::move(eintrag)); }

    /// The text an element shows on page `index` (0-based) of this run.
    QString Text(const TSeitenElement& element, int index) const;
    /// Every text of a page, in drawing order (tests and searches use it).
    QStringList Texte(int index) const;

private:
    std::shared_ptr<const TBerichtDefinition> m_definition;
    QSizeF m_papier;
    QDate m_datum;
    std::vector<TBerichtSeite> m_seiten;
    std::vector<TGliederungsEintrag> m_gliederung;
};
