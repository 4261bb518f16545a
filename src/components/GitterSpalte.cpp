#include "GitterSpalte.h"

#include "DatenGitter.h"
#include "TKADaoTable.h"  // TDataSource.h needs the complete dataset type
#include "TDataSource.h"

#include <QHeaderView>

TGitterSpalte::TGitterSpalte(TDatenGitter* gitter, int index, TSpaltenArt art, const QString& feld,
                             const QString& titel)
    : QObject(gitter)
    , m_gitter(gitter)
    , m_index(index)
    , m_art(art)
    , m_feld(feld)
    , m_titel(titel)
{
    if (art == TSpaltenArt::Memo)
        m_ausrichtung = Qt::AlignLeft | Qt::AlignTop;
    if (art == TSpaltenArt::CheckBox || art == TSpaltenArt::Fortschritt || art == TSpaltenArt::Rang)
        m_ausrichtung = Qt::AlignHCenter;
}

void TGitterSpalte::setTitel(const QString& titel)
{
    m_titel = titel;
    if (auto* modell = m_gitter->model())
        emit modell->headerDataChanged(Qt::Horizontal, m_index, m_index);
    emit geaendert();
}

int TGitterSpalte::position() const
{
    const QHeaderView* kopf = m_gitter->horizontalHeader();
    if (m_index < kopf->count())
        return kopf->visualIndex(m_index);
    return m_position >= 0 ? m_position : m_index;
}

void TGitterSpalte::setPosition(int position)
{
    QHeaderView* kopf = m_gitter->horizontalHeader();
    if (m_index >= kopf->count()) {
        m_position = position;
        return;
    }
    const int ziel = qBound(0, position, kopf->count() - 1);
    kopf->moveSection(kopf->visualIndex(m_index), ziel);
    m_position = ziel;
}

int TGitterSpalte::breite() const
{
    return m_breite;
}

void TGitterSpalte::setBreite(int breite)
{
    m_breite = qMax(breite, TDatenGitter::KleinsteSpaltenbreite);
    m_gitter->kopfBreiteSetzen(this);
}

bool TGitterSpalte::sichtbar() const
{
    return m_sichtbar;
}

void TGitterSpalte::setSichtbar(bool sichtbar)
{
    m_sichtbar = sichtbar;
    QHeaderView* kopf = m_gitter->horizontalHeader();
    if (m_index < kopf->count()) {
        kopf->setSectionHidden(m_index, !sichtbar);
        m_gitter->kopfBreiteSetzen(this);
    }
}

void TGitterSpalte::setAusrichtung(Qt::Alignment ausrichtung)
{
    m_ausrichtung = ausrichtung;
    emit geaendert();
}

QFont TGitterSpalte::schrift() const
{
    return m_schrift.value_or(m_gitter->font());
}

void TGitterSpalte::setSchrift(const QFont& schrift)
{
    m_schrift = schrift;
    emit geaendert();
}

void TGitterSpalte::setFarbe(int32_t code)
{
    m_farbe = code;
    emit geaendert();
}

void TGitterSpalte::setSchriftfarbe(int32_t code)
{
    m_schriftfarbe = code;
    emit geaendert();
}

void TGitterSpalte::setCheckTexte(const QString& an, const QString& aus)
{
    m_textAn = an;
    m_textAus = aus;
    emit geaendert();
}

void TGitterSpalte::setLookup(TDataSource* liste, const QString& schluessel, const QString& anzeige, int zeilen)
{
    m_lookupListe = liste;
    m_lookupSchluessel = schluessel;
    m_lookupAnzeige = anzeige;
    m_lookupZeilen = zeilen;
    emit geaendert();
}

TDataSource* TGitterSpalte::lookupListe() const
{
    return m_lookupListe;
}

void TGitterSpalte::setFortschrittStil(TFortschrittStil stil)
{
    m_stil = stil;
    emit geaendert();
}

void TGitterSpalte::setMaximum(int maximum)
{
    m_maximum = qMax(0, maximum);
    emit geaendert();
}

void TGitterSpalte::setGlyphGroesse(int groesse)
{
    m_glyphGroesse = qMax(1, groesse);
    emit geaendert();
}

void TGitterSpalte::setGlyphenDeckend(bool deckend)
{
    m_glyphenDeckend = deckend;
    emit geaendert();
}
