#include "UnitSucheProjekt.h"

#include "BefehlsKnopf.h"
#include "Bildliste.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "ErpProjektModell.h"
#include "Farben.h"
#include "IniRecord.h"
#include "MasterDatei.h"
#include "Zeilenfarbe.h"

#include <QAction>
#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

std::function<void(const QString& Kommnr, int ProjektID)> AufgabenFensterNachUebernahme;

namespace {

constexpr int32_t FarbePanelTop = 12713983;              // 0x00C1FFFF, light yellow
constexpr int32_t FarbeMarkierung = 14268584;            // 0x00D9B8A8
constexpr int32_t FarbeMarkierungOhneFokus = 16113884;   // 0x00F5E0DC
constexpr int KnopfBreite = 113;
constexpr int KnopfRandRechts = 18;   // btnClose at 584 in a dialog 715 wide

QAction* befehl(QObject* eltern, const char* name, const QString& caption, int bild)
{
    auto* aktion = new QAction(Bildliste::symbol(bild), caption, eltern);
    aktion->setObjectName(QLatin1String(name));
    return aktion;
}

} // namespace

TFormSucheProjekt::TFormSucheProjekt(QWidget* parent)
    : QDialog(parent)
    , PanelTop(new QFrame(this))
    , editProjekt(new QLineEdit(PanelTop))
    , EditKunde(new QLineEdit(PanelTop))
    , EditBaustelle(new QLineEdit(PanelTop))
    , EditBetreff(new QLineEdit(PanelTop))
    , Label1(new QLabel(QStringLiteral("Label1"), PanelTop))
    , PanelMain(new QFrame(this))
    , NextGrid1(new TDatenGitter(PanelMain))
    , PanelBottom(new QFrame(this))
    , ActionProjektSucheSelect(befehl(this, "ActionProjektSucheSelect", QStringLiteral("Übernehmen"), 3))
    , ActionProjektSucheClose(befehl(this, "ActionProjektSucheClose", QStringLiteral("Beenden"), 16))
    , btnSelect(new TBefehlsKnopf(ActionProjektSucheSelect, PanelBottom))
    , btnClose(new TBefehlsKnopf(ActionProjektSucheClose, PanelBottom))
    , Modell(new TErpProjektModell(this))
    , m_uebernahme(*DataModule1)
{
    setObjectName(QStringLiteral("FormSucheProjekt"));
    setWindowTitle(QStringLiteral("Projekt suchen"));
    // A dialog is a window of its own and would not take the opener's font by itself.
    if (parent)
        setFont(parent->font());
    aufbauen();
    gitterEinrichten();
    m_uebernahme.AufgabenFensterOeffnen = AufgabenFensterNachUebernahme;

    connect(ActionProjektSucheSelect, &QAction::triggered, this, [this] { ProjektUebernehmen(m_auswahlKommnr); });
    connect(ActionProjektSucheClose, &QAction::triggered, this, &QDialog::close);

    // The ERP file stays open, positioned on its first record, until the dialog is released.
    MasterSchluessel = 6;
    BtrieveStatus = MasterDateiOeffnen();
    if (BtrieveStatus > 0) {
        BtrieveFehlerMelden();
        return;
    }
    BtrieveStatus = MasterErsterSatz(MasterSchluessel);
    if (BtrieveStatus > 0)
        BtrieveFehlerMelden();
}

TFormSucheProjekt::~TFormSucheProjekt()
{
    BtrieveStatus = MasterDateiSchliessen();
    if (BtrieveStatus > 0) {
        BtrieveFehlerMelden();
        return;
    }
    BtrieveStatus = BtrieveBeenden();
    if (BtrieveStatus > 0)
        BtrieveFehlerMelden();
}

void TFormSucheProjekt::aufbauen()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setFixedHeight(45);
    PanelTop->setAutoFillBackground(true);
    QPalette gelb = PanelTop->palette();
    gelb.setColor(QPalette::Window, FarbeAusCode(FarbePanelTop));
    PanelTop->setPalette(gelb);

    struct Suchfeld
    {
        QLineEdit* edit;
        const char* name;
        const char* beschriftung;
        const char* caption;
        int links;
        int breite;
    };
    const std::array<Suchfeld, 4> felder = {{
        {editProjekt, "editProjekt", "lblProjekt", "PROJEKT", 8, 81},
        {EditKunde, "EditKunde", "lblKunde", "KUNDE", 96, 145},
        {EditBaustelle, "EditBaustelle", "lblBaustelle", "BAUSTELLE", 248, 137},
        {EditBetreff, "EditBetreff", "lblBetreff", "BETREFF", 392, 225},
    }};
    QWidget* vorher = nullptr;
    for (const Suchfeld& f : felder) {
        f.edit->setObjectName(QLatin1String(f.name));
        f.edit->setGeometry(f.links, 18, f.breite, 21);
        f.edit->installEventFilter(this);
        auto* beschriftung = new QLabel(QLatin1String(f.caption), PanelTop);
        beschriftung->setObjectName(QLatin1String(f.beschriftung));
        beschriftung->setGeometry(f.links, 3, f.breite, 14);
        beschriftung->setBuddy(f.edit);
        const int spalte = suchSpalte(f.edit);
        connect(f.edit, &QLineEdit::textChanged, this, [this, spalte](const QString& text) { suchen(spalte, text); });
        if (vorher)
            setTabOrder(vorher, f.edit);
        vorher = f.edit;
    }
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(640, 19, 200, 16);

    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* mitte = new QVBoxLayout(PanelMain);
    mitte->setContentsMargins(0, 0, 0, 0);
    mitte->addWidget(NextGrid1);

    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    PanelBottom->setFixedHeight(41);
    PanelBottom->installEventFilter(this);
    btnSelect->setObjectName(QStringLiteral("btnSelect"));
    btnSelect->setGeometry(8, 5, KnopfBreite, TBefehlsKnopf::Hoehe);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(584, 5, KnopfBreite, TBefehlsKnopf::Hoehe);
    // The buttons are clicked, never tabbed to before the grid: Enter stays with the edits.
    btnSelect->setAutoDefault(false);
    btnClose->setAutoDefault(false);

    layout->addWidget(PanelTop);
    layout->addWidget(PanelMain, 1);
    layout->addWidget(PanelBottom);
    resize(715, 427);
}

void TFormSucheProjekt::gitterEinrichten()
{
    NextGrid1->setObjectName(QStringLiteral("NextGrid1"));
    QFont fett = font();
    fett.setBold(true);
    NextGrid1->setFont(fett);
    QFont normal = font();
    normal.setBold(false);
    const std::array<std::pair<const char*, int>, 4> spalten = {{
        {"NxTextColumnProjekt", 70}, {"NxTextColumnKunde", 150}, {"NxTextColumnBaustelle", 150}, {"NxTextColumnBetreff", 300}}};
    for (int i = 0; i < int(spalten.size()); ++i) {
        TGitterSpalte* spalte =
            NextGrid1->spalteHinzufuegen(TSpaltenArt::Text, QString(), TErpProjektModell::spaltenTitel(i), spalten[size_t(i)].second);
        spalte->setObjectName(QLatin1String(spalten[size_t(i)].first));
        spalte->setSchrift(normal);
    }
    NextGrid1->setZeilenIndikator(true);
    NextGrid1->setGanzeZeileMarkieren(true);
    NextGrid1->setGitterlinienNurAktiveZeilen(true);
    NextGrid1->setZeilenHoehe(18);
    NextGrid1->setMarkierfarbe(FarbeAusCode(FarbeMarkierung));
    NextGrid1->setMarkierfarbeOhneFokus(FarbeAusCode(FarbeMarkierungOhneFokus));
    NextGrid1->setMarkiertextfarbe(Qt::black);
    NextGrid1->setSortierteSpalteDunkler(true);
    NextGrid1->setNurLesen(true);
    NextGrid1->setZellFaerbung(&Zeilenfarbe);
    NextGrid1->setModel(Modell);
    NextGrid1->setSortingEnabled(true);
    connect(NextGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& aktuell) { zeileGewaehlt(aktuell.row()); });
}

void TFormSucheProjekt::ProjekteLaden()
{
    // Rows are gathered first and given to the grid in one step: one update for the whole file.
    std::vector<TErpZeile> zeilen;
    int32_t nr = Modell->rowCount();
    while (BtrieveStatus == 0) {
        zeilen.push_back(TErpZeile::ausSatz(MasterSatz, nr++));
        BtrieveStatus = MasterNaechsterSatz();
        if (BtrieveStatus != 0 && BtrieveStatus != 9) {
            BtrieveFehlerMelden();
            break;
        }
    }
    Modell->zeilenAnhaengen(std::move(zeilen));
}

void TFormSucheProjekt::ProjektUebernehmen(const QString& Kommnr)
{
    m_uebernahme.ProjektUebernehmen(Kommnr);
}

void TFormSucheProjekt::showEvent(QShowEvent* ereignis)
{
    QDialog::showEvent(ereignis);
    if (ereignis->spontaneous())
        return;   // restored from the task bar: nothing is read again
    FensterLesen(QLatin1String(FensterName));
    const QRect lage = FensterLage(QLatin1String(FensterName));
    move(lage.topLeft());
    if (!lage.isEmpty())
        resize(lage.size());
    ProjekteLaden();
    NextGrid1->setFocus();
    editProjekt->setFocus();
    // The window may not be active yet; the number edit is entered all the same.
    editBetreten(suchSpalte(editProjekt));
}

void TFormSucheProjekt::done(int ergebnis)
{
    if (isVisible()) {
        FensterLageSetzen(QLatin1String(FensterName), QRect(x(), y(), width(), height()));
        FensterSchreiben(QLatin1String(FensterName));
    }
    Modell->leeren();
    QDialog::done(ergebnis);
}

bool TFormSucheProjekt::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == PanelBottom && ereignis->type() == QEvent::Resize) {
        // btnClose keeps its distance to the right edge.
        btnClose->move(PanelBottom->width() - KnopfBreite - KnopfRandRechts, btnClose->y());
    } else if (ereignis->type() == QEvent::FocusIn) {
        // Entering an edit, not coming back to the window, sorts by its column.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        const int spalte = suchSpalte(objekt);
        if (spalte >= 0 && grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            editBetreten(spalte);
    }
    return QDialog::eventFilter(objekt, ereignis);
}

int TFormSucheProjekt::suchSpalte(const QObject* edit) const
{
    if (edit == editProjekt)
        return TErpProjektModell::Projekt;
    if (edit == EditKunde)
        return TErpProjektModell::Kunde;
    if (edit == EditBaustelle)
        return TErpProjektModell::Baustelle;
    if (edit == EditBetreff)
        return TErpProjektModell::Betreff;
    return -1;
}

void TFormSucheProjekt::editBetreten(int spalte)
{
    NextGrid1->sortByColumn(spalte, Qt::AscendingOrder);
    Modell->sort(spalte, Qt::AscendingOrder);   // the header does not sort again for the same indicator
    if (Modell->rowCount() > 0) {
        NextGrid1->setCurrentIndex(Modell->index(0, spalte));
        NextGrid1->scrollToTop();
    }
}

void TFormSucheProjekt::suchen(int spalte, const QString& text)
{
    const int zeile = Modell->suchen(spalte, text);
    if (zeile < 0)
        return;   // nothing begins so: the selection stays
    const QModelIndex ziel = Modell->index(zeile, spalte);
    NextGrid1->setCurrentIndex(ziel);
    NextGrid1->scrollTo(ziel);
}

void TFormSucheProjekt::zeileGewaehlt(int zeile)
{
    if (zeile < 0)
        return;
    m_auswahlKommnr = Modell->zelle(zeile, TErpProjektModell::Projekt);
    Label1->setText(m_auswahlKommnr);
}

void ProjektSucheZeigen(QWidget* eltern)
{
    TFormSucheProjekt dialog(eltern);
    dialog.exec();
}
