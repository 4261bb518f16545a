#include "UnitDatenStamm.h"

#include "BefehlsKnopf.h"
#include "DBBedienelemente.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "EingabePanel.h"
#include "Farben.h"
#include "IniRecord.h"
#include "Oberflaechenschrift.h"
#include "TKADaoTable.h"
#include "UnitSucheProjekt.h"
#include "Zeilenfarbe.h"

#include <QAction>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString Fenstername = QStringLiteral("StammFenster");

// Width of the input panels in the design; anchored controls follow the panel from there.
constexpr int PanelDesignBreite = 780;
// Heights of the controls as drawn in the design.
constexpr int EditHoehe = 21;
constexpr int MemoHoehe = 89;
constexpr int CheckBoxHoehe = 17;

// The look all four grids share; they list and move, they do not edit.
void gitterEinrichten(TDatenGitter* g, bool indikator)
{
    g->setFont(Oberflaechenschrift(8, true));
    g->setKopfHoehe(20);
    g->setZeilenHoehe(18);
    g->setGitterlinienNurAktiveZeilen(true);
    g->setGanzeZeileMarkieren(true);
    g->setZeilenIndikator(indikator);
    g->setSpaltenVerschiebbar(false);
    g->setMarkierfarbe(FarbeAusCode(14268584));
    g->setMarkierfarbeOhneFokus(FarbeAusCode(16113884));
    g->setMarkiertextfarbe(Qt::black);
    g->setNurLesen(true);
    g->setZellFaerbung(&Zeilenfarbe);
}

TGitterSpalte* spalte(TDatenGitter* g, TSpaltenArt art, const char* feld, const char* titel, int breite = 0)
{
    TGitterSpalte* s = breite > 0 ? g->spalteHinzufuegen(art, QString::fromLatin1(feld), QString::fromUtf8(titel), breite)
                                  : g->spalteHinzufuegen(art, QString::fromLatin1(feld), QString::fromUtf8(titel));
    s->setSchrift(Oberflaechenschrift(8));
    return s;
}

// A data-bound control of the kind W on `feld`, named `name`.
template <typename W>
W* gebunden(TEingabePanel* panel, const char* name, TDataSource* quelle, const char* feld)
{
    auto* w = new W(panel);
    w->setObjectName(QString::fromLatin1(name));
    if (quelle) {
        w->setDatenquelle(quelle);
        w->setFeld(QString::fromLatin1(feld));
    }
    return w;
}

TDataSource* quelle(TDataSource* const TDataModule1::*feld)
{
    return DataModule1 ? DataModule1->*feld : nullptr;
}

TKADaoTable* tabelle(TKADaoTable* const TDataModule1::*feld)
{
    return DataModule1 ? DataModule1->*feld : nullptr;
}

} // namespace

TFormDatenStamm::TFormDatenStamm(QObject* befehle, QWidget* parent)
    : QDialog(parent), m_befehle(befehle),
      m_zustand({[this](bool b) { StammButtonsSetzen(b); }, [this](bool b) { StammEingabeSetzen(b); },
                 [this](const QString& befehl) { StammDatensatzBefehl(befehl); },
                 [this] { return seite().tabelle; }})
{
    setObjectName(QStringLiteral("FormDatenStamm"));
    setWindowTitle(QStringLiteral("Stammdaten"));
    setModal(true);
    setFont(Oberflaechenschrift(8));
    QPalette p = palette();
    p.setColor(QPalette::Window, FarbeAusCode(Farbcode::Schaltflaeche));
    setPalette(p);
    resize(800, 750);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    layout->addWidget(PageControl1, 1);

    // Page order: tasks, employees, statuses, projects (the StartSeite numbers).
    aufgabenSeiteAnlegen();
    mitarbeiterSeiteAnlegen();
    statusSeiteAnlegen();
    projektSeiteAnlegen();
    knopfleisteAnlegen();
}

TFormDatenStamm::~TFormDatenStamm() = default;

QWidget* TFormDatenStamm::seiteAnlegen(const QString& name, TEingabePanel*& panel, const QString& panelName,
                                       int hoehe, const QString& titel, TDatenGitter*& gitter,
                                       const QString& gitterName, bool indikator)
{
    auto* blatt = new QWidget(PageControl1);
    blatt->setObjectName(name);
    auto* layout = new QVBoxLayout(blatt);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* teiler = new QSplitter(Qt::Vertical, blatt);
    teiler->setHandleWidth(3);
    teiler->setChildrenCollapsible(false);
    layout->addWidget(teiler);

    panel = new TEingabePanel(PanelDesignBreite, teiler);
    panel->setObjectName(panelName);
    panel->setMinimumHeight(30);
    panel->titelleiste(titel);
    gitter = new TDatenGitter(teiler);
    gitter->setObjectName(gitterName);
    gitterEinrichten(gitter, indikator);
    teiler->setStretchFactor(0, 0);
    teiler->setStretchFactor(1, 1);
    teiler->setSizes({hoehe, 750 - hoehe});

    PageControl1->addTab(blatt, QString());
    return blatt;
}

void TFormDatenStamm::aufgabenSeiteAnlegen()
{
    TabSheetAufgabe = seiteAnlegen(QStringLiteral("TabSheetAufgabe"), PanelAufgabeInput,
                                   QStringLiteral("PanelAufgabeInput"), 280, QStringLiteral(" AUFGABEN "),
                                   DBGridAufgaben, QStringLiteral("DBGridAufgaben"), true);
    TEingabePanel* p = PanelAufgabeInput;
    TDataSource* ds = quelle(&TDataModule1::DSAufgaben);

    p->beschriftung(QStringLiteral("BEZEICHNUNG"), 24, 51);
    DBEditAufgabeBezeichnung = p->platzieren(gebunden<TDBEdit>(p, "DBEditAufgabeBezeichnung", ds, "Aufg_Bezeichnung"),
                                             136, 48, 321, EditHoehe);
    p->beschriftung(QStringLiteral("PRIORITÄT"), 480, 51);
    auto* prio = p->platzieren(gebunden<TDBSpinEdit>(p, "DBSpinEditAufgabePrioritaet", ds, "Aufg_Prioritaet"), 560,
                               48, 73, EditHoehe);
    prio->setBereich(10, 900, 10);
    p->beschriftung(QStringLiteral("MITARBEITER"), 24, 83);
    auto* mitarbeiter = p->platzieren(
        gebunden<TDBLookupBox>(p, "DBLookupAufgabeMitarbeiter", ds, "Aufg_Mitarbeiter"), 136, 80, 321, EditHoehe);
    p->beschriftung(QStringLiteral("STATUS"), 24, 115);
    auto* status = p->platzieren(gebunden<TDBLookupBox>(p, "DBLookupAufgabeStatus", ds, "Aufg_Status"), 136, 112,
                                 321, EditHoehe);
    p->beschriftung(QStringLiteral("BEMERKUNG"), 24, 155);
    p->platzieren(gebunden<TDBMemo>(p, "DBMemoAufgabeBemerkung", ds, "Aufg_Bemerkung"), 136, 152, 321, MemoHoehe);
    p->platzieren(gebunden<TDBText>(p, "DBTextAufgabeID", ds, "ID"), 24, 224, 100);

    TDatenGitter* g = DBGridAufgaben;
    spalte(g, TSpaltenArt::Text, "Aufg_Prioritaet", "PRIO", 50);
    spalte(g, TSpaltenArt::Text, "Aufg_Bezeichnung", "BEZEICHNUNG", 170);
    TGitterSpalte* name = spalte(g, TSpaltenArt::Lookup, "Aufg_Mitarbeiter", "MITARBEITER", 150);
    TGitterSpalte* stat = spalte(g, TSpaltenArt::Lookup, "Aufg_Status", "STATUS", 150);
    spalte(g, TSpaltenArt::Memo, "Aufg_Bemerkung", "BEMERKUNG", 250);
    if (DataModule1) {
        mitarbeiter->setListe(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
        status->setListe(DataModule1->DSStatus, QStringLiteral("ID"), QStringLiteral("Stat_Bezeichnung"));
        name->setLookup(DataModule1->DSPersonal, QStringLiteral("ID"), QStringLiteral("Name"));
        stat->setLookup(DataModule1->DSStatus, QStringLiteral("ID"), QStringLiteral("Stat_Bezeichnung"));
    }
    m_seiten[SeiteAufgaben] = {TabSheetAufgabe, p, g, DBEditAufgabeBezeichnung, ds, tabelle(&TDataModule1::TabAufgaben)};
}

void TFormDatenStamm::mitarbeiterSeiteAnlegen()
{
    TabSheetMitarbeiter = seiteAnlegen(QStringLiteral("TabSheetMitarbeiter"), PanelMitarbeiterInput,
                                       QStringLiteral("PanelMitarbeiterInput"), 280, QStringLiteral(" MITARBEITER "),
                                       DBGridPersonal, QStringLiteral("DBGridPersonal"), true);
    TEingabePanel* p = PanelMitarbeiterInput;
    TDataSource* ds = quelle(&TDataModule1::DSPersonal);

    p->beschriftung(QStringLiteral("NUMMER"), 24, 51);
    DBEditPersonalNr = p->platzieren(gebunden<TDBEdit>(p, "DBEditPersonalNr", ds, "Nummer"), 136, 48, 161, EditHoehe);
    p->beschriftung(QStringLiteral("NAME"), 24, 83);
    p->platzieren(gebunden<TDBEdit>(p, "DBEditPersonalName", ds, "Name"), 136, 80, 321, EditHoehe);
    p->platzieren(gebunden<TDBText>(p, "DBTextPersonalID", ds, "ID"), 24, 120, 100);

    spalte(DBGridPersonal, TSpaltenArt::Text, "Nummer", "NUMMER", 100);
    spalte(DBGridPersonal, TSpaltenArt::Text, "Name", "NAME", 200);
    m_seiten[SeiteMitarbeiter] = {TabSheetMitarbeiter, p, DBGridPersonal, DBEditPersonalNr, ds,
                                  tabelle(&TDataModule1::TabPersonal)};
}

void TFormDatenStamm::statusSeiteAnlegen()
{
    TabSheetStatus = seiteAnlegen(QStringLiteral("TabSheetStatus"), PanelStatusInput, QStringLiteral("PanelStatusInput"),
                                  280, QStringLiteral(" STATUS "), DBGridStatus, QStringLiteral("DBGridStatus"), true);
    TEingabePanel* p = PanelStatusInput;
    TDataSource* ds = quelle(&TDataModule1::DSStatus);

    p->beschriftung(QStringLiteral("BEZEICHNUNG"), 24, 51);
    DBEditStatusBezeichnung = p->platzieren(gebunden<TDBEdit>(p, "DBEditStatusBezeichnung", ds, "Stat_Bezeichnung"),
                                            136, 48, 321, EditHoehe);
    p->beschriftung(QStringLiteral("RANG"), 24, 83);
    auto* rang = p->platzieren(gebunden<TDBSpinEdit>(p, "DBSpinEditStatusRang", ds, "Stat_Rang"), 136, 80, 73,
                               EditHoehe);
    rang->setBereich(0, 100, 10);
    p->beschriftung(QStringLiteral("BEMERKUNG"), 24, 115);
    p->platzieren(gebunden<TDBMemo>(p, "DBMemoStatusBemerkung", ds, "Stat_Bemerkung"), 136, 112, 321, MemoHoehe);
    p->platzieren(gebunden<TDBText>(p, "DBTextStatusID", ds, "ID"), 24, 184, 100);

    spalte(DBGridStatus, TSpaltenArt::Text, "Stat_Rang", "RANG");
    spalte(DBGridStatus, TSpaltenArt::Text, "Stat_Bezeichnung", "BEZEICHNUNG", 150);
    spalte(DBGridStatus, TSpaltenArt::Memo, "Stat_Bemerkung", "BEMERKUNG", 300);
    m_seiten[SeiteStatus] = {TabSheetStatus, p, DBGridStatus, DBEditStatusBezeichnung, ds,
                             tabelle(&TDataModule1::TabStatus)};
}

void TFormDatenStamm::projektSeiteAnlegen()
{
    TabSheetProjekte = seiteAnlegen(QStringLiteral("TabSheetProjekte"), PanelProjekteInput,
                                    QStringLiteral("PanelProjekteInput"), 409, QStringLiteral(" PROJEKTE "),
                                    DBGridProjekt, QStringLiteral("DBGridProjekt"), false);
    TEingabePanel* p = PanelProjekteInput;
    TDataSource* ds = quelle(&TDataModule1::DSProjekt);
    using A = TEingabePanel::Anker;
    const auto edit = [&](const char* name, const char* feld, int x, int y, int breite, A anker = A::Links) {
        return p->platzieren(gebunden<TDBEdit>(p, name, ds, feld), x, y, breite, EditHoehe, anker);
    };
    const auto datum = [&](const char* name, const char* feld, int x, int y, int breite, A anker = A::Links) {
        return p->platzieren(gebunden<TDBDatumEdit>(p, name, ds, feld), x, y, breite, EditHoehe, anker);
    };
    const auto check = [&](const char* name, const char* feld, const QString& text, int x, int y) {
        auto* c = gebunden<TDBCheckBox>(p, name, ds, feld);
        c->setText(text);
        // The caption is never cut off, should the tick box of the style take more room.
        return p->platzieren(c, x, y, std::max(129, c->sizeHint().width()), CheckBoxHoehe, A::Rechts);
    };

    p->beschriftung(QStringLiteral("PROJEKTNR."), 24, 51);
    DBEditProjektKommNr = edit("DBEditProjektKommNr", "Kommnr", 112, 48, 121);
    p->beschriftung(QStringLiteral("KUNDE"), 256, 51);
    edit("DBEditProjektKonto", "Konto", 304, 48, 81);
    edit("DBEditProjektKundenKey", "KundenKey", 392, 48, 169);
    check("DBCheckBoxProjektEV", "EV_Sichtbar", QStringLiteral("sichtbar im Edit-View"), 624, 40);
    check("DBCheckBoxProjektPV", "PV_Sichtbar", QStringLiteral("sichtbar im Public-View"), 624, 56);
    p->trennlinie(24, 76, 737, A::Breite);

    struct Zeile
    {
        const char* titel;
        int tx, ty;
        const char* name;
        const char* feld;
        int x, y, breite;
        A anker;
    };
    const Zeile zeilen[] = {
        {"ANREDE", 24, 91, "DBEditProjektAnrede", "Anrede", 112, 88, 289, A::Links},
        {"BEZEICHNUNG", 24, 111, "DBEditProjektBezeichn", "Bezeichn", 112, 108, 289, A::Links},
        {"BRANCHE", 24, 131, "DBEditProjektBranche", "Branche", 112, 128, 289, A::Links},
        {"POSTFACH", 24, 151, "DBEditProjektPostfach", "Postfach", 112, 148, 289, A::Links},
        {"STRASSE", 24, 179, "DBEditProjektStrasse", "Strasse", 112, 176, 289, A::Links},
        {"PLZ / ORT", 24, 199, "DBEditProjektOrt", "Ort", 112, 196, 289, A::Links},
        {"BAUSTELLE", 423, 91, "DBEditProjektBaustelle", "Baustelle", 511, 88, 250, A::Rechts},
        {"BAU.STRASSE", 423, 111, "DBEditProjektBStrasse", "BStrasse", 511, 108, 250, A::Rechts},
        {"BAU.ORT", 423, 131, "DBEditProjektBOrt", "BOrt", 511, 128, 250, A::Rechts},
        {"TELEFON", 423, 151, "DBEditProjektUTel", "UTel", 511, 148, 121, A::Rechts},
        {"BAUHERR", 423, 179, "DBEditProjektBauherr", "Bauherr", 511, 176, 250, A::Rechts},
        {"TELEFON", 423, 199, "DBEditProjektBTel", "BTel", 511, 196, 121, A::Rechts},
        {"ARCHITEKT", 423, 226, "DBEditProjektArchitekt", "Architekt", 511, 223, 250, A::Rechts},
        {"TELEFON", 424, 246, "DBEditProjektATel", "ATel", 511, 243, 121, A::Rechts},
    };
    for (const Zeile& z : zeilen) {
        QLabel* l = p->beschriftung(QString::fromUtf8(z.titel), z.tx, z.ty);
        if (z.anker == A::Rechts)
            p->platzieren(l, z.tx, z.ty, l->width(), l->height(), A::Rechts);
        edit(z.name, z.feld, z.x, z.y, z.breite, z.anker);
    }

    p->trennlinie(24, 232, 377);
    const std::tuple<const char*, int, const char*, const char*, int> termine[] = {
        {"LIEF.TERMIN", 24, "DBDateProjektLiefTermin", "LiefTermin", 88},
        {"BAUBEGINN", 120, "DBDateProjektBaubegin", "Baubegin", 88},
        {"FÄLLIG", 216, "DBDateProjektFaellig", "Faellig", 89},
        {"TERMIN", 312, "DBDateProjektTermin", "Termin", 89},
    };
    for (const auto& [titel, x, name, feld, breite] : termine) {
        p->beschriftung(QString::fromUtf8(titel), x, 240);
        datum(name, feld, x, 256, breite);
    }
    p->trennlinie(24, 286, 737, A::Breite);

    p->beschriftung(QStringLiteral("BETREFF"), 24, 296);
    for (int i = 1; i <= 5; ++i) {
        const QByteArray name = "DBEditProjektBetreff" + QByteArray::number(i);
        const QByteArray feld = "Betreff" + QByteArray::number(i);
        edit(name.constData(), feld.constData(), 88, 296 + 20 * (i - 1), 400);
    }

    // The project number once more, beside its date, and the other numbers with theirs.
    const std::tuple<const char*, int, const char*, const char*, const char*, const char*> nummern[] = {
        {"PROJEKT", 299, "DBEditProjektKommNr2", "Kommnr", "DBDateProjektDatum", "Datum"},
        {"ANGEBOT", 323, "DBEditProjektAngebotsNr", "AngebotsNr", "DBDateProjektAngDate", "AngDate"},
        {"AUFTRAG", 347, "DBEditProjektAuftragsNr", "AuftragsNr", "DBDateProjektAuftrDate", "AuftrDate"},
        {"RECHNUNG", 371, "DBEditProjektRechnNr", "RechnNr", "DBDateProjektRechDate", "RechDate"},
    };
    for (const auto& [titel, ty, name, feld, datumName, datumFeld] : nummern) {
        QLabel* l = p->beschriftung(QString::fromUtf8(titel), 504, ty);
        p->platzieren(l, 504, ty, l->width(), l->height(), A::Rechts);
        edit(name, feld, 576, ty - 3, 97, A::Rechts);
        datum(datumName, datumFeld, 680, ty - 3, 89, A::Rechts);
    }
    p->platzieren(gebunden<TDBText>(p, "DBTextProjektID", ds, "ID"), 24, 384, 100);

    spalte(DBGridProjekt, TSpaltenArt::Text, "Kommnr", "PROJEKT");
    spalte(DBGridProjekt, TSpaltenArt::Text, "Bezeichn", "BEZEICHNUNG", 200);
    spalte(DBGridProjekt, TSpaltenArt::Text, "Baustelle", "BAUSTELLE", 150);
    spalte(DBGridProjekt, TSpaltenArt::Text, "Betreff_ges", "BETREFF", 350);
    m_seiten[SeiteProjekte] = {TabSheetProjekte, p, DBGridProjekt, DBEditProjektKommNr, ds,
                               tabelle(&TDataModule1::TabProjekt)};
}

TBefehlsKnopf* TFormDatenStamm::knopf(const char* name, const char* befehl, int links, int breite)
{
    QAction* aktion =
        m_befehle ? m_befehle->findChild<QAction*>(QString::fromLatin1(befehl), Qt::FindDirectChildrenOnly) : nullptr;
    auto* k = new TBefehlsKnopf(aktion, pnlBottom);
    k->setObjectName(QString::fromLatin1(name));
    k->setGeometry(links, 5, breite, TBefehlsKnopf::Hoehe);
    return k;
}

void TFormDatenStamm::befehlAnbinden(const char* befehl, void (TFormDatenStamm::*handler)())
{
    if (!m_befehle)
        return;
    if (QAction* aktion = m_befehle->findChild<QAction*>(QString::fromLatin1(befehl), Qt::FindDirectChildrenOnly))
        connect(aktion, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
}

void TFormDatenStamm::knopfleisteAnlegen()
{
    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(44);
    layout()->addWidget(pnlBottom);

    BtnAdd = knopf("BtnAdd", "ActionStammAdd", 16);
    BtnEdit = knopf("BtnEdit", "ActionStammEdit", 112);
    BtnSave = knopf("BtnSave", "ActionStammSave", 208);
    BtnCancel = knopf("BtnCancel", "ActionStammCancel", 304);
    BtnDelete = knopf("BtnDelete", "ActionStammDelete", 400);
    BtnZentora = knopf("BtnZentora", "ActionSucheZentora", 496);
    BtnEnde = knopf("BtnEnde", "ActionStammClose", 664, 113);

    befehlAnbinden("ActionStammAdd", &TFormDatenStamm::ActionStammAddExecute);
    befehlAnbinden("ActionStammEdit", &TFormDatenStamm::ActionStammEditExecute);
    befehlAnbinden("ActionStammSave", &TFormDatenStamm::ActionStammSaveExecute);
    befehlAnbinden("ActionStammCancel", &TFormDatenStamm::ActionStammCancelExecute);
    befehlAnbinden("ActionStammDelete", &TFormDatenStamm::ActionStammDeleteExecute);
    befehlAnbinden("ActionSucheZentora", &TFormDatenStamm::ActionSucheZentoraExecute);
    befehlAnbinden("ActionStammClose", &TFormDatenStamm::ActionStammCloseExecute);
}

int TFormDatenStamm::aktiveSeite() const
{
    return std::clamp(PageControl1->currentIndex(), 0, int(m_seiten.size()) - 1);
}

const TFormDatenStamm::Seite& TFormDatenStamm::seite() const
{
    return m_seiten[size_t(aktiveSeite())];
}

void TFormDatenStamm::StammButtonsSetzen(bool Bearbeitung)
{
    const bool projekte = aktiveSeite() == SeiteProjekte;
    BtnZentora->setVisible(projekte);
    if (projekte)
        BtnZentora->setEnabled(!Bearbeitung);
    TKnopfLeiste{{BtnEnde, BtnAdd, BtnEdit, BtnDelete}, {BtnSave, BtnCancel}}.setzen(Bearbeitung);
}

void TFormDatenStamm::StammEingabeSetzen(bool Bearbeitung)
{
    const Seite& s = seite();
    EingabeSetzen(s.panel, s.gitter, s.ersteEingabe, Bearbeitung);
}

void TFormDatenStamm::StammDatensatzBefehl(const QString& Befehl)
{
    const auto befehl = DatensatzBefehlAusWort(Befehl);
    if (!befehl || !seite().tabelle)
        return;
    if (*befehl == TDatensatzBefehl::Delete && aktiveSeite() == SeiteProjekte)
        DataModule1->ProjektMitAufgabenLoeschen();
    else
        DatensatzBefehlAusfuehren(seite().tabelle, *befehl);
}

void TFormDatenStamm::ActionStammAddExecute()
{
    m_zustand.Neu();
}

void TFormDatenStamm::ActionStammEditExecute()
{
    m_zustand.Bearbeiten();
}

void TFormDatenStamm::ActionStammSaveExecute()
{
    m_zustand.Speichern();
    if (aktiveSeite() == SeiteProjekte)
        nachProjektSpeichern();
}

void TFormDatenStamm::ActionStammCancelExecute()
{
    m_zustand.Abbrechen();
}

void TFormDatenStamm::ActionStammDeleteExecute()
{
    m_zustand.Loeschen();
}

void TFormDatenStamm::ActionStammCloseExecute()
{
    close();
}

void TFormDatenStamm::ActionSucheZentoraExecute()
{
    if (aktiveSeite() == SeiteProjekte)
        ProjektSucheZeigen(this);
}

void TFormDatenStamm::nachProjektSpeichern()
{
    if (IniRecord.AufgabenAutomatik != 1)
        return;
    // The task assignment window opens over this one for the saved project, as the main
    // window's "Aufgabe zuordnen" does; this window closes once that one is closed.
    if (QAction* zuordnen = m_befehle ? m_befehle->findChild<QAction*>(QStringLiteral("ActionAufgZuordStart"),
                                                                       Qt::FindDirectChildrenOnly)
                                      : nullptr)
        zuordnen->trigger();
    close();
}

void TFormDatenStamm::showEvent(QShowEvent* ereignis)
{
    if (!m_gezeigt) {
        m_gezeigt = true;
        FormShow();
    }
    QDialog::showEvent(ereignis);
}

void TFormDatenStamm::FormShow()
{
    FensterLesen(Fenstername);
    const QRect lage = FensterLage(Fenstername);
    move(lage.topLeft());
    if (!lage.isEmpty())
        resize(lage.size());
    PageControl1->tabBar()->hide();
    PageControl1->setCurrentIndex(std::clamp<int32_t>(StartSeite, 0, int(m_seiten.size()) - 1));
    // Only the shown page's grid lists its rows: the pages cannot be switched, and a grid over
    // all projects costs its time only where it is seen.
    if (seite().quelle)
        seite().gitter->setDatenquelle(seite().quelle);
    m_zustand.Blaettern();
}

void TFormDatenStamm::reject()
{
    if (!m_zustand.SchliessenErlaubt(windowTitle()))
        return;
    FormClose();
    QDialog::reject();
}

void TFormDatenStamm::FormClose()
{
    FensterLageSetzen(Fenstername, QRect(x(), y(), width(), height()));
    FensterSchreiben(Fenstername);
}
