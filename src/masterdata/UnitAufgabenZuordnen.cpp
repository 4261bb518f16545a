#include "UnitAufgabenZuordnen.h"

#include "BefehlsKnopf.h"
#include "DBBedienelemente.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "Farben.h"
#include "IniRecord.h"
#include "Oberflaechenschrift.h"
#include "TDataSource.h"
#include "TField.h"
#include "TKADaoTable.h"
#include "UnitAktionManager.h"
#include "UnitAufgabenZuordnenTools.h"
#include "Verankerung.h"
#include "Zeilenfarbe.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

TFormAufgabenZuordnen* FormAufgabenZuordnen = nullptr;

namespace {

const QString FensterName = QStringLiteral("AufgabeFenster");

// The window's commands and the steps each runs here.
const char* const Befehle[] = {"ActionAufgZuordAssign", "ActionAufgZuordClose", "ActionAufgZuordEdit",
                               "ActionAufgZuordSave",   "ActionAufgZuordCancel", "ActionAufgZuordDelete"};

QWidget* panel(const QString& name, QWidget* eltern)
{
    auto* w = new QWidget(eltern);
    w->setObjectName(name);
    return w;
}

QLabel* beschriftung(const QString& name, const QString& text, QWidget* eltern, int links, int oben,
                     const QFont& schrift)
{
    auto* l = new QLabel(text, eltern);
    l->setObjectName(name);
    l->setFont(schrift);
    // Room above the line for the dots of capital umlauts ("PRIORITÄT"), which reach beyond the
    // font's ascent; the text stays where it was designed.
    l->setContentsMargins(0, 3, 0, 0);
    l->adjustSize();
    l->move(links, oben - 3);
    return l;
}

// `vorbereiten` runs before the control is bound, so that settings like a spin edit's range
// never write into the record.
template<typename T>
T* eingabe(const QString& name, const char* feld, QWidget* eltern, int links, int oben, int breite, int hoehe = 21,
           const std::function<void(T*)>& vorbereiten = {})
{
    auto* e = new T(eltern);
    e->setObjectName(name);
    if (vorbereiten)
        vorbereiten(e);
    e->setGeometry(links, oben, breite, hoehe);
    if (DataModule1) {
        e->setDatenquelle(DataModule1->DSProjektAufgaben);
        e->setFeld(QString::fromLatin1(feld));
    }
    return e;
}

// The row band of both grids.
void DBGridAufgabenBearbeitenCellColoring(TGitterSpalte* spalte, int32_t zeile, QColor& zellfarbe,
                                          QColor& gitterfarbe, TZellZustaende zustand)
{
    Zeilenfarbe(spalte, zeile, zellfarbe, gitterfarbe, zustand);
}

// The look both grids share.
void gitterEinrichten(TDatenGitter* g)
{
    g->setFont(Oberflaechenschrift(8, true));
    g->setKopfHoehe(20);
    g->setZeilenHoehe(18);
    g->setZeilenIndikator(true);
    g->setGitterlinienNurAktiveZeilen(true);
    g->setGanzeZeileMarkieren(true);
    g->setMarkierfarbe(FarbeAusCode(14268584));
    g->setMarkierfarbeOhneFokus(FarbeAusCode(16113884));
    g->setMarkiertextfarbe(Qt::black);
    g->setZellFaerbung(&DBGridAufgabenBearbeitenCellColoring);
}

TGitterSpalte* spalte(TDatenGitter* g, TSpaltenArt art, const char* feld, const char* titel, int breite)
{
    TGitterSpalte* s = g->spalteHinzufuegen(art, QString::fromLatin1(feld), QString::fromLatin1(titel), breite);
    s->setSchrift(Oberflaechenschrift(8));
    return s;
}

void personalLookup(TGitterSpalte* s)
{
    if (DataModule1)
        s->setLookup(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
}

void statusLookup(TGitterSpalte* s)
{
    if (DataModule1)
        s->setLookup(DataModule1->DSStatus, QStringLiteral("ID"), QStringLiteral("Stat_Bezeichnung"));
}

} // namespace

TFormAufgabenZuordnen::TFormAufgabenZuordnen(QWidget* parent)
    : QDialog(parent),
      Zustand({[](bool b) { AufgabenButtonsSetzen(b); }, [](bool b) { AufgabenEingabeSetzen(b); },
               [](const QString& befehl) { AufgabenDatensatzBefehl(befehl); },
               [this]() -> TKADaoTable* {
                   return BearbeitenSeiteAktiv() && DataModule1 ? DataModule1->TabProjektAufgaben : nullptr;
               }})
{
    setObjectName(QStringLiteral("FormAufgabenZuordnen"));
    setFont(Oberflaechenschrift(8));
    setAutoFillBackground(true);
    setSizeGripEnabled(true);
    resize(DesignBreite, 572 - 38);  // the design's client area; the saved geometry follows at show
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    kopfAufbauen();
    PanelMain = panel(QStringLiteral("PanelMain"), this);
    auto* mitte = new QVBoxLayout(PanelMain);
    mitte->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(PanelMain);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->hide();
    mitte->addWidget(PageControl1);
    zuordnenSeiteAufbauen();
    bearbeitenSeiteAufbauen();
    knopfLeisteAufbauen();

    layout->addWidget(PanelTop);
    layout->addWidget(PanelMain, 1);
    layout->addWidget(PanelBottom);

    befehleAnbinden();
    FormAufgabenZuordnen = this;
}

TFormAufgabenZuordnen::~TFormAufgabenZuordnen()
{
    // The commands stay in the command set; without the window they do nothing.
    if (DataModule2)
        for (const char* name : Befehle)
            DataModule2->setzeHandler(QLatin1String(name), {});
    if (FormAufgabenZuordnen == this)
        FormAufgabenZuordnen = nullptr;
}

void TFormAufgabenZuordnen::kopfAufbauen()
{
    PanelTop = panel(QStringLiteral("PanelTop"), this);
    PanelTop->setFixedHeight(49);
    const QFont fett10 = Oberflaechenschrift(10, true);
    Label1 = beschriftung(QStringLiteral("Label1"), QStringLiteral("PROJEKT"), PanelTop, 16, 16, fett10);
    auto text = [&](const QString& name, const char* feld, int links, int breite) {
        auto* t = new TDBText(PanelTop);
        t->setObjectName(name);
        t->setFont(fett10);
        t->setGeometry(links, 16, breite, 17);
        if (DataModule1) {
            t->setDatenquelle(DataModule1->DSProjekt);
            t->setFeld(QString::fromLatin1(feld));
        }
        return t;
    };
    DBTextProjektKommnr = text(QStringLiteral("DBTextProjektKommnr"), "Kommnr", 104, 97);
    DBTextProjektBezeichnung = text(QStringLiteral("DBTextProjektBezeichnung"), "Bezeichn", 208, 369);
    auto rechtsbuendig = [&](const QString& name, int oben) {
        auto* l = new QLabel(PanelTop);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(680, oben, 100, 14);
        return l;
    };
    lblKommnr = rechtsbuendig(QStringLiteral("lblKommnr"), 8);
    lblID = rechtsbuendig(QStringLiteral("lblID"), 24);
    auto* anker = new TVerankerung(PanelTop, DesignBreite);
    anker->rechts(lblKommnr);
    anker->rechts(lblID);
}

void TFormAufgabenZuordnen::zuordnenSeiteAufbauen()
{
    TSAufgabenZuordnen = panel(QStringLiteral("TSAufgabenZuordnen"), PageControl1);
    auto* layout = new QVBoxLayout(TSAufgabenZuordnen);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControl1->addTab(TSAufgabenZuordnen, QStringLiteral("Aufgaben zuordnen"));

    DBGridAufgabenZuordnen = new TDatenGitter(TSAufgabenZuordnen);
    DBGridAufgabenZuordnen->setObjectName(QStringLiteral("DBGridAufgabenZuordnen"));
    layout->addWidget(DBGridAufgabenZuordnen);
    TDatenGitter* g = DBGridAufgabenZuordnen;
    gitterEinrichten(g);
    g->setSpaltenVerschiebbar(true);
    TGitterSpalte* auswahl = spalte(g, TSpaltenArt::CheckBox, "Select", "SELECT", 45);
    auswahl->setAusrichtung(Qt::AlignHCenter);
    auswahl->setEditierbar(true);
    spalte(g, TSpaltenArt::Text, "Aufg_Bezeichnung", "BEZEICHNUNG", 150);
    personalLookup(spalte(g, TSpaltenArt::Lookup, "Aufg_Mitarbeiter", "MITARBEITER", 120));
    statusLookup(spalte(g, TSpaltenArt::Lookup, "Aufg_Status", "STATUS", 120));
    spalte(g, TSpaltenArt::Memo, "Aufg_Bemerkung", "BEMERKUNG", 300);
    if (DataModule1)
        g->setDatenquelle(DataModule1->DSAufgaben);
}

void TFormAufgabenZuordnen::bearbeitenSeiteAufbauen()
{
    TSAufgabenBearbeiten = panel(QStringLiteral("TSAufgabenBearbeiten"), PageControl1);
    auto* layout = new QVBoxLayout(TSAufgabenBearbeiten);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControl1->addTab(TSAufgabenBearbeiten, QStringLiteral("Aufgaben bearbeiten"));
    Splitter1 = new QSplitter(Qt::Vertical, TSAufgabenBearbeiten);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);

    // Input panel: white, captions in bold, every input on the project's tasks.
    QWidget* p = pnlAufgabeZuordnenInput = panel(QStringLiteral("pnlAufgabeZuordnenInput"), Splitter1);
    p->setAutoFillBackground(true);
    QPalette weiss = p->palette();
    weiss.setColor(QPalette::Window, Qt::white);
    p->setPalette(weiss);
    p->setMinimumHeight(217);

    pnlAufgabenTitel = new QFrame(p);
    pnlAufgabenTitel->setObjectName(QStringLiteral("pnlAufgabenTitel"));
    pnlAufgabenTitel->setGeometry(7, 8, 766, 16);
    pnlAufgabenTitel->setAutoFillBackground(true);
    QPalette titelFarbe = pnlAufgabenTitel->palette();
    titelFarbe.setColor(QPalette::Window, FarbeAusCode(10010070));
    pnlAufgabenTitel->setPalette(titelFarbe);
    QLabel* titel = beschriftung(QStringLiteral("lblAufgabenTitel"), QStringLiteral(" AUFGABEN "), pnlAufgabenTitel, 8,
                                 0, Oberflaechenschrift(10, true));
    titel->setAutoFillBackground(true);
    // The strip is locked with the inputs in browse state, its caption still reads as a title.
    QPalette titelText = weiss;
    titelText.setColor(QPalette::Disabled, QPalette::WindowText, titelText.color(QPalette::Active, QPalette::WindowText));
    titel->setPalette(titelText);

    const QFont fett8 = Oberflaechenschrift(8, true);
    beschriftung(QStringLiteral("lblBezeichnung"), QStringLiteral("BEZEICHNUNG"), p, 24, 51, fett8);
    beschriftung(QStringLiteral("lblBemerkung"), QStringLiteral("BEMERKUNG"), p, 408, 51, fett8);
    beschriftung(QStringLiteral("lblMitarbeiter"), QStringLiteral("MITARBEITER"), p, 24, 83, fett8);
    beschriftung(QStringLiteral("lblStatus"), QStringLiteral("STATUS"), p, 24, 115, fett8);
    beschriftung(QStringLiteral("lblDatumVon"), QStringLiteral("DATUM VON"), p, 24, 160, fett8);
    beschriftung(QStringLiteral("lblDatumBis"), QStringLiteral("DATUM BIS"), p, 120, 160, fett8);
    beschriftung(QStringLiteral("lblPrioritaet"), QStringLiteral("PRIORITÄT"), p, 312, 160, fett8);

    // Created in the tab order: text, remark, dates, employee, status, priority.
    DBEditBezeichnung = eingabe<TDBEdit>(QStringLiteral("DBEditBezeichnung"), "Bezeichnung", p, 112, 48, 273);
    DBMemoBemerkung = eingabe<TDBMemo>(QStringLiteral("DBMemoBemerkung"), "Bemerkung", p, 488, 48, 281, 145);
    // Tab goes on to the next input, as in every input panel; the remark takes no tab characters.
    DBMemoBemerkung->setTabChangesFocus(true);
    DBDateEditVon = eingabe<TDBDatumEdit>(QStringLiteral("DBDateEditVon"), "Datum_von", p, 24, 176, 89);
    DBDateEditBis = eingabe<TDBDatumEdit>(QStringLiteral("DBDateEditBis"), "Datum_bis", p, 120, 176, 89);
    DBLookupComboBoxMitarbeiter =
        eingabe<TDBLookupBox>(QStringLiteral("DBLookupComboBoxMitarbeiter"), "Mitarbeiter", p, 112, 80, 273);
    DBLookupComboBoxStatus = eingabe<TDBLookupBox>(QStringLiteral("DBLookupComboBoxStatus"), "Status_ID", p, 112, 112, 273);
    if (DataModule1) {
        DBLookupComboBoxMitarbeiter->setListe(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
        DBLookupComboBoxStatus->setListe(DataModule1->DSStatus, QStringLiteral("ID"), QStringLiteral("Stat_Bezeichnung"));
    }
    DBSpinEditPrioritaet = eingabe<TDBSpinEdit>(QStringLiteral("DBSpinEditPrioritaet"), "Prioritaet", p, 312, 176, 73, 21,
                                                [](TDBSpinEdit* e) { e->setBereich(10, 900, 10); });

    Bevel1 = new QFrame(p);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(24, 148, 361, 2);

    // The page lies inside the page control's frame, a little narrower than the window.
    auto* anker = new TVerankerung(p, DesignBreite - 8);
    anker->linksUndRechts(pnlAufgabenTitel);
    anker->linksUndRechts(DBMemoBemerkung);

    DBGridAufgabenBearbeiten = new TDatenGitter(Splitter1);
    DBGridAufgabenBearbeiten->setObjectName(QStringLiteral("DBGridAufgabenBearbeiten"));
    TDatenGitter* g = DBGridAufgabenBearbeiten;
    gitterEinrichten(g);
    g->setSpaltenVerschiebbar(false);
    g->setNurLesen(true);
    spalte(g, TSpaltenArt::Text, "Bezeichnung", "BEZEICHNUNG", 150);
    spalte(g, TSpaltenArt::Datum, "Datum_von", "DATUM VON", 80);
    spalte(g, TSpaltenArt::Datum, "Datum_bis", "DATUM BIS", 80);
    personalLookup(spalte(g, TSpaltenArt::Lookup, "Mitarbeiter", "MITARBEITER", 150));
    statusLookup(spalte(g, TSpaltenArt::Lookup, "Status_ID", "STATUS", 100));
    spalte(g, TSpaltenArt::Memo, "Bemerkung", "BEMERKUNG", 200);
    if (DataModule1)
        g->setDatenquelle(DataModule1->DSProjektAufgaben);

    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({217, 300});
}

void TFormAufgabenZuordnen::knopfLeisteAufbauen()
{
    PanelBottom = panel(QStringLiteral("PanelBottom"), this);
    PanelBottom->setFixedHeight(41);
    auto knopf = [this](const QString& name, const char* befehl, int links, int breite = 89) {
        auto* k = new TBefehlsKnopf(PanelBottom);
        k->setObjectName(name);
        if (DataModule2)
            k->setBefehl(DataModule2->Action(QLatin1String(befehl)));
        k->setGeometry(links, 5, breite, TBefehlsKnopf::Hoehe);
        return k;
    };
    btnEdit = knopf(QStringLiteral("btnEdit"), "ActionAufgZuordEdit", 16);
    btnSave = knopf(QStringLiteral("btnSave"), "ActionAufgZuordSave", 112);
    btnCancel = knopf(QStringLiteral("btnCancel"), "ActionAufgZuordCancel", 208);
    btnDelete = knopf(QStringLiteral("btnDelete"), "ActionAufgZuordDelete", 304);
    btnZuordnen = knopf(QStringLiteral("btnZuordnen"), "ActionAufgZuordAssign", 400);
    btnClose = knopf(QStringLiteral("btnClose"), "ActionAufgZuordClose", 664, 111);
    auto* anker = new TVerankerung(PanelBottom, DesignBreite);
    anker->rechts(btnClose);
}

void TFormAufgabenZuordnen::befehleAnbinden()
{
    if (!DataModule2)
        return;
    // The handlers hold a guarded pointer: a command triggered after the window is gone does
    // nothing.
    const QPointer<TFormAufgabenZuordnen> fenster(this);
    auto binden = [&](const char* name, void (TFormAufgabenZuordnen::*schritt)()) {
        DataModule2->setzeHandler(QLatin1String(name), [fenster, schritt] {
            if (fenster)
                (fenster.data()->*schritt)();
        });
    };
    binden("ActionAufgZuordAssign", &TFormAufgabenZuordnen::ActionAufgZuordAssignExecute);
    binden("ActionAufgZuordClose", &TFormAufgabenZuordnen::ActionAufgZuordCloseExecute);
    binden("ActionAufgZuordEdit", &TFormAufgabenZuordnen::ActionAufgZuordEditExecute);
    binden("ActionAufgZuordSave", &TFormAufgabenZuordnen::ActionAufgZuordSaveExecute);
    binden("ActionAufgZuordCancel", &TFormAufgabenZuordnen::ActionAufgZuordCancelExecute);
    binden("ActionAufgZuordDelete", &TFormAufgabenZuordnen::ActionAufgZuordDeleteExecute);
}

void TFormAufgabenZuordnen::FuerAktuellesProjekt(int32_t modus)
{
    Modus = modus;
    if (!DataModule1)
        return;
    TKADaoTable* projekt = DataModule1->TabProjekt;
    ProjektKommnr = projekt->FieldByName(QStringLiteral("Kommnr"))->AsString();
    ProjektID = projekt->FieldByName(QStringLiteral("ID"))->AsInteger();
}

bool TFormAufgabenZuordnen::ZuordnenSeiteAktiv() const
{
    return PageControl1->currentWidget() == TSAufgabenZuordnen;
}

bool TFormAufgabenZuordnen::BearbeitenSeiteAktiv() const
{
    return PageControl1->currentWidget() == TSAufgabenBearbeiten;
}

void TFormAufgabenZuordnen::showEvent(QShowEvent* ereignis)
{
    QDialog::showEvent(ereignis);
    if (!m_gezeigt) {
        m_gezeigt = true;
        FormShow();
    }
}

void TFormAufgabenZuordnen::FormShow()
{
    FensterLesen(FensterName);
    const QRect lage = FensterLage(FensterName);
    move(lage.topLeft());
    if (!lage.isEmpty())
        resize(lage.size());

    lblKommnr->setText(ProjektKommnr);
    lblID->setText(QString::number(ProjektID));
    PageControl1->tabBar()->hide();
    if (Modus == 0) {
        PageControl1->setCurrentWidget(TSAufgabenZuordnen);
        setWindowTitle(QStringLiteral("Aufgaben zuordnen"));
        if (DataModule1) {
            // A tick left pending from an earlier opening would undo the fresh marks.
            DataModule1->TabAufgaben->CheckBrowseMode();
            DataModule1->AufgabenAuswahlSetzen(1);
            DataModule1->TabAufgaben->Refresh();
        }
    } else if (Modus == 1) {
        PageControl1->setCurrentWidget(TSAufgabenBearbeiten);
        setWindowTitle(QStringLiteral("Aufgaben bearbeiten"));
    }
    Zustand.Blaettern();
}

void TFormAufgabenZuordnen::reject()
{
    // Escape closes the window the way the close box does.
    close();
}

void TFormAufgabenZuordnen::closeEvent(QCloseEvent* ereignis)
{
    if (m_geschlossen) {
        ereignis->accept();
        return;
    }
    if (!Zustand.SchliessenErlaubt(windowTitle())) {
        ereignis->ignore();
        return;
    }
    m_geschlossen = true;
    ereignis->accept();
    FormClose();
    QDialog::done(QDialog::Rejected);
}

void TFormAufgabenZuordnen::FormClose()
{
    FensterLageSetzen(FensterName, QRect(x(), y(), width(), height()));
    FensterSchreiben(FensterName);
    // The tick the user set last is stored with the others; nothing is assigned.
    if (DataModule1 && ZuordnenSeiteAktiv()) {
        TKADaoTable* katalog = DataModule1->TabAufgaben;
        try {
            katalog->CheckBrowseMode();
        } catch (...) {
            katalog->Cancel();
            throw;
        }
    }
}

void TFormAufgabenZuordnen::ActionAufgZuordAssignExecute()
{
    DataModule1->AusgewaehlteAufgabenZuordnen(ProjektID);
    close();
}

void TFormAufgabenZuordnen::ActionAufgZuordCloseExecute()
{
    close();
}

void TFormAufgabenZuordnen::ActionAufgZuordEditExecute()
{
    Zustand.Bearbeiten();
}

void TFormAufgabenZuordnen::ActionAufgZuordSaveExecute()
{
    Zustand.Speichern();
}

void TFormAufgabenZuordnen::ActionAufgZuordCancelExecute()
{
    Zustand.Abbrechen();
}

void TFormAufgabenZuordnen::ActionAufgZuordDeleteExecute()
{
    Zustand.Loeschen();
}

void AufgabenFensterOeffnen(int32_t Modus, QWidget* eltern)
{
    TFormAufgabenZuordnen fenster(eltern);
    fenster.FuerAktuellesProjekt(Modus);
    fenster.setModal(true);
    fenster.exec();
}

void AufgabenFensterOeffnen(int32_t Modus, const QString& ProjektKommnr, int32_t ProjektID, QWidget* eltern)
{
    TFormAufgabenZuordnen fenster(eltern);
    fenster.Modus = Modus;
    fenster.ProjektKommnr = ProjektKommnr;
    fenster.ProjektID = ProjektID;
    fenster.setModal(true);
    fenster.exec();
}
