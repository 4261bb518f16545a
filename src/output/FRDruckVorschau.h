#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolButton;
class QPushButton;
class TBerichtVorschau;

/// The print preview window "Druckvorschau": the report engine's preview control with a
/// button bar (page settings, outline, thumbnails, expand/collapse, zoom, paging, PDF, print,
/// close), a page-number field, a zoom box and a status line. Created once at start-up and
/// shown modal for each report run.
class TFRDruckVorschauForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFRDruckVorschauForm(QWidget* parent = nullptr);
    ~TFRDruckVorschauForm() override;

    TBerichtVorschau* const frxPreview1;
    QStatusBar* const StatusBar1;
    QWidget* const PanelBottom;
    QToolButton* BtnPageSetting;
    QToolButton* BtnOutline;
    QToolButton* BtnTumbnails;
    QToolButton* BtnExpand;
    QToolButton* BtnCollapse;
    QToolButton* BtnZoomIn;
    QComboBox* ComboBoxZoom;
    QToolButton* BtnZoomOut;
    QToolButton* BtnFirst;
    QToolButton* BtnPrev;
    QLineEdit* EditPage;
    QToolButton* BtnNext;
    QToolButton* BtnLast;
    QPushButton* BtnPdf;
    QPushButton* BtnDruck;
    QPushButton* BtnEnde;

    /// The text of status panel `index` (0 … 2).
    QString StatusText(int index) const;
    /// The preview's zoom as text: percent with two decimals and the decimal separator of the
    /// locale, then "%" (100,00% at zoom 1.0).
    QString ZoomProzentText() const;

    /// Where the PDF button asks for a file name; by default a file dialog. Returns an empty
    /// text when the user cancels.
    std::function<QString(QWidget*)> PdfDateiWaehlen;
    /// The file name the PDF button suggests; whoever shows a report sets it.
    QString PdfVorschlag = QStringLiteral("Projektbericht.pdf");

    // Handlers.
    void FormShow();
    void FormClose();
    void BtnZoomInClick();
    void BtnZoomOutClick();
    void ComboBoxZoomChange(int index);
    void EditPageChange();
    void frxPreview1PageChanged();
    void BtnPdfClick();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void done(int ergebnis) override;
    void resizeEvent(QResizeEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void seitennummerSchreiben();
    void zoomTextSchreiben();
    void neuVorbereiten();
    void rechteKnoepfeSetzen();

    QLabel* m_panels[3];
    bool m_schonGezeigt = false;
};

/// The window of the process; nullptr before it is created and after it is destroyed.
extern TFRDruckVorschauForm* FRDruckVorschauForm;
