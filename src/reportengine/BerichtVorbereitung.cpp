#include "BerichtVorbereitung.h"

#include "BerichtDatenmenge.h"
#include "Fehler.h"

#include <QElapsedTimer>

TBerichtVorbereitung::TBerichtVorbereitung(std::shared_ptr<const TBerichtDefinition> definition,
                                           QHash<QString, TBerichtDatenmenge*> datenmengen, const QDate& datum)
    : m_definition(std::move(definition)), m_datenmengen(std::move(datenmengen)),
      m_seiten(std::make_shared<TBerichtSeiten>(m_definition)), m_kopf(m_definition->Band(TBandArt::Seitenkopf)),
      m_master(m_definition->Band(TBandArt::Stammdaten)), m_detail(m_definition->Band(TBandArt::Detaildaten)),
      m_fuss(m_definition->Band(TBandArt::Seitenfuss))
{
    m_seiten->setDatum(datum);
    m_masterDaten = m_master ? datenmenge(m_master->Datenmenge) : nullptr;
    m_detailDaten = m_detail ? datenmenge(m_detail->Datenmenge) : nullptr;
    m_fussOben = m_seiten->PapierMm().height() - m_definition->Raender.bottom() - (m_fuss ? m_fuss->Hoehe : 0.0);
}

TBerichtVorbereitung::~TBerichtVorbereitung() = default;

TBerichtDatenmenge* TBerichtVorbereitung::datenmenge(const QString& name) const
{
    for (auto it = m_datenmengen.cbegin(); it != m_datenmengen.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    throw Fehler(QStringLiteral("Die Berichtsdatenmenge \"%1\" ist nicht vorhanden.").arg(name));
}

QVariant TBerichtVorbereitung::feldWert(const QString& name, const QString& feld) const
{
    if (m_masterDaten && m_masterDaten->Name().compare(name, Qt::CaseInsensitive) == 0)
        return m_masterDaten->Wert(feld);
    if (m_detailDaten && m_detailDaten->Name().compare(name, Qt::CaseInsensitive) == 0)
        return m_detailDaten->Wert(feld);
    return datenmenge(name)->Wert(feld);
}

double TBerichtVorbereitung::Fortschritt() const
{
    if (m_fertig)
        return 1.0;
    if (m_masterAnzahl <= 0)
        return 0.0;
    return std::min(1.0, double(m_masterErledigt) / double(m_masterAnzahl));
}

bool TBerichtVorbereitung::Schritt(int millisekunden)
{
    if (m_fertig)
        return true;
    QElapsedTimer uhr;
    uhr.start();
    if (!m_gestartet)
        starten();
    do {
        if (!m_masterDaten || m_masterDaten->Eof()) {
            abschliessen();
            break;
        }
        masterZeile();
    } while (uhr.elapsed() < millisekunden);
    return m_fertig;
}

void TBerichtVorbereitung::Beenden()
{
    while (!Schritt(1000)) {
    }
}

void TBerichtVorbereitung::starten()
{
    m_gestartet = true;
    neueSeite();
    if (m_masterDaten) {
        m_masterAnzahl = m_masterDaten->Anzahl();
        m_masterDaten->First();
    }
}

void TBerichtVorbereitung::masterZeile()
{
    bool detailDa = false;
    if (m_detailDaten) {
        m_detailDaten->First();
        detailDa = !m_detailDaten->Eof();
    }
    if (detailDa || !m_detailDaten || m_master->DruckenOhneDetails) {
        bandSetzen(*m_master);
        if (m_detailDaten) {
            for (; !m_detailDaten->Eof(); m_detailDaten->Next())
                bandSetzen(*m_detail);
        }
    }
    m_masterDaten->Next();
    ++m_masterErledigt;
}

void TBerichtVorbereitung::abschliessen()
{
    seiteSchliessen();
    m_fertig = true;
}

void TBerichtVorbereitung::bandSetzen(const TBerichtBand& band)
{
    if (m_y + band.Hoehe > m_fussOben + 1e-9 && m_seiteHatDaten) {
        seiteSchliessen();
        neueSeite();
    }
    bandAn(band, m_y);
    m_y += band.Hoehe;
    m_seiteHatDaten = true;
}

void TBerichtVorbereitung::bandAn(const TBerichtBand& band, double oben)
{
    const auto wert = [this](const QString& name, const QString& feld) { return feldWert(name, feld); };
    const QDate datum = m_seiten->Datum();
    const double links = m_definition->Raender.left();
    TBerichtSeite& seite = m_seiten->LetzteSeite();
    for (const TBerichtObjekt& o : band.Objekte) {
        TSeitenElement& e = seite.elemente.emplace_back();
        e.objekt = &o;
        e.bandOben = oben;
        e.bandLinks = links;
        if (o.art != TBerichtObjekt::Art::Text)
            continue;
        if (o.Ausdruck.Seitenabhaengig())
            e.teile = o.Ausdruck.Vorbereiten(wert, datum);
        else
            e.text = o.Ausdruck.Text(wert, datum);
    }
    if (!band.Gliederung.Teile().empty()) {
        m_seiten->GliederungHinzufuegen(
            {band.Gliederung.Text(wert, datum), m_seiten->Anzahl() - 1, oben});
    }
}

void TBerichtVorbereitung::neueSeite()
{
    m_seiten->NeueSeite();
    m_y = m_definition->Raender.top();
    m_seiteHatDaten = false;
    if (m_kopf) {
        bandAn(*m_kopf, m_y);
        m_y += m_kopf->Hoehe;
    }
}

void TBerichtVorbereitung::seiteSchliessen()
{
    if (m_fuss)
        bandAn(*m_fuss, m_fussOben);
}
