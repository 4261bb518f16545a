#include "FRDruckVorschau.h"

#include "BerichtVorschau.h"
#include "IniRecord.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

TFRDruckVorschauForm* FRDruckVorschauForm = nullptr;

namespace {

const QString Fenstername = QStringLiteral("DruckVorschau");
constexpr int WheelEinheiten = 20;

QToolButton* kleinerKnopf(QWidget* eltern, const char* name, const char* bild, int links, const QString& hinweis)
{
    auto* k = new QToolButton(eltern);
    k->setObjectName(QLatin1String(name));
    k->setIcon(QIcon(QStringLiteral(":/druckvorschau/%1.png").arg(QLatin1String(bild))));
    k->setIconSize(QSize(16, 16));
    k->setGeometry(links, 8, 32, 28);
    k->setToolTip(hinweis);
    k->setAutoRaise(true);
    return k;
}

QPushButton* grosserKnopf(QWidget* eltern, const char* name, const QString& text, const QString& hinweis)
{
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(QLatin1String(name));
    QFont fett = k->font();
    fett.setBold(true);
    k->setFont(fett);
    k->setToolTip(hinweis);
    k->resize(91, 28);
    return k;
}

// A panel of the status line: its width when there is room, narrower when the window is.
class TStatusFeld : public QLabel
{
public:
    TStatusFeld(int breite, QWidget* eltern) : QLabel(eltern), m_breite(breite)
    {
        setAlignment(Qt::AlignCenter);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {m_breite, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int m_breite;
};

QString pdfDialog(QWidget* eltern, const QString& vorschlag)
{
    return QFileDialog::getSaveFileName(eltern, QStringLiteral("Bericht als PDF-Datei speichern"), vorschlag,
                                        QStringLiteral("PDF-Dateien (*.pdf)"));
}

} // namespace

TFRDruckVorschauForm::TFRDruckVorschauForm(QWidget* parent)
    : QDialog(parent), frxPreview1(new TBerichtVorschau(this)), StatusBar1(new QStatusBar(this)),
      PanelBottom(new QWidget(this)),
      PdfDateiWaehlen([this](QWidget* eltern) { return pdfDialog(eltern, PdfVorschlag); })
{
    Q_INIT_RESOURCE(output);
    setObjectName(QStringLiteral("FRDruckVorschauForm"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1000, 750);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frxPreview1, 1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setSizeGripEnabled(false);
    const int breiten[3] = {450, 200, 200};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new TStatusFeld(breiten[i], StatusBar1);
        m_panels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        StatusBar1->addWidget(m_panels[i]);
    }
    layout->addWidget(StatusBar1);
    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    PanelBottom->setFixedHeight(41);
    layout->addWidget(PanelBottom);

    QWidget* p = PanelBottom;
    BtnPageSetting = kleinerKnopf(p, "BtnPageSetting", "page_gear", 8, QStringLiteral("Seiteneinstellungen."));
    BtnOutline = kleinerKnopf(p, "BtnOutline", "text_list_bullets", 48, QStringLiteral("Inhatsverzeichnis anzeigen."));
    BtnTumbnails = kleinerKnopf(p, "BtnTumbnails", "application_view_tile", 88, QStringLiteral("Seitenvorschau anzeigen."));
    BtnExpand = kleinerKnopf(p, "BtnExpand", "arrow_out", 128, QStringLiteral("Alle Details anzeigen."));
    BtnCollapse = kleinerKnopf(p, "BtnCollapse", "arrow_in", 168, QStringLiteral("Alle Details verbergen."));
    BtnZoomIn = kleinerKnopf(p, "BtnZoomIn", "zoom_in", 248, QStringLiteral("Ansicht vergößern."));
    ComboBoxZoom = new QComboBox(p);
    ComboBoxZoom->setObjectName(QStringLiteral("ComboBoxZoom"));
    ComboBoxZoom->setEditable(true);
    ComboBoxZoom->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxZoom->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                            QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("Seitenbreite"),
                            QStringLiteral("Ganze Seite")});
    ComboBoxZoom->setGeometry(288, 11, 89, ComboBoxZoom->sizeHint().height());
    ComboBoxZoom->setToolTip(QStringLiteral("Seitenansicht einstellen."));
    BtnZoomOut = kleinerKnopf(p, "BtnZoomOut", "zoom_out", 384, QStringLiteral("Ansicht verkleinern,"));
    BtnFirst = kleinerKnopf(p, "BtnFirst", "resultset_first", 454, QStringLiteral("Erste Seite."));
    BtnPrev = kleinerKnopf(p, "BtnPrev", "resultset_previous", 489, QStringLiteral("Vorherige Seite."));
    EditPage = new QLineEdit(p);
    EditPage->setObjectName(QStringLiteral("EditPage"));
    EditPage->setGeometry(523, 10, 57, 24);
    EditPage->setAlignment(Qt::AlignCenter);
    BtnNext = kleinerKnopf(p, "BtnNext", "resultset_next", 581, QStringLiteral("Nächste Seite."));
    BtnLast = kleinerKnopf(p, "BtnLast", "resultset_last", 616, QStringLiteral("Letzte Seite."));
    BtnPdf = grosserKnopf(p, "BtnPdf", QStringLiteral("PDF …"), QStringLiteral("Bericht als PDF-Datei speichern."));
    BtnPdf->setIcon(QIcon(QStringLiteral(":/druckvorschau/page_white_acrobat.png")));
    BtnDruck = grosserKnopf(p, "BtnDruck", QStringLiteral("Drucken"), QStringLiteral("Ausdruck starten."));
    BtnEnde = grosserKnopf(p, "BtnEnde", QStringLiteral("Beenden"), QStringLiteral("Fenster schließen."));
    rechteKnoepfeSetzen();

    connect(BtnEnde, &QPushButton::clicked, this, &QDialog::close);
    connect(BtnFirst, &QToolButton::clicked, this, [this] { frxPreview1->ErsteSeite(); seitennummerSchreiben(); });
    connect(BtnPrev, &QToolButton::clicked, this, [this] { frxPreview1->VorherigeSeite(); seitennummerSchreiben(); });
    connect(BtnNext, &QToolButton::clicked, this, [this] { frxPreview1->NaechsteSeite(); seitennummerSchreiben(); });
    connect(BtnLast, &QToolButton::clicked, this, [this] { frxPreview1->LetzteSeite(); seitennummerSchreiben(); });
    connect(BtnZoomIn, &QToolButton::clicked, this, &TFRDruckVorschauForm::BtnZoomInClick);
    connect(BtnZoomOut, &QToolButton::clicked, this, &TFRDruckVorschauForm::BtnZoomOutClick);
    connect(ComboBoxZoom, &QComboBox::activated, this, &TFRDruckVorschauForm::ComboBoxZoomChange);
    connect(EditPage, &QLineEdit::textChanged, this, &TFRDruckVorschauForm::EditPageChange);
    connect(EditPage, &QLineEdit::editingFinished, this, &TFRDruckVorschauForm::EditPageChange);
    connect(frxPreview1, &TBerichtVorschau::SeiteGeaendert, this, &TFRDruckVorschauForm::frxPreview1PageChanged);
    connect(BtnOutline, &QToolButton::clicked, this,
            [this] { frxPreview1->setGliederungSichtbar(!frxPreview1->GliederungSichtbar()); });
    connect(BtnTumbnails, &QToolButton::clicked, this,
            [this] { frxPreview1->setVorschaubilderSichtbar(!frxPreview1->VorschaubilderSichtbar()); });
    connect(BtnExpand, &QToolButton::clicked, this, &TFRDruckVorschauForm::neuVorbereiten);
    connect(BtnCollapse, &QToolButton::clicked, this, &TFRDruckVorschauForm::neuVorbereiten);
    connect(BtnDruck, &QPushButton::clicked, frxPreview1, &TBerichtVorschau::Drucken);
    connect(BtnPageSetting, &QToolButton::clicked, frxPreview1, &TBerichtVorschau::Seiteneinstellungen);
    connect(BtnPdf, &QPushButton::clicked, this, &TFRDruckVorschauForm::BtnPdfClick);

    FRDruckVorschauForm = this;
}

TFRDruckVorschauForm::~TFRDruckVorschauForm()
{
    qApp->removeEventFilter(this);
    if (FRDruckVorschauForm == this)
        FRDruckVorschauForm = nullptr;
}

QString TFRDruckVorschauForm::StatusText(int index) const
{
    return m_panels[std::clamp(index, 0, 2)]->text();
}

QString TFRDruckVorschauForm::ZoomProzentText() const
{
    return QLocale().toString(frxPreview1->Zoom() * 100, 'f', 2) + QLatin1Char('%');
}

void TFRDruckVorschauForm::rechteKnoepfeSetzen()
{
    // "Drucken" and "Beenden" keep their distance from the right edge (and the PDF button
    // beside them).
    const int rechts = width() - 1000;
    BtnEnde->move(887 + rechts, 8);
    BtnDruck->move(783 + rechts, 8);
    BtnPdf->move(679 + rechts, 8);
}

void TFRDruckVorschauForm::resizeEvent(QResizeEvent* ereignis)
{
    QDialog::resizeEvent(ereignis);
    rechteKnoepfeSetzen();
}

void TFRDruckVorschauForm::showEvent(QShowEvent* ereignis)
{
    QDialog::showEvent(ereignis);
    FormShow();
}

void TFRDruckVorschauForm::FormShow()
{
    FensterLesen(Fenstername);
    const QRect lage = FensterLage(Fenstername);
    if (!m_schonGezeigt) {
        // The first showing in a run takes the stored size, centred on the desktop.
        resize(lage.size());
        const QRect desktop = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
        move(desktop.center() - QPoint(width() / 2, height() / 2));
        m_schonGezeigt = true;
    } else {
        move(lage.topLeft());
        resize(lage.size());
    }
    qApp->installEventFilter(this);
    frxPreview1->Seitenflaeche()->setFocus();
    frxPreview1->setZoom(1.0);
    zoomTextSchreiben();
    seitennummerSchreiben();
    frxPreview1PageChanged();
}

void TFRDruckVorschauForm::done(int ergebnis)
{
    FormClose();
    QDialog::done(ergebnis);
}

void TFRDruckVorschauForm::FormClose()
{
    qApp->removeEventFilter(this);
    FensterLageSetzen(Fenstername, QRect(pos(), size()));
    FensterSchreiben(Fenstername);
}

void TFRDruckVorschauForm::zoomTextSchreiben()
{
    ComboBoxZoom->setEditText(ZoomProzentText());
}

void TFRDruckVorschauForm::seitennummerSchreiben()
{
    // Only a different text counts as a change of the field.
    const QString text = QString::number(frxPreview1->Seite());
    if (EditPage->text() != text)
        EditPage->setText(text);
}

void TFRDruckVorschauForm::BtnZoomInClick()
{
    frxPreview1->setZoom(frxPreview1->Zoom() + 0.25);
    zoomTextSchreiben();
}

void TFRDruckVorschauForm::BtnZoomOutClick()
{
    frxPreview1->setZoom(frxPreview1->Zoom() - 0.25);
    zoomTextSchreiben();
}

void TFRDruckVorschauForm::ComboBoxZoomChange(int index)
{
    static const double faktoren[] = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0};
    frxPreview1->setZoomModus(TZoomModus::Fest);
    if (index >= 0 && index < 6)
        frxPreview1->setZoom(faktoren[index]);
    else if (index == 6)
        frxPreview1->setZoomModus(TZoomModus::Seitenbreite);
    else if (index == 7)
        frxPreview1->setZoomModus(TZoomModus::GanzeSeite);
    zoomTextSchreiben();
}

void TFRDruckVorschauForm::EditPageChange()
{
    bool ok = false;
    const int nummer = EditPage->text().trimmed().toInt(&ok);
    if (ok)
        frxPreview1->SeiteZeigen(nummer);
}

void TFRDruckVorschauForm::frxPreview1PageChanged()
{
    seitennummerSchreiben();
    m_panels[1]->setText(QStringLiteral("%1 von %2").arg(frxPreview1->Seite()).arg(frxPreview1->Seitenanzahl()));
}

void TFRDruckVorschauForm::neuVorbereiten()
{
    // The project report has no drill-down groups: both buttons prepare it anew from the open
    // datasets, which shows what changed in the database meanwhile.
    setUpdatesEnabled(false);
    frxPreview1->NeuVorbereiten();
    setUpdatesEnabled(true);
    seitennummerSchreiben();
}

void TFRDruckVorschauForm::BtnPdfClick()
{
    if (frxPreview1->Seitenanzahl() == 0 || !PdfDateiWaehlen)
        return;
    QString pfad = PdfDateiWaehlen(this);
    if (pfad.isEmpty())
        return;
    if (!pfad.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        pfad += QLatin1String(".pdf");
    frxPreview1->PdfSpeichern(pfad);
}

bool TFRDruckVorschauForm::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // The wheel anywhere in the window scrolls the pages; it never zooms, whatever key is held.
    if (ereignis->type() == QEvent::Wheel && objekt->isWidgetType()
        && static_cast<QWidget*>(objekt)->window() == this) {
        const auto* rad = static_cast<QWheelEvent*>(ereignis);
        const int schritte = rad->angleDelta().y() / 120;
        if (schritte != 0) {
            frxPreview1->Scrollen(-schritte * WheelEinheiten);
            seitennummerSchreiben();
        }
        return true;
    }
    return QDialog::eventFilter(objekt, ereignis);
}
