#include "ProjektSuche.h"

#include "TField.h"
#include "TKADaoTable.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <array>
#include <vector>

namespace {

// The fields a project is found by: number, name, site, customer (account and key), subject.
constexpr std::array<const char*, 6> SuchFelder = {"Kommnr", "Bezeichn", "Baustelle", "Konto", "KundenKey", "Betreff_ges"};

} // namespace

// The searchable text of each project, by its ID, with the field values it was made from.
struct TProjektSuche::Vorrat
{
    struct Eintrag
    {
        // The searched values as the row held them when the text was made, as bytes: a
        // keystroke compares them for every project without making a text of each.
        std::string quelle;
        Suchbegriff::Zeile text;
        bool gefuellt = false;
    };

    QPointer<TKADaoTable> projekte;
    int idFeld = -1;
    std::vector<int> felder;
    std::vector<int> felderAufsteigend;  // the same, in the order of the row
    QHash<qint64, Eintrag> eintraege;
    Suchbegriff::Zeile ohneSchluessel;

    void felderSuchen()
    {
        felder.clear();
        const TField* id = projekte->FindField(QStringLiteral("ID"));
        idFeld = id ? id->Index() : -1;
        for (const char* name : SuchFelder)
            if (const TField* feld = projekte->FindField(QString::fromLatin1(name)))
                felder.push_back(feld->Index());
        felderAufsteigend = felder;
        std::sort(felderAufsteigend.begin(), felderAufsteigend.end());
    }

    Suchbegriff::Zeile neuerText(const Zeilenwerte& werte) const
    {
        QStringList texte;
        for (int f : felder) {
            const TField* feld = projekte && f < projekte->FieldCount() ? projekte->Field(f) : nullptr;
            if (feld)
                texte << feld->Text(feld->Wert(werte[size_t(f)]));
        }
        return Suchbegriff::durchsuchbar(texte);
    }

    // The searched values of a row as held; false when one of them has no bytes to compare.
    bool quelleLesen(const Zeilenwerte& werte, std::string& quelle) const
    {
        quelle.clear();
        return werte.rohAnhaengen(felderAufsteigend, quelle);
    }

    // The row's searchable text, prepared again only when a searched field has changed.
    const Suchbegriff::Zeile& text(const Zeilenwerte& werte)
    {
        const QVariant id = idFeld >= 0 ? werte[size_t(idFeld)] : QVariant();
        if (id.isNull()) {
            // A row not yet stored has no place to be kept under.
            ohneSchluessel = neuerText(werte);
            return ohneSchluessel;
        }
        Eintrag& eintrag = eintraege[id.toLongLong()];
        thread_local std::string quelle;
        const bool vergleichbar = quelleLesen(werte, quelle);
        if (!eintrag.gefuellt || !vergleichbar || quelle != eintrag.quelle) {
            eintrag.quelle = vergleichbar ? quelle : std::string();
            eintrag.text = neuerText(werte);
            eintrag.gefuellt = vergleichbar;
        }
        return eintrag.text;
    }
};

TProjektSuche::TProjektSuche(TKADaoTable* projekte)
    : m_projekte(projekte), m_vorrat(std::make_shared<Vorrat>())
{
    m_vorrat->projekte = projekte;
}

TProjektSuche::~TProjektSuche()
{
    if (!m_projekte || !m_projekte->HatZeilenBedingung())
        return;
    const TDataSetState zustand = m_projekte->State();
    if (zustand == TDataSetState::dsEdit || zustand == TDataSetState::dsInsert)
        return;
    try {
        m_projekte->setZeilenBedingung({});
    } catch (...) {
        // The dataset keeps the condition, which holds what it needs.
    }
}

void TProjektSuche::setText(const QString& text)
{
    if (!m_projekte)
        return;
    const Suchbegriff begriff(text);
    if (begriff.leer()) {
        if (m_projekte->HatZeilenBedingung())
            m_projekte->setZeilenBedingung({});
    } else {
        m_vorrat->felderSuchen();
        m_projekte->setZeilenBedingung(
            [vorrat = m_vorrat, begriff](const Zeilenwerte& werte) { return begriff.gefunden(vorrat->text(werte)); });
    }
    m_text = text;
}

void TProjektSuche::vorbereiten()
{
    if (!m_projekte || !m_projekte->Active() || !m_vorrat->eintraege.isEmpty())
        return;
    m_vorrat->felderSuchen();
    if (m_vorrat->idFeld < 0)
        return;
    TKADaoTable& projekte = *m_projekte;
    const bool puffer = projekte.State() == TDataSetState::dsEdit || projekte.State() == TDataSetState::dsInsert;
    // The rows as the dataset holds them: a text field's value is the stored one.
    std::vector<QVariant> werte(size_t(projekte.FieldCount()));
    for (int zeile = 0; zeile < projekte.RowCount(); ++zeile) {
        if (puffer && zeile == projekte.CurrentRow())
            continue;
        werte[size_t(m_vorrat->idFeld)] = projekte.RowValue(zeile, m_vorrat->idFeld);
        for (int f : m_vorrat->felder)
            werte[size_t(f)] = projekte.RowValue(zeile, f);
        m_vorrat->text(Zeilenwerte(werte));
    }
}

bool TProjektSuche::aktiv() const
{
    return m_projekte && m_projekte->Active() && m_projekte->HatZeilenBedingung();
}

QString TProjektSuche::statusText() const
{
    if (!aktiv())
        return QString();
    return QStringLiteral("%1 von %2 Projekten").arg(m_projekte->RecordCount()).arg(m_projekte->AnzahlOhneBedingung());
}
