#include "UnitProjektMain.h"

#include "Aenderungsnotiz.h"
#include "DataModule1.h"
#include "Datensicherung.h"
#include "DatenGitter.h"
#include "BerichtVorschau.h"
#include "FRDruckVorschau.h"
#include "Fehler.h"
#include "FensterLage.h"
#include "HookHelpSystem.h"
#include "HtmlHelp.h"
#include "IniRecord.h"
#include "Meldung.h"
#include "Oberflaechenschrift.h"
#include "ProjektlisteExport.h"
#include "ProjektSuche.h"
#include "Seitenwechsel.h"
#include "TKADaoDatabase.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitDatenStamm.h"
#include "UnitAufgabenZuordnen.h"
#include "UnitSucheProjekt.h"
#include "UnitDataModulePrint.h"
#include "UnitRuecksicherung.h"
#include "PrivateProfile.h"
#include "UnitInfo.h"
#include "UnitWochenplan.h"
#include "TerminplanAnsicht.h"
#include "UnitEinstellungen.h"
#include "Zeilenfarbe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <QVBoxLayout>
#include <exception>
#include <memory>
#include <utility>

TFormProjektMain* FormProjektMain = nullptr;

namespace {

// The copies of a database, in the folder PROJEKT.INI names ("Sicherungsverzeichnis" in
// "Programm"), else in "Sicherung" beside it.
Datensicherung sicherungFuer(const QString& datenbank)
{
    return Datensicherung(datenbank, GetPrivateProfileString(QStringLiteral("Programm"), QStringLiteral("Sicherungsverzeichnis"),
                                                             QString(), IniDateiPfad()));
}

const QColor MarkierFarbe = FarbeAusCode(0x00D9B8A8);
const QColor MarkierFarbeOhneFokus = FarbeAusCode(0x00F5E0DC);

// Milliseconds a tick of the wall screen waits for a lock of another program.
constexpr int TickSperrWartezeit = 200;

// Order in which the public-view columns are laid out and stored.
struct TPublicSpalte
{
    const char* id;
    TSpaltenLayout TIniRecord::*layout;
};
const TPublicSpalte PublicSpalten[] = {
    {"PROJEKT", &TIniRecord::PublicKommNr},    {"BEZEICHNUNG", &TIniRecord::PublicBezeichn},
    {"BAUSTELLE", &TIniRecord::PublicBaustelle}, {"BETREFF", &TIniRecord::PublicBetreff},
    {"MITARBEITER", &TIniRecord::PublicPersonal}, {"AUFGABE", &TIniRecord::PublicAufgabe},
    {"DATUM", &TIniRecord::PublicDatum},       {"STATUS", &TIniRecord::PublicStatus},
    {"ASTATUS", &TIniRecord::PublicAufgStatus},
};

QWidget* panel(const QString& name, QWidget* eltern)
{
    auto* w = new QWidget(eltern);
    w->setObjectName(name);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return w;
}

TDatenGitter* gitter(const QString& name, QWidget* eltern)
{
    auto* g = new TDatenGitter(eltern);
    g->setObjectName(name);
    eltern->layout()->addWidget(g);
    return g;
}

// The look the two edit-view grids share.
void editGitterEinrichten(TDatenGitter* g)
{
    g->setFont(Oberflaechenschrift(8, true));
    g->setKopfHoehe(20);
    g->setZeilenHoehe(18);
    g->setGitterlinienNurAktiveZeilen(true);
    g->setGanzeZeileMarkieren(true);
    g->setSpaltenVerschiebbar(false);
    g->setMarkierfarbe(MarkierFarbe);
    g->setMarkierfarbeOhneFokus(MarkierFarbeOhneFokus);
    g->setMarkiertextfarbe(Qt::black);
    g->setZellFaerbung(&Zeilenfarbe);
}

TGitterSpalte* spalte(TDatenGitter* g, const char* name, TSpaltenArt art, const char* feld, const QString& titel,
                      int breite, bool editierbar = false, bool fett = false)
{
    TGitterSpalte* s = g->spalteHinzufuegen(art, QString::fromLatin1(feld), titel, breite);
    s->setObjectName(QString::fromLatin1(name));
    s->setEditierbar(editierbar);
    s->setSchrift(Oberflaechenschrift(8, fett));
    return s;
}

} // namespace

TFormProjektMain::TFormProjektMain(QWidget* parent)
    : QMainWindow(parent), ActionMainMenuBar1(new QMenuBar(this)), ActionToolBar1(new QToolBar(this)),
      StatusBar1(new QStatusBar(this))
{
    setObjectName(QStringLiteral("FormProjektMain"));
    setWindowTitle(QStringLiteral("Projektverwaltung"));
    setFont(Oberflaechenschrift(8));
    resize(1139, 750);
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    setMenuBar(ActionMainMenuBar1);
    ActionToolBar1->setObjectName(QStringLiteral("ActionToolBar1"));
    addToolBar(ActionToolBar1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    leistenEinrichten();
    lblNurLesen = new QLabel(QStringLiteral("Nur lesen"), StatusBar1);
    lblNurLesen->setObjectName(QStringLiteral("lblNurLesen"));
    lblNurLesen->setToolTip(QStringLiteral("Die Datenbank kann nicht geschrieben werden; Änderungen sind nicht möglich."));
    StatusBar1->addPermanentWidget(lblNurLesen);
    lblNurLesen->hide();

    pnlMain = panel(QStringLiteral("pnlMain"), this);
    setCentralWidget(pnlMain);
    PageControl1 = new QTabWidget(pnlMain);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->hide();
    pnlMain->layout()->addWidget(PageControl1);
    TabSheetGrid = panel(QStringLiteral("TabSheetGrid"), PageControl1);
    TabSheetTree = panel(QStringLiteral("TabSheetTree"), PageControl1);
    PageControl1->addTab(TabSheetGrid, QString());
    PageControl1->addTab(TabSheetTree, QString());

    // Edit view: projects above, tasks and developer panel below.
    Splitter1 = new QSplitter(Qt::Vertical, TabSheetGrid);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    TabSheetGrid->layout()->addWidget(Splitter1);
    auto* oben = panel(QStringLiteral("pnlProjekte"), Splitter1);
    sucheEinrichten(oben);
    NextDBGridProjekte = gitter(QStringLiteral("NextDBGridProjekte"), oben);
    editGitterEinrichten(NextDBGridProjekte);
    NextDBGridProjekte->setZeilenIndikator(true);
    using A = TSpaltenArt;
    auto* p = NextDBGridProjekte;
    spalte(p, "NxDBProgressColumn1", A::Fortschritt, "Status", QStringLiteral(" "), 130, false, true)
        ->setFortschrittStil(TFortschrittStil::Voll);
    spalte(p, "NxDBTextColumn9", A::Text, "Kommnr", QStringLiteral("PROJEKT"), 80);
    spalte(p, "NxDBTextColumn10", A::Text, "Bezeichn", QStringLiteral("BEZEICHNUNG"), 150);
    spalte(p, "NxDBTextColumn12", A::Text, "Baustelle", QStringLiteral("BAUSTELLE"), 150);
    spalte(p, "NxDBTextColumn11", A::Text, "Betreff_ges", QStringLiteral("BETREFF"), 200);
    spalte(p, "NxDBTextColumn13", A::Datum, "Datum", QStringLiteral("DATUM"), 70);
    spalte(p, "NxDBDateColumn1", A::Datum, "LiefTermin", QStringLiteral("L.TERMIN"), 70, true);
    spalte(p, "NxDBDateColumn2", A::Datum, "Baubegin", QStringLiteral("BAUBEGINN"), 70, true);
    spalte(p, "NxDBDateColumn4", A::Datum, "Termin", QStringLiteral("TERMIN"), 70, true);
    spalte(p, "NxDBDateColumn3", A::Datum, "Faellig", QStringLiteral("FÄLLIG"), 70, true);
    spalte(p, "NxDBCheckBoxColumn3", A::CheckBox, "EV_Sichtbar", QStringLiteral("EV"), 20, true, true);
    spalte(p, "NxDBCheckBoxColumn4", A::CheckBox, "PV_Sichtbar", QStringLiteral("PV"), 20, true, true);

    pnlAufgaben = new QWidget(Splitter1);
    pnlAufgaben->setObjectName(QStringLiteral("pnlAufgaben"));
    auto* aufgabenLayout = new QVBoxLayout(pnlAufgaben);
    aufgabenLayout->setContentsMargins(0, 0, 0, 0);
    Splitter2 = new QSplitter(Qt::Horizontal, pnlAufgaben);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    aufgabenLayout->addWidget(Splitter2);
    // The project's tasks as a list and on a timeline, one page each.
    PageControlAufgaben = new QTabWidget(Splitter2);
    PageControlAufgaben->setObjectName(QStringLiteral("PageControlAufgaben"));
    PageControlAufgaben->setDocumentMode(true);
    auto* aufgabenPanel = panel(QStringLiteral("pnlAufgabenGitter"), PageControlAufgaben);
    PageControlAufgaben->addTab(aufgabenPanel, QStringLiteral("Aufgaben"));
    TerminplanAufgaben = new TTerminplanAnsicht(PageControlAufgaben);
    TerminplanAufgaben->setObjectName(QStringLiteral("TerminplanAufgaben"));
    TerminplanAufgaben->setMarkierfarbe(MarkierFarbeOhneFokus);
    PageControlAufgaben->addTab(TerminplanAufgaben, QStringLiteral("Terminplan"));
    NextDBGridAufgaben = gitter(QStringLiteral("NextDBGridAufgaben"), aufgabenPanel);
    editGitterEinrichten(NextDBGridAufgaben);
    NextDBGridAufgaben->setFetteMarkierung(true);
    NextDBGridAufgaben->setZeilenHoeheAenderbar(true);
    auto* a = NextDBGridAufgaben;
    spalte(a, "NxDBTextColumn1", A::Text, "Rang", QStringLiteral("Rang"), 20)->setAusrichtung(Qt::AlignHCenter);
    NxDBRateColumn1 = spalte(a, "NxDBRateColumn1", A::Rang, "Rang", QStringLiteral("Status"), 90, false, true);
    NxDBRateColumn1->setAusrichtung(Qt::AlignHCenter);
    NxDBRateColumn1->setGlyphGroesse(16);
    spalte(a, "NxLookupColumn2", A::Lookup, "Status_ID", QStringLiteral("STATUS"), 100, true)
        ->setAusrichtung(Qt::AlignHCenter);
    spalte(a, "NxDBTextColumn2", A::Text, "Bezeichnung", QStringLiteral("BEZEICHNUNG"), 150);
    spalte(a, "NxLookupColumn1", A::Lookup, "Mitarbeiter", QStringLiteral("MITARBEITER"), 150, true);
    spalte(a, "NxDBTextColumn3", A::Datum, "Datum_von", QStringLiteral("DATUM VON"), 90, true)
        ->setAusrichtung(Qt::AlignHCenter);
    spalte(a, "NxDBTextColumn4", A::Datum, "Datum_bis", QStringLiteral("DATUM BIS"), 90, true)
        ->setAusrichtung(Qt::AlignHCenter);
    spalte(a, "NxDBMemoColumn1", A::Memo, "Bemerkung", QStringLiteral("BEMERKUNG"), 280);

    pnlEntwickler = panel(QStringLiteral("pnlEntwickler"), Splitter2);
    PageControl2 = new QTabWidget(pnlEntwickler);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    pnlEntwickler->layout()->addWidget(PageControl2);
    auto entwicklerSeite = [this](const QString& titel, const QString& gitterName) {
        QWidget* seite = panel(QStringLiteral("TabSheet") + titel, PageControl2);
        PageControl2->addTab(seite, titel);
        TDatenGitter* g = gitter(gitterName, seite);
        g->setNurLesen(true);
        g->setGanzeZeileMarkieren(true);
        g->setZellFaerbung(&Zeilenfarbe);
        return g;
    };
    NextDBGrid1 = entwicklerSeite(QStringLiteral("StatSum"), QStringLiteral("NextDBGrid1"));
    for (const char* f : {"Projekt_ID", "AnzahlAufgaben", "SummeRang"})
        NextDBGrid1->spalteHinzufuegen(A::Text, QString::fromLatin1(f), QString::fromLatin1(f));
    NextDBGrid2 = entwicklerSeite(QStringLiteral("QProjektAufgaben"), QStringLiteral("NextDBGrid2"));
    for (const char* f : {"Projekt_ID", "Aufgabe_ID", "Stat_Rang", "Prioritaet"})
        NextDBGrid2->spalteHinzufuegen(A::Text, QString::fromLatin1(f), QString::fromLatin1(f));
    NextDBGrid3 = entwicklerSeite(QStringLiteral("Projekt"), QStringLiteral("NextDBGrid3"));
    const std::pair<const char*, int> projektFelder[] = {{"ID", 35},        {"Last_Aufgabe", 72}, {"Last_Personal", 72},
                                                         {"Last_Datum", 65}, {"Last_Rang", 60}};
    for (const auto& [f, breite] : projektFelder)
        NextDBGrid3->spalteHinzufuegen(A::Text, QString::fromLatin1(f), QString::fromLatin1(f), breite);
    for (const char* f : {"EV_Sichtbar", "PV_Sichtbar"})
        NextDBGrid3->spalteHinzufuegen(A::CheckBox, QString::fromLatin1(f), QString::fromLatin1(f), 28)
            ->setCheckTexte(QStringLiteral("wahr"), QStringLiteral("falsch"));
    PageControl2->setCurrentWidget(NextDBGrid3->parentWidget());
    pnlEntwickler->resize(371, pnlEntwickler->height());
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({768, 371});
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({500, 150});

    // Public view: one read-only grid in a large font for the wall screen.
    PanelPublicView = panel(QStringLiteral("PanelPublicView"), TabSheetTree);
    TabSheetTree->layout()->addWidget(PanelPublicView);
    NextDBGridPublicView = gitter(QStringLiteral("NextDBGridPublicView"), PanelPublicView);
    auto* pv = NextDBGridPublicView;
    pv->setFont(Oberflaechenschrift(20, true));
    pv->setKopfHoehe(40);
    pv->setZeilenHoehe(38);
    pv->setGitterlinienNurAktiveZeilen(true);
    pv->setZeilenIndikator(false);
    pv->setGanzeZeileMarkieren(true);
    pv->setMarkierungZeichnen(false);
    pv->setMarkierfarbe(FarbeAusCode(ZeilenfarbeCode));
    pv->setMarkierfarbeOhneFokus(FarbeAusCode(ZeilenfarbeCode));
    pv->setNurLesen(true);
    pv->setSpaltenVerschiebbar(true);
    pv->setSpaltenBreiteAenderbar(true);
    pv->setZellFaerbung(&Zeilenfarbe);
    struct PvSpalte
    {
        const char* name;
        const char* id;
        const char* titel;
        const char* feld;
        int breite;
        TSpaltenArt art;
    };
    const PvSpalte pvSpalten[] = {
        {"ColumnPublicKommnr", "PROJEKT", "PROJEKT", "Kommnr", 80, A::Text},
        {"ColumnPublicBezeichn", "BEZEICHNUNG", "BEZEICHNUNG", "Bezeichn", 200, A::Text},
        {"ColumnPublicBaustelle", "BAUSTELLE", "BAUSTELLE", "Baustelle", 200, A::Text},
        {"ColumnPublicBetreff", "BETREFF", "BETREFF", "Betreff_ges", 250, A::Text},
        {"ColumnPublicStatus", "STATUS", "STATUS", "Status", 150, A::Fortschritt},
        {"ColumnPublicAufgabe", "AUFGABE", "AUFGABE", "Last_Aufgabe", 80, A::Lookup},
        {"ColumnPublicMitarbeiter", "MITARBEITER", "MITARBEITER", "Last_Personal", 80, A::Lookup},
        {"ColumnPublicDatum", "DATUM", "DATUM", "Last_Datum", 80, A::Datum},
        {"ColumnPublicAufgStatus", "ASTATUS", " ", "Last_Rang", 80, A::Rang},
    };
    for (const PvSpalte& d : pvSpalten) {
        TGitterSpalte* s = pv->spalteHinzufuegen(d.art, QString::fromLatin1(d.feld), QString::fromLatin1(d.titel), d.breite);
        s->setObjectName(QString::fromLatin1(d.name));
        s->setSpaltenId(QString::fromLatin1(d.id));
        s->setSchrift(Oberflaechenschrift(20));
    }
    pv->spalteNachId(QStringLiteral("STATUS"))->setFortschrittStil(TFortschrittStil::Verlauf);
    ColumnPublicAufgStatus = pv->spalteNachId(QStringLiteral("ASTATUS"));
    ColumnPublicAufgStatus->setGlyphGroesse(30);
    ColumnPublicAufgStatus->setGlyphenDeckend(true);
    PageControl1->setCurrentWidget(TabSheetTree);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TFormProjektMain::Timer1Timer);
    wandtafelEinrichten();

    FormProjektMain = this;
    FormCreate();
}

void TFormProjektMain::wandtafelEinrichten()
{
    m_uhr = [] { return QDateTime::currentDateTime(); };
    auto label = [this](const char* name) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        return l;
    };
    lblStand = label("lblStand");
    lblHinweis = label("lblHinweis");
    lblSeite = label("lblSeite");
    StatusBar1->addWidget(lblStand, 1);
    StatusBar1->addWidget(lblHinweis);
    StatusBar1->addPermanentWidget(lblSeite);

    m_seitenwechsel = new TSeitenwechsel(NextDBGridPublicView, this);
    connect(m_seitenwechsel, &TSeitenwechsel::seiteGeaendert, this, &TFormProjektMain::seiteAnzeigen);

    // On the window itself, so the keys work with menu and toolbar hidden.
    ActionVollbild = new QAction(QStringLiteral("Vollbild"), this);
    ActionVollbild->setObjectName(QStringLiteral("ActionVollbild"));
    ActionVollbild->setShortcut(QKeySequence(Qt::Key_F11));
    connect(ActionVollbild, &QAction::triggered, this, [this] {
        if (m_ansicht == 1)
            VollbildSetzen(!m_vollbild);
    });
    addAction(ActionVollbild);
    ActionVollbildBeenden = new QAction(QStringLiteral("Vollbild beenden"), this);
    ActionVollbildBeenden->setObjectName(QStringLiteral("ActionVollbildBeenden"));
    ActionVollbildBeenden->setShortcut(QKeySequence(Qt::Key_Escape));
    // Only in full screen: Esc stays the grids' and editors' key otherwise.
    ActionVollbildBeenden->setEnabled(false);
    connect(ActionVollbildBeenden, &QAction::triggered, this, [this] { VollbildSetzen(false); });
    addAction(ActionVollbildBeenden);
}

void TFormProjektMain::sucheEinrichten(QWidget* eltern)
{
    auto* zeile = new QWidget(eltern);
    zeile->setObjectName(QStringLiteral("pnlSuche"));
    auto* layout = new QHBoxLayout(zeile);
    layout->setContentsMargins(2, 2, 2, 2);
    EditSuche = new QLineEdit(zeile);
    EditSuche->setObjectName(QStringLiteral("EditSuche"));
    EditSuche->setPlaceholderText(QStringLiteral("Suchen …"));
    EditSuche->setToolTip(QStringLiteral("Projekte nach Nummer, Bezeichnung, Baustelle, Kunde oder Betreff suchen (Strg+F)"));
    EditSuche->setClearButtonEnabled(true);
    EditSuche->setMinimumWidth(260);
    layout->addWidget(EditSuche);
    layout->addStretch(1);
    eltern->layout()->addWidget(zeile);
    connect(EditSuche, &QLineEdit::textChanged, this, &TFormProjektMain::sucheAnwenden);
    // Enter goes on to the projects found.
    connect(EditSuche, &QLineEdit::returnPressed, this, [this] { NextDBGridProjekte->setFocus(Qt::OtherFocusReason); });
    // Esc empties the field; in an empty field it goes back to the grid.
    auto* leeren = new QAction(EditSuche);
    leeren->setShortcut(QKeySequence(Qt::Key_Escape));
    leeren->setShortcutContext(Qt::WidgetShortcut);
    connect(leeren, &QAction::triggered, this, [this] {
        if (EditSuche->text().isEmpty())
            NextDBGridProjekte->setFocus(Qt::OtherFocusReason);
        else
            EditSuche->clear();
    });
    EditSuche->addAction(leeren);
    // The projects' texts are prepared while the user has not typed yet, and let go when the
    // field is left with nothing searched.
    m_sucheVerbindungen << connect(qApp, &QApplication::focusChanged, this, [this](QWidget* alt, QWidget* neu) {
        if (!m_suche)
            return;
        if (neu == EditSuche)
            m_suche->vorbereiten();
        else if (alt == EditSuche)
            m_suche->freigeben();
    });

    // On the window, so that Ctrl+F works with the toolbar hidden; the field is the edit view's.
    ActionSuchen = new QAction(QStringLiteral("Suchen"), this);
    ActionSuchen->setObjectName(QStringLiteral("ActionSuchen"));
    ActionSuchen->setShortcut(QKeySequence::Find);
    connect(ActionSuchen, &QAction::triggered, this, [this] {
        if (m_ansicht != 0)
            return;
        EditSuche->setFocus(Qt::ShortcutFocusReason);
        EditSuche->selectAll();
    });
    addAction(ActionSuchen);

    lblSuche = new QLabel(StatusBar1);
    lblSuche->setObjectName(QStringLiteral("lblSuche"));
    lblSuche->hide();
    StatusBar1->addWidget(lblSuche);
}

void TFormProjektMain::sucheAnwenden(const QString& text)
{
    if (!m_suche)
        return;
    try {
        m_suche->setText(text);
    } catch (const Fehler& f) {
        // The pending change of the current project could not be posted: the list stays as it
        // was, and so does the field, so that both say the same.
        const QSignalBlocker still(EditSuche);
        EditSuche->setText(m_suche->text());
        sucheAnzeigen();
        Meldung::fehler(f.text());
        return;
    }
    sucheAnzeigen();
}

void TFormProjektMain::sucheAnzeigen()
{
    const QString text = m_suche && m_ansicht == 0 ? m_suche->statusText() : QString();
    lblSuche->setText(text);
    lblSuche->setVisible(!text.isEmpty());
}

void TFormProjektMain::leistenEinrichten()
{
    // The menu titles in the middle of the taller bar, not at its top.
    const int frei = qMax(0, 24 - ActionMainMenuBar1->sizeHint().height());
    ActionMainMenuBar1->setContentsMargins(0, frei / 2, 0, frei - frei / 2);
    ActionMainMenuBar1->setFixedHeight(24);
    ActionToolBar1->setFixedHeight(47);
    ActionToolBar1->layout()->setSpacing(10);
    // Bar area and highlight in a light grey, a pressed button in the button face.
    const QColor hell = FarbeAusCode(0x00F2F2F2);
    for (QWidget* leiste : {static_cast<QWidget*>(ActionMainMenuBar1), static_cast<QWidget*>(ActionToolBar1)}) {
        QPalette farben = leiste->palette();
        farben.setColor(QPalette::Window, hell);
        farben.setColor(QPalette::Highlight, hell);
        farben.setColor(QPalette::HighlightedText, Qt::black);
        leiste->setPalette(farben);
        leiste->setAutoFillBackground(true);
    }
}

TFormProjektMain::~TFormProjektMain()
{
    hintergrundSicherungAbwarten();
    AufgabenFensterNachUebernahme = nullptr;
    // The search is lifted while the window's parts still stand; neither the count nor the
    // focus follows any more.
    for (const QMetaObject::Connection& v : std::as_const(m_sucheVerbindungen))
        disconnect(v);
    m_suche.reset();
    FormDestroy();
    if (FormProjektMain == this)
        FormProjektMain = nullptr;
}

QString TFormProjektMain::HilfedateiPfad()
{
    return QDir::toNativeSeparators(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Projekt.chm")));
}

void TFormProjektMain::FormCreate()
{
    const QString pfad = HilfedateiPfad();
    if (!QFile::exists(pfad))
        Meldung::information(QStringLiteral("Hilfedatei nicht gefunden !") + QChar(13) + pfad);
    const HtmlHelp::Zustand& hilfe = HtmlHelp::AktuellerZustand();
    if (!hilfe.geladen || !HtmlHelp::VersionAusreichend(hilfe.version))
        Meldung::information(QStringLiteral("Diese Anwendung erfordert die Installation der MS HTML Help 1.2 oder höher"));
    m_hilfe = std::make_unique<THookHelpSystem>(pfad, QString());
    HtmlHelp::FensterLageVerbinden(
        [] {
            FensterLesen(QStringLiteral("HilfeFenster"));
            return FensterLage(QStringLiteral("HilfeFenster"));
        },
        [](const QRect& lage) {
            FensterLageSetzen(QStringLiteral("HilfeFenster"), lage);
            FensterSchreiben(QStringLiteral("HilfeFenster"));
        });
}

void TFormProjektMain::FormDestroy()
{
    if (HtmlHelp::AktuellerZustand().geladen)
        HtmlHelp::HtmlHelpA(nullptr, {}, HtmlHelp::HH_CLOSE_ALL, 0);
    m_hilfe.reset();
    HtmlHelp::FensterLageVerbinden({}, {});
}

void TFormProjektMain::InfoAnzeigen()
{
    TFormInfo info(this);
    info.exec();
}

void TFormProjektMain::HilfeAnzeigen()
{
    AnwendungHilfeKontext(HilfeKontextStart);
}

void TFormProjektMain::showEvent(QShowEvent* ereignis)
{
    QMainWindow::showEvent(ereignis);
    if (!m_gezeigt) {
        m_gezeigt = true;
        FormShow();
    }
}

void TFormProjektMain::FormShow()
{
    // The data modules come after this window at start-up, so the grids are bound here.
    if (DataModule1) {
        NextDBGridProjekte->setDatenquelle(DataModule1->DSProjekt);
        m_suche = std::make_unique<TProjektSuche>(DataModule1->TabProjekt);
        // Projects added, deleted or read again change the count while a search is active.
        TKADaoTable* projekte = DataModule1->TabProjekt;
        for (auto signal : {&TKADaoTable::RowsReset, &TKADaoTable::RowsInserted, &TKADaoTable::RowsRemoved,
                            &TKADaoTable::StateChange})
            m_sucheVerbindungen << connect(projekte, signal, this, &TFormProjektMain::sucheAnzeigen);
        NextDBGridAufgaben->spalteNachId(QStringLiteral("STATUS"))
            ->setLookup(DataModule1->DSStatus, QStringLiteral("ID"), QStringLiteral("Stat_Bezeichnung"), 8);
        NextDBGridAufgaben->spalteNachId(QStringLiteral("MITARBEITER"))
            ->setLookup(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"), 8);
        NextDBGridAufgaben->setDatenquelle(DataModule1->DSProjektAufgaben);
        TerminplanAufgaben->setDatenquelle(DataModule1->DSProjektAufgaben);
        NextDBGrid1->setDatenquelle(DataModule1->DSStatSum);
        NextDBGrid2->setDatenquelle(DataModule1->dsQProjektAufgaben);
        NextDBGrid3->setDatenquelle(DataModule1->DSProjekt);
        NextDBGridPublicView->spalteNachId(QStringLiteral("AUFGABE"))
            ->setLookup(DataModule1->DSAufgaben, QStringLiteral("ID"), QStringLiteral("Aufg_Bezeichnung"), 8);
        NextDBGridPublicView->spalteNachId(QStringLiteral("MITARBEITER"))
            ->setLookup(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"), 8);
        NextDBGridPublicView->setDatenquelle(DataModule1->dsProjektView);
        // Said once, where it stays in sight; each refused change says it again in its box.
        lblNurLesen->setVisible(DataModule1->DBProjekt->NurLesen());
    }
    if (DataModule2) {
        DataModule2->setzeHandler(QStringLiteral("ActionAnsicht"), [this] { ActionAnsichtExecute(); });
        DataModule2->setzeHandler(QStringLiteral("ActionAnsichtRefresh"), [this] { ActionAnsichtRefreshExecute(); });
        DataModule2->setzeHandler(QStringLiteral("ActionAufgZuordStart"), [this] { AufgabenFensterOeffnen(0); });
        DataModule2->setzeHandler(QStringLiteral("ActionAufgBearbStart"), [this] { AufgabenFensterOeffnen(1); });
        // A project just taken over from the ERP system gets its tasks here (AufgabenAutomatik 1).
        AufgabenFensterNachUebernahme = [this](const QString& kommnr, int projektId) {
            ::AufgabenFensterOeffnen(0, kommnr, projektId, this);
        };
        DataModule2->setzeHandler(QStringLiteral("ActionDruckAusgabe"), [this] { DruckAusgabeStarten(); });
        DataModule2->setzeHandler(QStringLiteral("ActionProjektlisteExport"), [this] { ProjektlisteExportieren(); });
        DataModule2->setzeHandler(QStringLiteral("ActionDatensicherungZurueck"), [this] { DatensicherungZurueckspielen(); });
        DataModule2->setzeHandler(QStringLiteral("ActionInfoClick"), [this] { InfoAnzeigen(); });
        DataModule2->setzeHandler(QStringLiteral("ActionHilfe"), [this] { HilfeAnzeigen(); });
        const std::pair<const char*, int32_t> stammSeiten[] = {{"ActionStammProjektStart", 3},
                                                               {"ActionAufgabenStart", 0},
                                                               {"ActionStammMitarbeiterStart", 1},
                                                               {"ActionStammStatusStart", 2}};
        for (const auto& [befehl, seite] : stammSeiten)
            DataModule2->setzeHandler(QString::fromLatin1(befehl), [this, seite] { StammdatenOeffnen(seite); });
        DataModule2->setzeHandler(QStringLiteral("ActionSettingsClick"), [this] { EinstellungenAnzeigen(); });
        DataModule2->setzeHandler(QStringLiteral("ActionWochenplan"), [this] { WochenplanOeffnen(); });
    }

    AnsichtSetzen(IniRecord.Startansicht);
    if (!IniRecord.Entwicklerversion)
        Splitter2->setSizes({Splitter2->width(), 0});
    const int maximum = std::max(0, IniRecord.AnzahlStatus - 1);
    NxDBRateColumn1->setMaximum(maximum);
    NxDBRateColumn1->setBreite(18 * maximum);
    TerminplanAufgaben->setHoechsterRang(maximum);
    SpaltenLayoutLaden();
    ColumnPublicAufgStatus->setMaximum(maximum);
    // The day's first copy once the window is up, so it never delays the start.
    QTimer::singleShot(0, this, [this] {
        if (!DataModule1 || !DataModule1->DBProjekt->Connected() || DataModule1->DBProjekt->AufServer())
            return;
        Datensicherung sicherung = sicherungFuer(DataModule1->DBProjekt->DatabaseName());
        if (!sicherung.gesichertAm(QDate::currentDate()))
            datensicherungImHintergrund(std::move(sicherung));
    });
}

void TFormProjektMain::AnsichtSetzen(int32_t Ansicht)
{
    PageControl1->tabBar()->hide();
    const bool ev = Ansicht == 0;
    if (!ev && Ansicht != 1)
        return;
    // The stored geometry is the framed window's.
    if (m_vollbild)
        VollbildSetzen(false);
    FensterLageAnwenden(this, fensterName(Ansicht));
    repaint();
    m_ansicht = Ansicht;
    if (ev) {
        PageControl1->setCurrentWidget(TabSheetGrid);
        ActionToolBar1->setVisible(IniRecord.SymbolEditView);
        Timer1->stop();
        m_seitenwechsel->anhalten();
        // The refresh time belongs to the wall screen's list only.
        statuszeileEinrichten(false);
        sucheAnzeigen();
        NextDBGridProjekte->setFocus();
    } else {
        PageControl1->setCurrentWidget(TabSheetTree);
        ActionToolBar1->setVisible(IniRecord.SymbolPublicView);
        if (DataModule1)
            oeffentlicheListeFiltern();
        // Seconds beyond the timer's range count as the longest interval it takes.
        const qint64 ms = std::clamp<qint64>(qint64(IniRecord.RefreshTimePublicView) * 1000, 0, INT_MAX);
        Timer1->setInterval(int(ms));
        // An interval of 0 would tick on every idle pass: the timer stays off then.
        if (IniRecord.RefreshPublicView && ms > 0)
            Timer1->start();
        else
            Timer1->stop();
        statuszeileEinrichten(true);
        sucheAnzeigen();
        listeGelesen();
        NextDBGridPublicView->setBreitenAnpassen(IniRecord.SpaltenAnpassenPublicView);
        m_seitenwechsel->starten(IniRecord.SeitenwechselSekunden);
        seiteAnzeigen();
        NextDBGridPublicView->setFocus();
        if (IniRecord.VollbildPublicView)
            VollbildSetzen(true);
    }
}

void TFormProjektMain::VollbildSetzen(bool an)
{
    if (an && m_ansicht != 1)
        return;
    // The framed window's place, kept for the close in full screen.
    if (an && !m_vollbild)
        m_lageVorVollbild = AeussereFensterLage(this);
    m_vollbild = an;
    ActionMainMenuBar1->setVisible(!an);
    ActionToolBar1->setVisible(!an && IniRecord.SymbolPublicView);
    ActionVollbildBeenden->setEnabled(an);
    setWindowState(an ? (windowState() | Qt::WindowFullScreen) : (windowState() & ~Qt::WindowFullScreen));
}

void TFormProjektMain::statuszeileEinrichten(bool wand)
{
    // Read from across the room on the wall; the office's bar stays small and empty.
    const QFont schrift = wand ? Oberflaechenschrift(20, true) : Oberflaechenschrift(8);
    StatusBar1->setFont(schrift);
    // The bar's height follows at once, not only after the next layout pass.
    StatusBar1->setMinimumHeight(wand ? QFontMetrics(schrift).height() + 6 : 0);
    if (layout())
        layout()->activate();
    lblStand->setVisible(wand);
    lblSeite->setVisible(wand);
    lblHinweis->setVisible(wand && !lblHinweis->text().isEmpty());
}

void TFormProjektMain::seiteAnzeigen()
{
    lblSeite->setText(m_seitenwechsel->text());
    // The data age is looked at again as the pages turn, also between ticks.
    if (m_ansicht == 1)
        standAnzeigen();
}

void TFormProjektMain::StartHinweisZeigen(const QString& text)
{
    QString zeile = text;
    zeile.replace(QChar(13), QChar(' ')).replace(QChar(10), QChar(' '));
    lblHinweis->setText(lblHinweis->text().isEmpty() ? zeile : lblHinweis->text() + QStringLiteral(" · ") + zeile);
    lblHinweis->setVisible(m_ansicht == 1);
}

void TFormProjektMain::setUhr(std::function<QDateTime()> uhr)
{
    m_uhr = std::move(uhr);
}

void TFormProjektMain::ActionAnsichtExecute()
{
    if (m_ansicht == 0)
        AnsichtSetzen(1);
    else if (m_ansicht == 1)
        AnsichtSetzen(0);
}

void TFormProjektMain::SpaltenLayoutLaden()
{
    for (const TPublicSpalte& s : PublicSpalten) {
        const QString id = QString::fromLatin1(s.id);
        SpalteLesen(id);
        NextDBGridPublicView->spaltenLayoutAnwenden(id, IniRecord.*s.layout);
    }
}

void TFormProjektMain::SpaltenLayoutSpeichern()
{
    for (const TPublicSpalte& s : PublicSpalten) {
        const QString id = QString::fromLatin1(s.id);
        IniRecord.*s.layout = NextDBGridPublicView->spaltenLayout(id);
        SpalteSchreiben(id);
    }
}

QString TFormProjektMain::fensterName(int ansicht)
{
    return ansicht == 0 ? QStringLiteral("HauptFensterEV") : QStringLiteral("HauptFensterPV");
}

void TFormProjektMain::oeffentlicheListeFiltern()
{
    DataModule1->TabProjektView->setFilter(QStringLiteral("PV_Sichtbar"));
    DataModule1->TabProjektView->setFiltered(true);
}

void TFormProjektMain::standErneuern()
{
    DataModule1->ProjektStandAktualisieren();
    DataModule1->TabStatSum->Requery();
}

void TFormProjektMain::listeGelesen()
{
    m_datenstand.gelesen(m_uhr());
    standAnzeigen();
}

void TFormProjektMain::Timer1Timer()
{
    if (!DataModule1)
        return;
    // The wall screen runs unattended: a failing tick must not stack error boxes there. The
    // list on screen stays, the status bar says how old it is, and the next tick tries again.
    // Nor may a lock of another program freeze the window for the whole busy wait at every
    // tick: the tick waits only briefly; the user's own saves keep the long wait.
    TKADaoDatabase* db = DataModule1->DBProjekt;
    const int busyWartezeit = db->BusyTimeout();
    db->setBusyTimeout(std::min(busyWartezeit, TickSperrWartezeit));
    bool gelesen = true;
    try {
        // Only what was written since the last tick is read; with nothing written the tick
        // only says how old the list is.
        DataModule1->ProjektListeAbgleichen();
        oeffentlicheListeFiltern();
    } catch (const std::exception&) {
        gelesen = false;
    }
    db->setBusyTimeout(busyWartezeit);
    if (!gelesen) {
        m_datenstand.fehlgeschlagen();
        standAnzeigen();
        return;
    }
    listeGelesen();
}

void TFormProjektMain::standAnzeigen()
{
    const QDateTime jetzt = m_uhr();
    const qint64 intervall = Timer1->isActive() ? Timer1->interval() : 0;
    lblStand->setText(m_datenstand.text(jetzt, intervall));
    QPalette farben = StatusBar1->palette();
    if (m_datenstand.veraltet(jetzt, intervall))
        farben.setColor(QPalette::WindowText, QColor(0xd0, 0, 0));
    lblStand->setPalette(farben);
}

void TFormProjektMain::ActionAnsichtRefreshExecute()
{
    if (m_ansicht == 1) {
        DataModule1->ProjektListeNeuLesen();
        oeffentlicheListeFiltern();
        listeGelesen();
        return;
    }
    standErneuern();
    if (m_ansicht == 0) {
        TKADaoTable* projekt = DataModule1->TabProjekt;
        // A read-only database has nothing to write; the list is filtered all the same.
        if (!projekt->IsEmpty() && !DataModule1->DBProjekt->NurLesen()) {
            if (projekt->State() != TDataSetState::dsEdit && projekt->State() != TDataSetState::dsInsert)
                projekt->Edit();
            projekt->Post();
        }
        projekt->setFilter(QStringLiteral("EV_Sichtbar"));
        projekt->setFiltered(true);
    }
}

void TFormProjektMain::StammdatenOeffnen(int32_t StartSeite)
{
    TFormDatenStamm fenster(DataModule2 ? DataModule2->ActionManager1 : nullptr, this);
    fenster.StartSeite = StartSeite;
    fenster.exec();
}

void TFormProjektMain::WochenplanOeffnen()
{
    if (!DataModule1)
        return;
    TFormWochenplan fenster(DataModule1->DBProjekt, this);
    fenster.exec();
}

void TFormProjektMain::AufgabenFensterOeffnen(int32_t Modus)
{
    ::AufgabenFensterOeffnen(Modus, this);
}

void TFormProjektMain::FormClose(QCloseEvent* ereignis)
{
    const bool timerLief = Timer1->isActive();
    Timer1->stop();
    // Settings that cannot be written are reported, but they keep nobody from closing.
    std::exception_ptr einstellungsFehler;
    try {
        if (m_ansicht == 0 || m_ansicht == 1) {
            // In full screen the window's own place is the one it returns to.
            if (m_vollbild) {
                FensterLageSetzen(fensterName(m_ansicht), m_lageVorVollbild);
                FensterSchreiben(fensterName(m_ansicht));
            } else {
                FensterLageMerken(this, fensterName(m_ansicht));
            }
        }
        SpaltenLayoutSpeichern();
    } catch (...) {
        einstellungsFehler = std::current_exception();
    }
    QString nichtGespeichert;
    // When the system ends the program nobody may be there to answer a question about a
    // row changed meanwhile: such a row goes into the note as well.
    if (m_systemEnde && DataModule1)
        for (TKADaoTable* t : {DataModule1->TabProjektAufgaben, DataModule1->TabProjekt})
            t->setRueckfrageBeiKonflikt(false);
    try {
        offeneZeilenSpeichern();
    } catch (const Fehler& f) {
        nichtGespeichert = f.text();
    } catch (const std::exception& e) {
        nichtGespeichert = QString::fromLocal8Bit(e.what());
    }
    if (!nichtGespeichert.isEmpty() && m_systemEnde) {
        aufSystemwunschBeenden();
        nichtGespeichert.clear();
    }
    if (!nichtGespeichert.isEmpty()) {
        // A typed change that cannot be stored now (another program holds the database) is
        // not thrown away: the window stays open with it and with the connection, and the
        // message says why. Nothing else is tried, so the user waits for the lock only once.
        // Said here rather than thrown, so the window can be closed again later.
        ereignis->ignore();
        if (timerLief)
            Timer1->start();
        Meldung::fehler(nichtGespeichert + QStringLiteral("\n\nDie Projektverwaltung bleibt geöffnet, damit die "
                                                          "Änderung nicht verloren geht."));
        return;
    }
    if (DataModule1 && DataModule1->DBProjekt->Connected()) {
        // The day's copy holds what the day ended with.
        DatensicherungSchreiben();
        DataModule1->DBProjekt->Close();
    }
    ereignis->accept();
    if (einstellungsFehler)
        std::rethrow_exception(einstellungsFehler);
}

void TFormProjektMain::aufSystemwunschBeenden()
{
    // The system will not wait for the user: one more try, then the edit goes into the note
    // that the next start offers, and the run ends.
    try {
        offeneZeilenSpeichern();
        return;
    } catch (const std::exception&) {
    }
    QString bericht;
    try {
        const QString notiert = Aenderungsnotiz::Schreiben(*DataModule1);
        bericht = QStringLiteral("Die Datenbank war gesperrt; diese Änderungen wurden nicht gespeichert und werden "
                                 "beim nächsten Start angeboten (%1):\n%2")
                      .arg(Aenderungsnotiz::Pfad(), notiert);
    } catch (const Fehler& f) {
        bericht = f.text();
    }
    // Nobody may be at the screen now: said in the log, not in a box that would hold up the end.
    qWarning("%s", qUtf8Printable(bericht));
    for (TKADaoTable* t : {DataModule1->TabProjektAufgaben, DataModule1->TabProjekt})
        t->Cancel();
}

void TFormProjektMain::offeneZeilenSpeichern()
{
    // Nothing can be stored in a read-only database; each try has said so already.
    if (!DataModule1 || DataModule1->DBProjekt->NurLesen())
        return;
    // A date typed into a cell that is still open counts as entered.
    NextDBGridAufgaben->offeneEingabeUebernehmen();
    NextDBGridProjekte->offeneEingabeUebernehmen();
    auto offen = [](TKADaoTable* t) {
        return t->State() == TDataSetState::dsEdit || t->State() == TDataSetState::dsInsert;
    };
    // The tasks first: their after-post step writes the project row as well, together with
    // a change the user has made to it.
    TKADaoTable* aufgaben = DataModule1->TabProjektAufgaben;
    if (offen(aufgaben))
        aufgaben->Post();
    // A ticked "EV" or a changed date in the project grid counts as much as a task edit.
    TKADaoTable* projekt = DataModule1->TabProjekt;
    if (offen(projekt))
        projekt->Post();
}

void TFormProjektMain::closeEvent(QCloseEvent* ereignis)
{
    FormClose(ereignis);
}

void TFormProjektMain::DruckAusgabeStarten()
{
    if (!DataModule3 || !FRDruckVorschauForm)
        return;
    TKADaoTable* projekte = DataModule3->TabPrintProjekt;
    TKADaoTable* aufgaben = DataModule3->TabPrintAufgaben;
    // Queries left open by a failed earlier run are read afresh: the report shows the data
    // as it stands now.
    projekte->Close();
    aufgaben->Close();
    struct Schliessen
    {
        TKADaoTable* projekte;
        TKADaoTable* aufgaben;
        ~Schliessen()
        {
            projekte->Close();
            aufgaben->Close();
        }
    };
    projekte->Open();
    aufgaben->Open();
    const Schliessen schliessen{projekte, aufgaben};
    FRDruckVorschauForm->PdfVorschlag = QStringLiteral("Projektbericht.pdf");
    FRDruckVorschauForm->frxPreview1->BerichtZeigen(DataModule3->frxReport1);
    FRDruckVorschauForm->exec();
}

void TFormProjektMain::ProjektlisteExportieren()
{
    const auto waehlen = ExportDateiWaehlen ? ExportDateiWaehlen : [](QWidget* eltern) {
        return QFileDialog::getSaveFileName(eltern, QStringLiteral("Projektliste exportieren"),
                                            QStringLiteral("Projektliste.csv"),
                                            QStringLiteral("CSV-Dateien (*.csv)"));
    };
    QString pfad = waehlen(this);
    if (pfad.isEmpty())
        return;
    if (!pfad.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        pfad += QLatin1String(".csv");
    ProjektlisteExport::ProjektlisteSchreiben(*NextDBGridProjekte, DataModule1 ? DataModule1->TabAufgaben : nullptr,
                                              DataModule1 ? DataModule1->TabPersonal : nullptr, pfad);
}

void TFormProjektMain::EinstellungenAnzeigen()
{
    // The order of the dialog's column list.
    static const char* const reihenfolge[] = {
        "ColumnPublicKommnr", "ColumnPublicBezeichn", "ColumnPublicBaustelle", "ColumnPublicBetreff", "ColumnPublicMitarbeiter",
        "ColumnPublicAufgabe", "ColumnPublicDatum", "ColumnPublicAufgStatus", "ColumnPublicStatus"};
    QList<TGitterSpalte*> spalten;
    for (const char* name : reihenfolge)
        spalten << NextDBGridPublicView->findChild<TGitterSpalte*>(QLatin1String(name));
    QAction* speichern = DataModule2 ? DataModule2->Action(QStringLiteral("ActionSettingsSave")) : nullptr;
    QAction* beenden = DataModule2 ? DataModule2->Action(QStringLiteral("ActionSettingsClose")) : nullptr;
    TFormEinstellungen dialog(spalten, speichern, beenden, this);
    if (DataModule2) {
        DataModule2->setzeHandler(QStringLiteral("ActionSettingsSave"), [&dialog] { dialog.EinstellungenSpeichern(); });
        DataModule2->setzeHandler(QStringLiteral("ActionSettingsClose"), [&dialog] { dialog.close(); });
    }
    dialog.exec();
    if (DataModule2) {
        DataModule2->setzeHandler(QStringLiteral("ActionSettingsSave"), {});
        DataModule2->setzeHandler(QStringLiteral("ActionSettingsClose"), {});
    }
}

bool TFormProjektMain::DatensicherungSchreiben()
{
    // A database on a server is backed up by the server; there is no file to copy.
    if (DataModule1->DBProjekt->AufServer())
        return true;
    hintergrundSicherungAbwarten();
    try {
        sicherungFuer(DataModule1->DBProjekt->DatabaseName()).sichern();
        return true;
    } catch (const Fehler& f) {
        sicherungsfehlerMelden(f.text());
        return false;
    }
}

// The day's first copy reads and checks the whole file: it is made beside the window, which a
// large database would otherwise hold up for seconds. Whatever copies or replaces the file
// later waits for it.
void TFormProjektMain::datensicherungImHintergrund(Datensicherung sicherung)
{
    if (m_hintergrundSicherung)
        return;
    auto fehler = std::make_shared<QString>();
    m_hintergrundSicherung = QThread::create([sicherung = std::move(sicherung), fehler]() mutable {
        try {
            sicherung.sichern();
        } catch (const Fehler& f) {
            *fehler = f.text();
        } catch (const std::exception& e) {
            *fehler = QString::fromLocal8Bit(e.what());
        }
    });
    m_hintergrundSicherung->setParent(this);
    connect(m_hintergrundSicherung, &QThread::finished, this, [this, fehler] {
        hintergrundSicherungAbwarten();
        if (!fehler->isEmpty())
            sicherungsfehlerMelden(*fehler);
    });
    m_hintergrundSicherung->start(QThread::LowPriority);
}

void TFormProjektMain::hintergrundSicherungAbwarten()
{
    if (!m_hintergrundSicherung)
        return;
    m_hintergrundSicherung->wait();
    std::exchange(m_hintergrundSicherung, nullptr)->deleteLater();
}

// Said once in the status bar: the program goes on without the copy.
void TFormProjektMain::sicherungsfehlerMelden(const QString& text)
{
    if (!m_sicherungsfehlerGemeldet) {
        m_sicherungsfehlerGemeldet = true;
        StatusBar1->showMessage(QStringLiteral("Datensicherung fehlgeschlagen: ") + QString(text).replace(QChar('\n'), QChar(' ')));
    }
    qWarning().noquote() << text;
}

void TFormProjektMain::DatensicherungZurueckspielen()
{
    if (!DataModule1)
        return;
    hintergrundSicherungAbwarten();
    TKADaoDatabase* db = DataModule1->DBProjekt;
    if (db->AufServer()) {
        Meldung::information(QStringLiteral("Die Datenbank liegt auf dem Datenbankserver (%1). Ihre Datensicherung macht "
                                            "der Server (z. B. mit pg_dump); die Projektverwaltung legt dafür keine "
                                            "Dateikopien an.")
                                 .arg(db->Dateipfad()));
        return;
    }
    const QString datei = db->DatabaseName();
    Datensicherung sicherung = sicherungFuer(datei);
    const auto kopien = sicherung.kopien();
    if (kopien.isEmpty()) {
        Meldung::information(QStringLiteral("Im Ordner %1 gibt es keine Datensicherung.").arg(sicherung.ordner()));
        return;
    }
    TFormRuecksicherung auswahl(kopien, this);
    if (auswahl.exec() != QDialog::Accepted || auswahl.gewaehlteKopie().isEmpty())
        return;
    const QString kopie = auswahl.gewaehlteKopie();
    Datensicherung::pruefen(kopie);
    if (!Meldung::bestaetigen(QStringLiteral("Bestätigung"),
                              QStringLiteral("Die Datenbank wird durch die Sicherung %1 ersetzt; die jetzige bleibt unter neuem "
                                             "Namen erhalten. Fortfahren?").arg(QFileInfo(kopie).fileName())))
        return;
    // A pending task edit is saved first; it then lives on in the kept file.
    TKADaoTable* aufgaben = DataModule1->TabProjektAufgaben;
    if (aufgaben->State() == TDataSetState::dsEdit || aufgaben->State() == TDataSetState::dsInsert)
        aufgaben->Post();
    Timer1->stop();
    db->Close();
    QString bisher;
    try {
        bisher = sicherung.zurueckspielen(kopie);
    } catch (...) {
        // Nothing was replaced: the database as it was opens again.
        db->Open();
        DataModule1->DatenmengenOeffnen();
        AnsichtSetzen(m_ansicht);
        throw;
    }
    db->Open();
    DataModule1->DatenmengenOeffnen();
    AnsichtSetzen(m_ansicht);
    Meldung::information(QStringLiteral("Die Sicherung %1 wurde zurückgespielt. Die bisherige Datenbank liegt unter %2.")
                             .arg(QFileInfo(kopie).fileName(), bisher));
}
