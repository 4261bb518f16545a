#include "UnitWochenplan.h"

#include "BerichtVorschau.h"
#include "DatenGitter.h"
#include "DatumEdit.h"
#include "FRDruckVorschau.h"
#include "FensterLage.h"
#include "Oberflaechenschrift.h"
#include "WochenplanBericht.h"
#include "WochenplanModell.h"
#include "Zeilenfarbe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString FensterName = QStringLiteral("WochenplanFenster");

QPushButton* knopf(const char* name, const QString& text, QWidget* eltern)
{
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(QLatin1String(name));
    k->setAutoDefault(false);
    return k;
}

} // namespace

TFormWochenplan::TFormWochenplan(TKADaoDatabase* datenbank, QWidget* parent)
    : QDialog(parent), m_datenbank(datenbank), m_modell(new TWochenplanModell(this)), m_heute(QDate::currentDate())
{
    setObjectName(QStringLiteral("FormWochenplan"));
    setWindowTitle(QStringLiteral("Wochenplan"));
    setFont(Oberflaechenschrift(8));
    resize(1000, 600);

    auto* layout = new QVBoxLayout(this);
    auto* leiste = new QHBoxLayout;
    layout->addLayout(leiste);
    BtnVorherigeWoche = knopf("BtnVorherigeWoche", QStringLiteral("◀ Vorherige Woche"), this);
    BtnDieseWoche = knopf("BtnDieseWoche", QStringLiteral("Diese Woche"), this);
    BtnNaechsteWoche = knopf("BtnNaechsteWoche", QStringLiteral("Nächste Woche ▶"), this);
    EditWoche = new TDatumEdit(this);
    EditWoche->setObjectName(QStringLiteral("EditWoche"));
    EditWoche->setToolTip(QStringLiteral("Ein Tag der Woche, die gezeigt wird"));
    lblWoche = new QLabel(this);
    lblWoche->setObjectName(QStringLiteral("lblWoche"));
    lblWoche->setFont(Oberflaechenschrift(10, true));
    BtnDrucken = knopf("BtnDrucken", QStringLiteral("Drucken"), this);
    BtnSchliessen = knopf("BtnSchliessen", QStringLiteral("Schließen"), this);
    for (QWidget* w : {static_cast<QWidget*>(BtnVorherigeWoche), static_cast<QWidget*>(BtnDieseWoche),
                       static_cast<QWidget*>(BtnNaechsteWoche), static_cast<QWidget*>(EditWoche)})
        leiste->addWidget(w);
    leiste->addSpacing(12);
    leiste->addWidget(lblWoche);
    leiste->addStretch(1);
    leiste->addWidget(BtnDrucken);
    leiste->addWidget(BtnSchliessen);

    NextDBGridWochenplan = new TDatenGitter(this);
    NextDBGridWochenplan->setObjectName(QStringLiteral("NextDBGridWochenplan"));
    auto* g = NextDBGridWochenplan;
    g->setFont(Oberflaechenschrift(8));
    g->setKopfHoehe(20);
    g->setNurLesen(true);
    g->setZeilenIndikator(false);
    g->setGanzeZeileMarkieren(true);
    g->setSpaltenVerschiebbar(false);
    g->setMarkierungZeichnen(false);
    g->setZellFaerbung(&Zeilenfarbe);
    g->spalteHinzufuegen(TSpaltenArt::Text, QStringLiteral("Name"), QStringLiteral("MITARBEITER"), 150)
        ->setSchrift(Oberflaechenschrift(8, true));
    for (int tag = 0; tag < 7; ++tag)
        g->spalteHinzufuegen(TSpaltenArt::Memo, QStringLiteral("Tag%1").arg(tag), QString(), 120);
    g->setBreitenAnpassen(true);
    g->setModel(m_modell);
    layout->addWidget(g, 1);

    connect(BtnVorherigeWoche, &QPushButton::clicked, this, [this] { WocheZeigen(m_plan.Montag().addDays(-7)); });
    connect(BtnDieseWoche, &QPushButton::clicked, this, [this] { WocheZeigen(m_heute); });
    connect(BtnNaechsteWoche, &QPushButton::clicked, this, [this] { WocheZeigen(m_plan.Montag().addDays(7)); });
    connect(EditWoche, &TDatumEdit::datumBearbeitet, this, [this](const QDate& tag) {
        // An emptied field keeps the week shown.
        if (tag.isValid())
            WocheZeigen(tag);
        else
            EditWoche->setDatum(m_plan.Montag());
    });
    connect(BtnDrucken, &QPushButton::clicked, this, &TFormWochenplan::Drucken);
    connect(BtnSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

TFormWochenplan::~TFormWochenplan()
{
    m_modell->setPlan(nullptr);
}

void TFormWochenplan::WocheZeigen(const QDate& tag)
{
    // The week stays as it was when it cannot be read; the error says why.
    TWochenplan neu;
    neu.Laden(m_datenbank, tag);
    m_modell->setHeute(m_heute);
    m_modell->setPlan(nullptr);
    m_plan = std::move(neu);
    m_modell->setPlan(&m_plan);
    EditWoche->setDatum(tag);
    lblWoche->setText(m_plan.Titel());
    spaltenAnpassen();
}

void TFormWochenplan::spaltenAnpassen()
{
    const QList<int> tage = m_plan.GezeigteTage();
    for (int tag = 0; tag < 7; ++tag) {
        TGitterSpalte* spalte = NextDBGridWochenplan->spalte(tag + 1);
        spalte->setTitel(m_modell->headerData(tag + 1, Qt::Horizontal).toString());
        spalte->setSichtbar(tage.contains(tag));
    }
    zeilenHoeheAnpassen();
}

void TFormWochenplan::zeilenHoeheAnpassen()
{
    // Every project of the fullest cell in sight, wrapped as the cell wraps it.
    TDatenGitter* g = NextDBGridWochenplan;
    const QFontMetrics metrik(g->font());
    int zeilen = 1;
    for (int tag : m_plan.GezeigteTage()) {
        const int breite = std::max(20, g->columnWidth(tag + 1) - 8);
        for (const TWochenplanZeile& z : m_plan.Zeilen()) {
            int n = 0;
            for (const QString& projekt : z.tage[size_t(tag)])
                n += (metrik.horizontalAdvance(projekt) + breite - 1) / breite;
            zeilen = std::max(zeilen, n);
        }
    }
    const int hoehe = metrik.lineSpacing() * zeilen + 6;
    if (hoehe != g->zeilenHoehe())
        g->setZeilenHoehe(hoehe);
}

void TFormWochenplan::resizeEvent(QResizeEvent* ereignis)
{
    QDialog::resizeEvent(ereignis);
    zeilenHoeheAnpassen();
}

void TFormWochenplan::showEvent(QShowEvent* ereignis)
{
    if (!m_gezeigt) {
        m_gezeigt = true;
        FensterLageAnwenden(this, FensterName);
        if (!m_plan.Montag().isValid())
            WocheZeigen(m_heute);
    }
    QDialog::showEvent(ereignis);
}

void TFormWochenplan::done(int ergebnis)
{
    FensterLageMerken(this, FensterName);
    QDialog::done(ergebnis);
}

void TFormWochenplan::Drucken()
{
    TFRDruckVorschauForm* vorschau = Vorschau ? Vorschau() : FRDruckVorschauForm;
    std::unique_ptr<TFRDruckVorschauForm> eigene;
    if (!vorschau) {
        eigene = std::make_unique<TFRDruckVorschauForm>(this);
        vorschau = eigene.get();
    }
    TWochenplanBericht bericht(m_plan);
    vorschau->PdfVorschlag = QStringLiteral("Wochenplan %1.pdf").arg(m_plan.Montag().toString(QStringLiteral("yyyy-MM-dd")));
    vorschau->frxPreview1->BerichtZeigen(bericht.Bericht());
    vorschau->exec();
}
