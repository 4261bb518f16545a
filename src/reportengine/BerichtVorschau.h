#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;
class QListView;
class QPrinter;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QTimer;
class QTreeWidget;
class TBericht;
class TBerichtSeiten;
class TBerichtVorbereitung;
class TSeitenFlaeche;
class TSeitenbildModell;

/// How the preview's zoom is set.
enum class TZoomModus {
    Fest,          // the zoom factor as set
    Seitenbreite,  // follows the view so that the page width fills it
    GanzeSeite     // follows the view so that one whole page fits it
};

/// The preview control: the pages of a report run one under another, with zoom, paging, an
/// outline and a thumbnail panel sharing one side panel, printing and page settings. A run is
/// prepared in steps between events, so the pages show up as they come and the window stays
/// responsive; printing and page settings wait for the end of the run.
class TBerichtVorschau : public QWidget
{
    Q_OBJECT

public:
    explicit TBerichtVorschau(QWidget* parent = nullptr);
    ~TBerichtVorschau() override;

    /// Discards the pages of any earlier run, resets the view (outline and thumbnails hidden,
    /// outline panel 120 pixels wide, zoom 1.0 fixed, first page) and starts preparing.
    void BerichtZeigen(TBericht* bericht);
    /// Prepares anew from the datasets as they stand, keeping page and scroll position.
    void NeuVorbereiten();
    /// True while a run is being prepared.
    bool Beschaeftigt() const;
    /// Prepares the rest of the run at once (printing and saving call it too).
    void VorbereitungAbschliessen();
    /// The pages of the current run; nullptr before the first.
    std::shared_ptr<const TBerichtSeiten> Seiten() const { return m_seiten; }

    // --- Pages (1-based) ---
    int Seite() const { return m_seite; }
    int Seitenanzahl() const;
    void ErsteSeite();
    void VorherigeSeite();
    void NaechsteSeite();
    void LetzteSeite();
    /// Shows page `nummer` (clamped to the pages there are) with the view at its top.
    void SeiteZeigen(int nummer);

    // --- Zoom ---
    double Zoom() const { return m_zoom; }
    /// Sets a fixed zoom; below 0.25 it becomes 0.25.
    void setZoom(double zoom);
    TZoomModus ZoomModus() const { return m_zoomModus; }
    void setZoomModus(TZoomModus modus);

    // --- Side panel ---
    bool GliederungSichtbar() const;
    void setGliederungSichtbar(bool sichtbar);
    bool VorschaubilderSichtbar() const;
    void setVorschaubilderSichtbar(bool sichtbar);
    int GliederungBreite() const;

    /// Scrolls the view by `einheiten` pixels (negative: up).
    void Scrollen(int einheiten);
    int ScrollPosition() const;

    // --- Output ---
    /// The print dialog for the pages of the run, the page shown counting as current page;
    /// nothing while preparing.
    void Drucken();
    /// Prints pages `von` … `bis` (1-based) on `drucker`.
    void DruckenAuf(QPrinter& drucker, int von, int bis);
    /// The page-settings dialog for the printer; nothing while preparing or without a page.
    void Seiteneinstellungen();
    /// Writes the run as a PDF file (Fehler when it cannot be written).
    void PdfSpeichern(const QString& pfad);

    /// The area the pages are drawn in (for the window's mouse-wheel handling and tests).
    QWidget* Seitenflaeche() const;

signals:
    /// The current page number was set (by paging, scrolling, thumbnails or the outline).
    void SeiteGeaendert();
    /// The zoom factor changed (also through a zoom mode following the view).
    void ZoomGeaendert();
    /// A run has been prepared to its end.
    void VorbereitungFertig();

private:
    friend class TSeitenFlaeche;
    void vorbereitungStarten(std::unique_ptr<TBerichtVorbereitung> lauf);
    void vorbereitungsSchritt();
    void seitenHinzugekommen();
    void seiteSetzen(int nummer);
    void seiteAusScrollPosition();
    void zoomAnwenden(double zoom);
    QPrinter& drucker();

    QPointer<TBericht> m_bericht;
    std::unique_ptr<TBerichtVorbereitung> m_lauf;
    std::shared_ptr<const TBerichtSeiten> m_seiten;
    int m_bekannteSeiten = 0;
    int m_seite = 1;
    double m_zoom = 1.0;
    TZoomModus m_zoomModus = TZoomModus::Fest;
    bool m_seiteWirdGesetzt = false;
    size_t m_bekannteGliederung = 0;
    std::unique_ptr<QPrinter> m_drucker;

    QSplitter* m_teiler;
    QStackedWidget* m_seitenleiste;
    QTreeWidget* m_gliederung;
    QListView* m_vorschaubilder;
    TSeitenbildModell* m_bildModell;
    TSeitenFlaeche* m_flaeche;
    QWidget* m_fortschrittsLeiste;
    QLabel* m_fortschrittsText;
    QProgressBar* m_fortschritt;
    QTimer* m_takt;
};
