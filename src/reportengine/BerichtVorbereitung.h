#pragma once

#include "BerichtSeiten.h"

#include <QHash>
#include <QString>
#include <memory>

class TBerichtDatenmenge;

/// One run of a report over its datasets, in steps, so that a window can show the pages as
/// they come and stay responsive:
/// - the page header opens every page, the page footer closes every page at its foot;
/// - the master band walks its dataset from first to last row; after each master row the
///   detail band walks its dataset, which the database layer has restricted to that row;
///   a master row without detail rows is left out unless its band says otherwise;
/// - a band that does not fit above the page footer starts a new page (one that does not fit
///   on an empty page is put there all the same, so a run always ends);
/// - no printed master row gives one page with header and footer.
class TBerichtVorbereitung
{
public:
    TBerichtVorbereitung(std::shared_ptr<const TBerichtDefinition> definition,
                         QHash<QString, TBerichtDatenmenge*> datenmengen, const QDate& datum);
    ~TBerichtVorbereitung();

    /// Works for about `millisekunden` (at least one master row); true when the run is done.
    /// Errors of the datasets are passed on as they are.
    bool Schritt(int millisekunden);
    /// Runs to the end.
    void Beenden();
    bool Fertig() const { return m_fertig; }
    /// Share of the master rows done, 0 … 1.
    double Fortschritt() const;

    /// The pages so far; all of them once Fertig().
    std::shared_ptr<const TBerichtSeiten> Seiten() const { return m_seiten; }

private:
    void starten();
    void masterZeile();
    void abschliessen();
    void bandSetzen(const TBerichtBand& band);
    void bandAn(const TBerichtBand& band, double oben);
    void neueSeite();
    void seiteSchliessen();
    TBerichtDatenmenge* datenmenge(const QString& name) const;
    QVariant feldWert(const QString& datenmenge, const QString& feld) const;

    std::shared_ptr<const TBerichtDefinition> m_definition;
    QHash<QString, TBerichtDatenmenge*> m_datenmengen;
    std::shared_ptr<TBerichtSeiten> m_seiten;
    const TBerichtBand* m_kopf;
    const TBerichtBand* m_master;
    const TBerichtBand* m_detail;
    const TBerichtBand* m_fuss;
    TBerichtDatenmenge* m_masterDaten = nullptr;
    TBerichtDatenmenge* m_detailDaten = nullptr;
    double m_y = 0;              // where the next band goes, millimetres from the paper's top
    double m_fussOben = 0;       // where the page footer begins
    bool m_seiteHatDaten = false;
    bool m_gestartet = false;
    bool m_fertig = false;
    int m_masterErledigt = 0;
    int m_masterAnzahl = 0;
};
