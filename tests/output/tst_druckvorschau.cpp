#include "Berichtstest.h"

#include "Bericht.h"
#include "BerichtVorschau.h"
#include "DatenbankWerkzeug.h"
#include "FRDruckVorschau.h"
#include "Fehler.h"
#include "IniRecord.h"
#include "MeldungsRecorder.h"
#include "UnitAktionManager.h"
#include "UnitProjektMain.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>

// The print preview window over the project report of a real database: zoom box, page field,
// paging, wheel, status line, window place, PDF button, a large report prepared while the
// window stays usable, and "Ausgabe" from the main window.
class TestDruckvorschau : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void ersteAnzeige();
    void zoom_data();
    void zoom();
    void seitenfeld();
    void blaetternUndMausrad();
    void fensterlage();
    void neuVorbereitenBehaeltSeite();
    void pdfKnopf();
    void druckenSeitenbereich();
    void grosserBerichtBleibtBedienbar();
    void ausgabeUeberHauptfenster();
    void ausgabeMitFehlerZeigtNichts();
    void bildschirmfoto();

private:
    // Projects P1..Pn with one task each (n = 40 gives three pages).
    void projekte(int anzahl);
    void zeigen();

    std::unique_ptr<QTemporaryDir> m_ordner;
    QString m_vorher;
    std::unique_ptr<MeldungsRecorder> m_meldungen;
    std::unique_ptr<Berichtsumgebung> m_u;
    std::unique_ptr<TFRDruckVorschauForm> m_form;
};

void TestDruckvorschau::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestDruckvorschau::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    m_vorher = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_ordner->path()));
    IniAnlegen();
    m_meldungen = std::make_unique<MeldungsRecorder>();
    m_u = std::make_unique<Berichtsumgebung>();
    m_u->db.grunddaten();
}

void TestDruckvorschau::cleanup()
{
    m_form.reset();
    m_u.reset();
    m_meldungen.reset();
    QDir::setCurrent(m_vorher);
    m_ordner.reset();
}

void TestDruckvorschau::projekte(int anzahl)
{
    m_u->db.fremd(QStringLiteral("DELETE FROM ProjektAufgaben; DELETE FROM Projekt;"
                                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                 "INSERT INTO Projekt (ID, Kommnr, Bezeichn) SELECT i, 'P' || i, 'Projekt ' || i FROM n;"
                                 "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Mitarbeiter, Status_ID) "
                                 "SELECT ID, 1, 'Aufgabe ' || ID, 1, 2 FROM Projekt;")
                      .arg(anzahl));
}

void TestDruckvorschau::zeigen()
{
    m_u->oeffnen();
    m_form = std::make_unique<TFRDruckVorschauForm>();
    m_form->frxPreview1->BerichtZeigen(m_u->druck->frxReport1);
    m_form->frxPreview1->VorbereitungAbschliessen();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestDruckvorschau::ersteAnzeige()
{
    zeigen();
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Druckvorschau"));
    QCOMPARE(m_form->ComboBoxZoom->currentText(), QStringLiteral("100,00%"));
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("1"));
    QCOMPARE(m_form->StatusText(1), QStringLiteral("1 von 1"));
    QCOMPARE(m_form->StatusText(0), QString());
    QCOMPARE(m_form->BtnZoomOut->toolTip(), QStringLiteral("Ansicht verkleinern,"));
    QVERIFY(!m_form->frxPreview1->GliederungSichtbar());
    QVERIFY(!m_form->frxPreview1->VorschaubilderSichtbar());
    QCOMPARE(m_form->frxPreview1->GliederungBreite(), 120);
    // Outline and thumbnails share one panel: showing one hides the other.
    QTest::mouseClick(m_form->BtnOutline, Qt::LeftButton);
    QVERIFY(m_form->frxPreview1->GliederungSichtbar());
    QTest::mouseClick(m_form->BtnTumbnails, Qt::LeftButton);
    QVERIFY(m_form->frxPreview1->VorschaubilderSichtbar());
    QVERIFY(!m_form->frxPreview1->GliederungSichtbar());
}

void TestDruckvorschau::zoom_data()
{
    using Schritt = std::function<void(TFRDruckVorschauForm&)>;
    QTest::addColumn<Schritt>("schritt");
    QTest::addColumn<double>("zoom");  // 0: the zoom that fits the view, computed below
    QTest::addColumn<int>("modus");
    const auto klicken = [](QToolButton* TFRDruckVorschauForm::*knopf, int mal) {
        return Schritt([knopf, mal](TFRDruckVorschauForm& f) {
            for (int i = 0; i < mal; ++i)
                QTest::mouseClick(f.*knopf, Qt::LeftButton);
        });
    };
    const auto waehlen = [](int index) {
        return Schritt([index](TFRDruckVorschauForm& f) {
            f.frxPreview1->setZoom(2.0);
            f.ComboBoxZoom->setCurrentIndex(index);
            emit f.ComboBoxZoom->activated(index);
        });
    };
    QTest::newRow("vergrößern ohne Grenze") << klicken(&TFRDruckVorschauForm::BtnZoomIn, 6) << 2.5 << 0;
    QTest::newRow("verkleinern bis 25%") << klicken(&TFRDruckVorschauForm::BtnZoomOut, 5) << 0.25 << 0;
    QTest::newRow("Liste 100%") << waehlen(3) << 1.0 << 0;
    QTest::newRow("Liste 25%") << waehlen(0) << 0.25 << 0;
    QTest::newRow("Seitenbreite") << waehlen(6) << 0.0 << int(TZoomModus::Seitenbreite);
    QTest::newRow("Ganze Seite") << waehlen(7) << 0.0 << int(TZoomModus::GanzeSeite);
}

// The box always shows the zoom as a percentage with two decimals, not the item chosen.
void TestDruckvorschau::zoom()
{
    using Schritt = std::function<void(TFRDruckVorschauForm&)>;
    QFETCH(Schritt, schritt);
    QFETCH(double, zoom);
    QFETCH(int, modus);
    zeigen();
    schritt(*m_form);
    const QWidget* ansicht = static_cast<QAbstractScrollArea*>(m_form->frxPreview1->Seitenflaeche())->viewport();
    const double seiteBreite = 297 * ansicht->logicalDpiX() / 25.4;
    const double seiteHoehe = 210 * ansicht->logicalDpiY() / 25.4;
    if (modus == int(TZoomModus::Seitenbreite))
        zoom = (ansicht->width() - 20) / seiteBreite;
    else if (modus == int(TZoomModus::GanzeSeite))
        zoom = std::min((ansicht->width() - 20) / seiteBreite, (ansicht->height() - 20) / seiteHoehe);
    QCOMPARE(int(m_form->frxPreview1->ZoomModus()), modus);
    QCOMPARE(m_form->frxPreview1->Zoom(), std::max(0.25, zoom));
    QCOMPARE(m_form->ComboBoxZoom->currentText(), QLocale().toString(std::max(0.25, zoom) * 100, 'f', 2) + "%");
    if (modus == int(TZoomModus::Seitenbreite)) {
        // The mode follows the window.
        const double vorher = m_form->frxPreview1->Zoom();
        m_form->resize(m_form->width() + 200, m_form->height());
        QTRY_VERIFY(m_form->frxPreview1->Zoom() > vorher);
    }
}

// A number beyond the last page shows the last page (and the field then says so); letters
// change nothing.
void TestDruckvorschau::seitenfeld()
{
    zeigen();
    m_form->EditPage->clear();
    QTest::keyClicks(m_form->EditPage, QStringLiteral("3"));
    QCOMPARE(m_form->frxPreview1->Seite(), 1);
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("1"));
    m_form->EditPage->clear();
    QTest::keyClicks(m_form->EditPage, QStringLiteral("ab"));
    QCOMPARE(m_form->frxPreview1->Seite(), 1);
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("ab"));
    QCOMPARE(m_form->StatusText(1), QStringLiteral("1 von 1"));
}

void TestDruckvorschau::blaetternUndMausrad()
{
    projekte(40);
    zeigen();
    TBerichtVorschau* v = m_form->frxPreview1;
    QCOMPARE(v->Seitenanzahl(), 3);
    QTest::mouseClick(m_form->BtnLast, Qt::LeftButton);
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("3"));
    QCOMPARE(m_form->StatusText(1), QStringLiteral("3 von 3"));
    QTest::mouseClick(m_form->BtnNext, Qt::LeftButton);
    QCOMPARE(v->Seite(), 3);
    QTest::mouseClick(m_form->BtnPrev, Qt::LeftButton);
    QCOMPARE(m_form->StatusText(1), QStringLiteral("2 von 3"));
    QTest::mouseClick(m_form->BtnFirst, Qt::LeftButton);
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("1"));
    QCOMPARE(v->ScrollPosition(), 0);

    // The page field moves the view to the top of the page.
    m_form->EditPage->clear();
    QTest::keyClicks(m_form->EditPage, QStringLiteral("2"));
    QCOMPARE(v->Seite(), 2);
    const int obenSeite2 = v->ScrollPosition();
    QVERIFY(obenSeite2 > 0);
    QCOMPARE(m_form->StatusText(1), QStringLiteral("2 von 3"));

    // The wheel anywhere in the window: 20 units per step, down when turned towards the user,
    // and never a zoom, Ctrl or not.
    const auto rad = [&](QWidget* ziel, int schritte, Qt::KeyboardModifiers tasten) {
        QWheelEvent e(QPointF(5, 5), ziel->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120 * schritte), Qt::NoButton,
                      tasten, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ziel, &e);
    };
    rad(m_form->BtnEnde, -1, Qt::NoModifier);
    QCOMPARE(v->ScrollPosition(), obenSeite2 + 20);
    rad(v->Seitenflaeche(), -2, Qt::ControlModifier);
    QCOMPARE(v->ScrollPosition(), obenSeite2 + 60);
    QCOMPARE(v->Zoom(), 1.0);
    rad(m_form->EditPage, 3, Qt::NoModifier);
    QCOMPARE(v->ScrollPosition(), obenSeite2);
    QCOMPARE(v->Seite(), 2);
}

// "Alle Details anzeigen" prepares anew from the database as it stands, on the same page and
// at the same place in it.
void TestDruckvorschau::neuVorbereitenBehaeltSeite()
{
    projekte(40);
    zeigen();
    TBerichtVorschau* v = m_form->frxPreview1;
    v->SeiteZeigen(2);
    v->Scrollen(20);
    const int position = v->ScrollPosition();
    m_u->db.fremd(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 41 UNION ALL SELECT i + 1 FROM n WHERE i < 70) "
                                 "INSERT INTO Projekt (ID, Kommnr, Bezeichn) SELECT i, 'P' || i, 'Projekt ' || i FROM n;"
                                 "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Mitarbeiter, Status_ID) "
                                 "SELECT ID, 1, 'Aufgabe ' || ID, 1, 2 FROM Projekt WHERE ID > 40;"));
    QTest::mouseClick(m_form->BtnExpand, Qt::LeftButton);
    QCOMPARE(v->Seitenanzahl(), 5);
    QCOMPARE(v->Seite(), 2);
    QCOMPARE(v->ScrollPosition(), position);
    QCOMPARE(m_form->EditPage->text(), QStringLiteral("2"));
    QCOMPARE(m_form->StatusText(1), QStringLiteral("2 von 5"));
    QVERIFY(datenZeilen(*v->Seiten()).contains(QStringLiteral("Aufgabe 70|Anna Groß|||in Arbeit")));
}

// First showing in a run: the stored size, centred; afterwards the place it was closed at.
void TestDruckvorschau::fensterlage()
{
    zeigen();
    QCOMPARE(m_form->size(), QSize(715, 427));
    const QRect desktop = m_form->screen()->availableGeometry();
    QCOMPARE(m_form->pos(), desktop.center() - QPoint(715 / 2, 427 / 2));
    m_form->move(30, 40);
    m_form->resize(800, 500);
    m_form->close();
    IniRecord.DruckVorschauLeft = 0;
    FensterLesen(QStringLiteral("DruckVorschau"));
    QCOMPARE(FensterLage(QStringLiteral("DruckVorschau")), QRect(30, 40, 800, 500));
    m_form->show();
    QCOMPARE(m_form->pos(), QPoint(30, 40));
    QCOMPARE(m_form->size(), QSize(800, 500));
}

void TestDruckvorschau::pdfKnopf()
{
    zeigen();
    const QString ziel = m_ordner->filePath(QStringLiteral("bericht"));
    m_form->PdfDateiWaehlen = [&](QWidget*) { return ziel; };
    QTest::mouseClick(m_form->BtnPdf, Qt::LeftButton);
    QVERIFY(QFile::exists(ziel + ".pdf"));
    const QString text = poppler(QStringLiteral("pdftotext"), {ziel + ".pdf", QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("PROJEKTVERWALTUNG")) && text.contains(QStringLiteral("1 of 1")),
             qPrintable(text));
    // Cancelling the dialog writes nothing.
    m_form->PdfDateiWaehlen = [](QWidget*) { return QString(); };
    QTest::mouseClick(m_form->BtnPdf, Qt::LeftButton);
    QCOMPARE(QDir(m_ordner->path()).entryList({QStringLiteral("*.pdf")}).size(), 1);
}

// The printer path with a page range, on a PDF printer.
void TestDruckvorschau::druckenSeitenbereich()
{
    projekte(40);
    zeigen();
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setOutputFormat(QPrinter::PdfFormat);
    drucker.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    const QString ziel = m_ordner->filePath(QStringLiteral("druck.pdf"));
    drucker.setOutputFileName(ziel);
    m_form->frxPreview1->DruckenAuf(drucker, 2, 3);
    QVERIFY(poppler(QStringLiteral("pdfinfo"), {ziel}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
    const QString text = poppler(QStringLiteral("pdftotext"), {ziel, QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("2 of 3")) && text.contains(QStringLiteral("3 of 3")));
    QVERIFY(!text.contains(QStringLiteral("1 of 3")));
    QVERIFY(text.contains(QStringLiteral("Aufgabe 40")));
}

// A large report: the window is usable while the pages come in, shows the progress, and
// ends with every page of a run done at once.
void TestDruckvorschau::grosserBerichtBleibtBedienbar()
{
    m_u->db.fremd(QStringLiteral("DELETE FROM ProjektAufgaben; DELETE FROM Projekt; DELETE FROM Personal; "
                                 "DELETE FROM Status; DELETE FROM Aufgaben;"));
    DatenbankWerkzeug::demoDatenEinfuegen(m_u->db.pfad, 1500, QDate(2024, 5, 6));
    m_u->oeffnen();
    m_form = std::make_unique<TFRDruckVorschauForm>();
    TBerichtVorschau* v = m_form->frxPreview1;
    QSignalSpy fertig(v, &TBerichtVorschau::VorbereitungFertig);
    v->BerichtZeigen(m_u->druck->frxReport1);
    m_form->show();
    QVERIFY(v->Beschaeftigt());
    QVERIFY(v->Seitenanzahl() >= 1);
    QVERIFY(v->findChild<QProgressBar*>(QStringLiteral("Fortschritt"))->isVisible());
    // Page settings wait for the end of the run (a dialog would block here).
    QTest::mouseClick(m_form->BtnPageSetting, Qt::LeftButton);
    QTest::mouseClick(m_form->BtnDruck, Qt::LeftButton);
    QTest::mouseClick(m_form->BtnZoomIn, Qt::LeftButton);
    QCOMPARE(m_form->ComboBoxZoom->currentText(), QStringLiteral("125,00%"));
    QVERIFY(fertig.wait(240000));
    QVERIFY(!v->Beschaeftigt());
    QVERIFY(!v->findChild<QProgressBar*>(QStringLiteral("Fortschritt"))->isVisible());
    const int seiten = m_u->druck->frxReport1->Vorbereiten()->Anzahl();
    QCOMPARE(v->Seitenanzahl(), seiten);
    QCOMPARE(m_form->StatusText(1), QStringLiteral("1 von %1").arg(seiten));
    QCOMPARE(v->Seiten()->Texte(seiten - 1).at(2), QStringLiteral("%1 of %1").arg(seiten));
}

// "Ausgabe" opens the queries, shows the report modal and closes them afterwards; queries
// left open by an earlier failed run are read afresh.
void TestDruckvorschau::ausgabeUeberHauptfenster()
{
    m_u->oeffnen();
    m_u->daten->DatenmengenOeffnen();
    IniRecord.AnzahlStatus = 5;
    TFormProjektMain fenster;
    TDataModule2 befehle(&fenster);
    m_form = std::make_unique<TFRDruckVorschauForm>();
    fenster.show();
    m_u->druck->TabPrintAufgaben->Close();  // as left by a run whose second query failed
    m_u->db.fremd(QStringLiteral("INSERT INTO Projekt (ID, Kommnr, Bezeichn) VALUES (9, 'P9', 'Neu');"
                                 "INSERT INTO ProjektAufgaben (Projekt_ID, Aufgabe_ID, Bezeichnung, Mitarbeiter, Status_ID) "
                                 "VALUES (9, 2, 'Montage', 2, 1);"));
    QStringList gesehen;
    QTimer warten;
    connect(&warten, &QTimer::timeout, this, [&] {
        if (QApplication::activeModalWidget() != m_form.get())
            return;
        warten.stop();
        m_form->frxPreview1->VorbereitungAbschliessen();
        gesehen << m_form->StatusText(1) << datenZeilen(*m_form->frxPreview1->Seiten());
        QVERIFY(m_u->druck->TabPrintProjekt->Active());
        QTest::mouseClick(m_form->BtnEnde, Qt::LeftButton);
    });
    warten.start(10);
    befehle.Action(QStringLiteral("ActionDruckAusgabe"))->trigger();
    QVERIFY(!gesehen.isEmpty());
    QCOMPARE(gesehen.first(), QStringLiteral("1 von 1"));
    QVERIFY(gesehen.contains(QStringLiteral("P9|Neu||")));
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_u->druck->TabPrintProjekt->Active());
    QVERIFY(!m_u->druck->TabPrintAufgaben->Active());
}

// A query that cannot be opened ends the command with its error; no preview is shown.
void TestDruckvorschau::ausgabeMitFehlerZeigtNichts()
{
    m_u->oeffnen();
    TFormProjektMain fenster;
    m_form = std::make_unique<TFRDruckVorschauForm>();
    m_u->db.fremd(QStringLiteral("DROP TABLE Personal;"));
    QVERIFY_THROWS_EXCEPTION(Fehler, fenster.DruckAusgabeStarten());
    QVERIFY(!m_form->isVisible());
}

// The window over the demo data, as a user sees it (bildschirmfotos/druckvorschau.png).
void TestDruckvorschau::bildschirmfoto()
{
    m_u->db.fremd(QStringLiteral("DELETE FROM ProjektAufgaben; DELETE FROM Projekt; DELETE FROM Personal; "
                                 "DELETE FROM Status; DELETE FROM Aufgaben;"));
    DatenbankWerkzeug::demoDatenEinfuegen(m_u->db.pfad, 40, QDate(2024, 5, 6));
    IniRecord.DruckVorschauWidth = 1000;
    IniRecord.DruckVorschauHeight = 750;
    FensterSchreiben(QStringLiteral("DruckVorschau"));
    zeigen();
    QTest::mouseClick(m_form->BtnTumbnails, Qt::LeftButton);
    m_form->ComboBoxZoom->setCurrentIndex(6);
    emit m_form->ComboBoxZoom->activated(6);
    QTest::qWait(50);
    const QString datei = QDir(bilderOrdner()).filePath(QStringLiteral("druckvorschau.png"));
    QVERIFY(m_form->grab().save(datei));
}

QTEST_MAIN(TestDruckvorschau)
#include "tst_druckvorschau.moc"
