#include "BerichtVorschau.h"

#include "Bericht.h"
#include "BerichtSeiten.h"
#include "BerichtVorbereitung.h"
#include "BerichtZeichner.h"
#include "Fehler.h"

#include <QAbstractListModel>
#include <QAbstractScrollArea>
#include <QCache>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr double KleinsterZoom = 0.25;
constexpr int Rand = 10;             // pixels around the pages
constexpr int Abstand = 10;          // pixels between two pages
constexpr int Bildbreite = 88;       // width of a thumbnail
constexpr int SchrittMs = 40;        // preparing between two looks at the event queue
constexpr int GliederungBreiteStart = 120;

double mmInPixel(const QWidget* w)
{
    return w->logicalDpiX() / 25.4;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The pages one under another; only the pages in view are drawn.

class TSeitenFlaeche : public QAbstractScrollArea
{
public:
    explicit TSeitenFlaeche(TBerichtVorschau* vorschau) : QAbstractScrollArea(vorschau), m_vorschau(vorschau)
    {
        setObjectName(QStringLiteral("Seitenflaeche"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setAutoFillBackground(false);
        verticalScrollBar()->setSingleStep(20);
    }

    QSizeF seitePx() const
    {
        const auto& s = m_vorschau->m_seiten;
        const QSizeF mm = s ? s->PapierMm() : QSizeF(210, 297);
        return mm * mmInPixel(viewport()) * m_vorschau->m_zoom;
    }
    double seitenSchritt() const { return seitePx().height() + Abstand; }
    int seitenOben(int index) const { return int(std::lround(index * seitenSchritt())); }

    // The zoom that lets the page width, or the whole page, fill the view.
    double passenderZoom(TZoomModus modus) const
    {
        const auto& s = m_vorschau->m_seiten;
        const QSizeF mm = (s ? s->PapierMm() : QSizeF(210, 297)) * mmInPixel(viewport());
        const double breite = (viewport()->width() - 2.0 * Rand) / mm.width();
        if (modus == TZoomModus::Seitenbreite)
            return breite;
        return std::min(breite, (viewport()->height() - 2.0 * Rand) / mm.height());
    }

    void bereicheSetzen()
    {
        const int anzahl = std::max(1, m_vorschau->Seitenanzahl());
        // Every page, the last one too, can be scrolled up to the top of the view.
        verticalScrollBar()->setRange(0, seitenOben(anzahl - 1));
        verticalScrollBar()->setPageStep(viewport()->height());
        const int inhalt = int(std::ceil(seitePx().width())) + 2 * Rand;
        horizontalScrollBar()->setRange(0, std::max(0, inhalt - viewport()->width()));
        horizontalScrollBar()->setPageStep(viewport()->width());
    }

    // The page whose upper half (or the upper half of the view, if that is smaller) is in
    // view: it stays the same when the view is put at a page's top.
    int seiteBeiPosition() const
    {
        const double punkt = verticalScrollBar()->value() + std::min(double(viewport()->height()), seitePx().height()) / 2;
        const int index = int(std::floor(punkt / seitenSchritt()));
        return std::clamp(index, 0, std::max(0, m_vorschau->Seitenanzahl() - 1)) + 1;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter maler(viewport());
        maler.fillRect(viewport()->rect(), QColor(0x80, 0x80, 0x80));
        const auto& seiten = m_vorschau->m_seiten;
        if (!seiten || seiten->Anzahl() == 0)
            return;
        const QSizeF groesse = seitePx();
        const double schritt = seitenSchritt();
        const int oben = verticalScrollBar()->value();
        const double inhaltBreite = groesse.width() + 2 * Rand;
        const double x = inhaltBreite < viewport()->width() ? (viewport()->width() - groesse.width()) / 2
                                                            : Rand - horizontalScrollBar()->value();
        const int erste = std::max(0, int(std::floor((oben - Rand) / schritt)));
        for (int i = erste; i < seiten->Anzahl(); ++i) {
            const QRectF blatt(x, Rand + i * schritt - oben, groesse.width(), groesse.height());
            if (blatt.top() > viewport()->height())
                break;
            maler.fillRect(blatt.translated(3, 3), QColor(0x50, 0x50, 0x50));
            maler.fillRect(blatt, Qt::white);
            maler.save();
            maler.setClipRect(blatt);
            maler.translate(blatt.topLeft());
            maler.scale(m_vorschau->m_zoom, m_vorschau->m_zoom);
            BerichtSeiteZeichnen(maler, *seiten, i, viewport(), mmInPixel(viewport()));
            maler.restore();
        }
    }

    void scrollContentsBy(int, int) override
    {
        viewport()->update();
        m_vorschau->seiteAusScrollPosition();
    }

    void resizeEvent(QResizeEvent* ereignis) override
    {
        QAbstractScrollArea::resizeEvent(ereignis);
        if (m_vorschau->m_zoomModus != TZoomModus::Fest)
            m_vorschau->zoomAnwenden(passenderZoom(m_vorschau->m_zoomModus));
        bereicheSetzen();
    }

    void wheelEvent(QWheelEvent* ereignis) override
    {
        // Scrolls, never zooms, whatever key is held.
        m_vorschau->Scrollen(-(ereignis->angleDelta().y() / 120) * 20);
        ereignis->accept();
    }

private:
    TBerichtVorschau* m_vorschau;
};

// ---------------------------------------------------------------------------------------------
// Thumbnails, drawn when they come into view and kept for a while.

class TSeitenbildModell : public QAbstractListModel
{
public:
    explicit TSeitenbildModell(QObject* eltern) : QAbstractListModel(eltern), m_bilder(300) {}

    void setSeiten(std::shared_ptr<const TBerichtSeiten> seiten)
    {
        beginResetModel();
        m_seiten = std::move(seiten);
        m_anzahl = m_seiten ? m_seiten->Anzahl() : 0;
        m_bilder.clear();
        endResetModel();
    }

    // The run has grown: new rows, and the page that was last may have got more on it.
    void gewachsen()
    {
        const int neu = m_seiten ? m_seiten->Anzahl() : 0;
        if (m_anzahl > 0)
            m_bilder.remove(m_anzahl - 1);
        if (neu > m_anzahl) {
            beginInsertRows({}, m_anzahl, neu - 1);
            m_anzahl = neu;
            endInsertRows();
        }
        if (m_anzahl > 0)
            emit dataChanged(index(m_anzahl - 1), index(m_anzahl - 1));
    }

    int rowCount(const QModelIndex& eltern = {}) const override { return eltern.isValid() ? 0 : m_anzahl; }

    QVariant data(const QModelIndex& index, int rolle) const override
    {
        if (!index.isValid() || !m_seiten || index.row() >= m_anzahl)
            return {};
        if (rolle == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (rolle != Qt::DecorationRole)
            return {};
        if (QPixmap* bild = m_bilder.object(index.row()))
            return *bild;
        const QSizeF mm = m_seiten->PapierMm();
        const double mmPx = 96 / 25.4;
        const double massstab = Bildbreite / (mm.width() * mmPx);
        QImage bild(QSize(Bildbreite, int(std::ceil(mm.height() * mmPx * massstab))), QImage::Format_RGB32);
        bild.fill(Qt::white);
        {
            QPainter maler(&bild);
            maler.setRenderHint(QPainter::Antialiasing);
            maler.scale(massstab, massstab);
            BerichtSeiteZeichnen(maler, *m_seiten, index.row(), &bild, mmPx);
        }
        auto* pixmap = new QPixmap(QPixmap::fromImage(bild));
        const QPixmap ergebnis = *pixmap;
        m_bilder.insert(index.row(), pixmap);
        return ergebnis;
    }

private:
    std::shared_ptr<const TBerichtSeiten> m_seiten;
    int m_anzahl = 0;
    mutable QCache<int, QPixmap> m_bilder;
};

// ---------------------------------------------------------------------------------------------

TBerichtVorschau::TBerichtVorschau(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frxPreview1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_teiler = new QSplitter(Qt::Horizontal, this);
    m_teiler->setChildrenCollapsible(false);
    layout->addWidget(m_teiler, 1);

    m_seitenleiste = new QStackedWidget(m_teiler);
    m_seitenleiste->setObjectName(QStringLiteral("Seitenleiste"));
    m_gliederung = new QTreeWidget(m_seitenleiste);
    m_gliederung->setObjectName(QStringLiteral("Gliederung"));
    m_gliederung->setHeaderHidden(true);
    m_gliederung->setRootIsDecorated(false);
    m_seitenleiste->addWidget(m_gliederung);
    m_vorschaubilder = new QListView(m_seitenleiste);
    m_vorschaubilder->setObjectName(QStringLiteral("Vorschaubilder"));
    m_vorschaubilder->setViewMode(QListView::IconMode);
    m_vorschaubilder->setFlow(QListView::TopToBottom);
    m_vorschaubilder->setWrapping(false);
    m_vorschaubilder->setMovement(QListView::Static);
    m_vorschaubilder->setUniformItemSizes(true);
    m_vorschaubilder->setIconSize(QSize(Bildbreite, Bildbreite * 210 / 297 + 2));
    m_vorschaubilder->setSpacing(6);
    m_vorschaubilder->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_bildModell = new TSeitenbildModell(this);
    m_vorschaubilder->setModel(m_bildModell);
    m_seitenleiste->addWidget(m_vorschaubilder);
    m_seitenleiste->hide();

    m_flaeche = new TSeitenFlaeche(this);
    m_teiler->addWidget(m_seitenleiste);
    m_teiler->addWidget(m_flaeche);
    m_teiler->setStretchFactor(1, 1);

    m_fortschrittsLeiste = new QWidget(this);
    m_fortschrittsLeiste->setObjectName(QStringLiteral("Fortschrittsleiste"));
    auto* zeile = new QHBoxLayout(m_fortschrittsLeiste);
    zeile->setContentsMargins(6, 3, 6, 3);
    m_fortschrittsText = new QLabel(QStringLiteral("Bericht wird vorbereitet …"), m_fortschrittsLeiste);
    m_fortschritt = new QProgressBar(m_fortschrittsLeiste);
    m_fortschritt->setObjectName(QStringLiteral("Fortschritt"));
    m_fortschritt->setRange(0, 1000);
    m_fortschritt->setTextVisible(false);
    zeile->addWidget(m_fortschrittsText);
    zeile->addWidget(m_fortschritt, 1);
    layout->addWidget(m_fortschrittsLeiste);
    m_fortschrittsLeiste->hide();

    m_takt = new QTimer(this);
    m_takt->setInterval(0);
    connect(m_takt, &QTimer::timeout, this, &TBerichtVorschau::vorbereitungsSchritt);

    connect(m_vorschaubilder, &QListView::clicked, this, [this](const QModelIndex& i) { SeiteZeigen(i.row() + 1); });
    connect(m_gliederung, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* eintrag) { SeiteZeigen(eintrag->data(0, Qt::UserRole).toInt() + 1); });
}

TBerichtVorschau::~TBerichtVorschau() = default;

QWidget* TBerichtVorschau::Seitenflaeche() const
{
    return m_flaeche;
}

int TBerichtVorschau::Seitenanzahl() const
{
    return m_seiten ? m_seiten->Anzahl() : 0;
}

bool TBerichtVorschau::Beschaeftigt() const
{
    return m_lauf != nullptr;
}

void TBerichtVorschau::BerichtZeigen(TBericht* bericht)
{
    m_bericht = bericht;
    setVorschaubilderSichtbar(false);
    setGliederungSichtbar(false);
    m_teiler->setSizes({GliederungBreiteStart, std::max(1, width() - GliederungBreiteStart)});
    m_zoomModus = TZoomModus::Fest;
    zoomAnwenden(1.0);
    m_seite = 1;
    vorbereitungStarten(bericht->NeueVorbereitung());
    m_flaeche->verticalScrollBar()->setValue(0);
    m_flaeche->horizontalScrollBar()->setValue(0);
}

void TBerichtVorschau::NeuVorbereiten()
{
    if (!m_bericht)
        return;
    const int seite = m_seite;
    const int position = m_flaeche->verticalScrollBar()->value() - m_flaeche->seitenOben(seite - 1);
    m_takt->stop();
    m_lauf.reset();
    m_bericht->DatenAuffrischen();
    vorbereitungStarten(m_bericht->NeueVorbereitung());
    VorbereitungAbschliessen();
    m_seiteWirdGesetzt = true;
    m_seite = seite <= Seitenanzahl() ? seite : 1;
    m_flaeche->verticalScrollBar()->setValue(m_flaeche->seitenOben(m_seite - 1) + std::max(0, position));
    m_seiteWirdGesetzt = false;
    m_flaeche->viewport()->update();
    emit SeiteGeaendert();
}

void TBerichtVorschau::vorbereitungStarten(std::unique_ptr<TBerichtVorbereitung> lauf)
{
    m_takt->stop();
    m_lauf = std::move(lauf);
    m_seiten = m_lauf->Seiten();
    m_bekannteSeiten = 0;
    m_bekannteGliederung = 0;
    m_gliederung->clear();
    m_bildModell->setSeiten(m_seiten);
    m_fortschritt->setValue(0);
    m_fortschrittsLeiste->show();
    // The first pages at once, so that the window shows something when it opens.
    vorbereitungsSchritt();
    if (m_lauf)
        m_takt->start();
}

void TBerichtVorschau::vorbereitungsSchritt()
{
    if (!m_lauf)
        return;
    bool fertig = false;
    try {
        fertig = m_lauf->Schritt(SchrittMs);
    } catch (...) {
        m_takt->stop();
        m_lauf.reset();
        m_fortschrittsLeiste->hide();
        seitenHinzugekommen();
        throw;
    }
    m_fortschritt->setValue(int(m_lauf->Fortschritt() * 1000));
    if (fertig) {
        m_takt->stop();
        m_lauf.reset();
        m_fortschrittsLeiste->hide();
    }
    seitenHinzugekommen();
    if (fertig)
        emit VorbereitungFertig();
}

void TBerichtVorschau::VorbereitungAbschliessen()
{
    if (!m_lauf)
        return;
    m_takt->stop();
    try {
        m_lauf->Beenden();
    } catch (...) {
        m_lauf.reset();
        m_fortschrittsLeiste->hide();
        seitenHinzugekommen();
        throw;
    }
    m_lauf.reset();
    m_fortschrittsLeiste->hide();
    seitenHinzugekommen();
    emit VorbereitungFertig();
}

void TBerichtVorschau::seitenHinzugekommen()
{
    if (!m_seiten)
        return;
    m_bildModell->gewachsen();
    const auto& eintraege = m_seiten->Gliederung();
    for (; m_bekannteGliederung < eintraege.size(); ++m_bekannteGliederung) {
        const TGliederungsEintrag& e = eintraege[m_bekannteGliederung];
        auto* eintrag = new QTreeWidgetItem(m_gliederung, QStringList{e.text});
        eintrag->setData(0, Qt::UserRole, e.seite);
    }
    const bool mehrSeiten = m_seiten->Anzahl() != m_bekannteSeiten;
    m_bekannteSeiten = m_seiten->Anzahl();
    m_flaeche->bereicheSetzen();
    m_flaeche->viewport()->update();
    // The page count is part of what a page change reports ("2 von 7").
    if (mehrSeiten)
        emit SeiteGeaendert();
}

void TBerichtVorschau::seiteSetzen(int nummer)
{
    m_seite = nummer;
    emit SeiteGeaendert();
}

void TBerichtVorschau::seiteAusScrollPosition()
{
    if (m_seiteWirdGesetzt || Seitenanzahl() == 0)
        return;
    const int seite = m_flaeche->seiteBeiPosition();
    if (seite != m_seite)
        seiteSetzen(seite);
}

void TBerichtVorschau::SeiteZeigen(int nummer)
{
    const int seite = std::clamp(nummer, 1, std::max(1, Seitenanzahl()));
    m_seiteWirdGesetzt = true;
    m_flaeche->bereicheSetzen();
    m_flaeche->verticalScrollBar()->setValue(m_flaeche->seitenOben(seite - 1));
    m_seiteWirdGesetzt = false;
    seiteSetzen(seite);
}

void TBerichtVorschau::ErsteSeite()
{
    SeiteZeigen(1);
}

void TBerichtVorschau::VorherigeSeite()
{
    SeiteZeigen(m_seite - 1);
}

void TBerichtVorschau::NaechsteSeite()
{
    SeiteZeigen(m_seite + 1);
}

void TBerichtVorschau::LetzteSeite()
{
    SeiteZeigen(Seitenanzahl());
}

void TBerichtVorschau::setZoom(double zoom)
{
    m_zoomModus = TZoomModus::Fest;
    zoomAnwenden(zoom);
}

void TBerichtVorschau::setZoomModus(TZoomModus modus)
{
    m_zoomModus = modus;
    if (modus != TZoomModus::Fest)
        zoomAnwenden(m_flaeche->passenderZoom(modus));
}

void TBerichtVorschau::zoomAnwenden(double zoom)
{
    zoom = std::max(KleinsterZoom, zoom);
    // The view keeps its place within the page it shows.
    const double anteil = m_flaeche->verticalScrollBar()->value() / m_flaeche->seitenSchritt();
    const bool anders = zoom != m_zoom;
    m_zoom = zoom;
    m_seiteWirdGesetzt = true;
    m_flaeche->bereicheSetzen();
    m_flaeche->verticalScrollBar()->setValue(int(std::lround(anteil * m_flaeche->seitenSchritt())));
    m_seiteWirdGesetzt = false;
    m_flaeche->viewport()->update();
    if (anders)
        emit ZoomGeaendert();
}

bool TBerichtVorschau::GliederungSichtbar() const
{
    return !m_seitenleiste->isHidden() && m_seitenleiste->currentWidget() == m_gliederung;
}

void TBerichtVorschau::setGliederungSichtbar(bool sichtbar)
{
    if (sichtbar) {
        m_seitenleiste->setCurrentWidget(m_gliederung);
        m_seitenleiste->show();
    } else if (GliederungSichtbar()) {
        m_seitenleiste->hide();
    }
}

bool TBerichtVorschau::VorschaubilderSichtbar() const
{
    return !m_seitenleiste->isHidden() && m_seitenleiste->currentWidget() == m_vorschaubilder;
}

void TBerichtVorschau::setVorschaubilderSichtbar(bool sichtbar)
{
    if (sichtbar) {
        m_seitenleiste->setCurrentWidget(m_vorschaubilder);
        m_seitenleiste->show();
    } else if (VorschaubilderSichtbar()) {
        m_seitenleiste->hide();
    }
}

int TBerichtVorschau::GliederungBreite() const
{
    const QList<int> groessen = m_teiler->sizes();
    return groessen.isEmpty() || groessen.first() == 0 ? GliederungBreiteStart : groessen.first();
}

void TBerichtVorschau::Scrollen(int einheiten)
{
    QScrollBar* leiste = m_flaeche->verticalScrollBar();
    leiste->setValue(leiste->value() + einheiten);
}

int TBerichtVorschau::ScrollPosition() const
{
    return m_flaeche->verticalScrollBar()->value();
}

QPrinter& TBerichtVorschau::drucker()
{
    if (!m_drucker) {
        m_drucker = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (m_seiten) {
            const TBerichtDefinition& d = m_seiten->Definition();
            m_drucker->setPageLayout(QPageLayout(d.Papier, d.Ausrichtung, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        }
    }
    return *m_drucker;
}

void TBerichtVorschau::Drucken()
{
    if (Beschaeftigt() || Seitenanzahl() == 0)
        return;
    QPrinter& d = drucker();
    QPrintDialog dialog(&d, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    dialog.setMinMax(1, Seitenanzahl());
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int von = 1;
    int bis = Seitenanzahl();
    if (d.printRange() == QPrinter::CurrentPage) {
        von = bis = m_seite;
    } else if (d.printRange() == QPrinter::PageRange) {
        von = std::max(1, d.fromPage());
        bis = std::min(Seitenanzahl(), d.toPage());
    }
    DruckenAuf(d, von, bis);
}

void TBerichtVorschau::DruckenAuf(QPrinter& drucker, int von, int bis)
{
    VorbereitungAbschliessen();
    if (!m_seiten)
        return;
    drucker.setFullPage(true);
    QPainter maler;
    if (!maler.begin(&drucker))
        throw Fehler(QStringLiteral("Der Drucker kann nicht angesprochen werden."));
    const double punkteProMm = drucker.resolution() / 25.4;
    von = std::max(1, von);
    bis = std::min(m_seiten->Anzahl(), bis);
    for (int i = von; i <= bis; ++i) {
        if (i > von)
            drucker.newPage();
        BerichtSeiteZeichnen(maler, *m_seiten, i - 1, &drucker, punkteProMm);
    }
    maler.end();
}

void TBerichtVorschau::Seiteneinstellungen()
{
    if (Beschaeftigt() || Seitenanzahl() == 0)
        return;
    QPageSetupDialog dialog(&drucker(), this);
    dialog.setWindowTitle(QStringLiteral("Seiteneinstellungen"));
    dialog.exec();
}

void TBerichtVorschau::PdfSpeichern(const QString& pfad)
{
    VorbereitungAbschliessen();
    if (m_seiten)
        BerichtPdfSchreiben(*m_seiten, pfad);
}
