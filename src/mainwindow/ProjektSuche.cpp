#include "ProjektSuche.h"

#include "Fehler.h"
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

// The searchable text of each project, by its ID. The project list holds of each project only
// its key and filter, so the searched fields of all projects are read at once, in one statement,
// when a search is prepared, and again only after the list read all its rows anew. A row that
// holds the fields itself (edited, added, or read again after another program changed it) is
// searched by what it holds.
struct TProjektSuche::Vorrat
{
    struct Eintrag
    {
        // The searched values as the row held them when the text was made, as bytes: a
        // keystroke compares them for every such project without making a text of each.
        std::string quelle;
        Suchbegriff::Zeile text;
        bool gefuellt = false;
    };

    QPointer<TKADaoTable> projekte;
    int idFeld = -1;
    std::vector<int> felder;
    std::vector<int> felderAufsteigend;  // the same, in the order of the row
    // As read for all projects, valid while the list has not read its rows anew (0: none read;
    // every read of an open list counts from 1 on).
    QHash<qint64, Suchbegriff::Zeile> gelesen;
    quint64 leseStand = 0;
    // Made from rows holding the searched fields.
    QHash<qint64, Eintrag> eigene;
    Suchbegriff::Zeile ohneSchluessel;
    Suchbegriff::Zeile keiner;

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

    template <typename Werte>
    Suchbegriff::Zeile neuerText(const Werte& werte) const
    {
        QStringList texte;
        for (int f : felder) {
            const TField* feld = projekte && f < projekte->FieldCount() ? projekte->Field(f) : nullptr;
            if (feld)
                texte << feld->Text(feld->Wert(werte[size_t(f)]));
        }
        return Suchbegriff::durchsuchbar(texte);
    }

    bool aktuell() const { return leseStand != 0 && projekte && leseStand == projekte->LeseStand(); }

    // Reads the searched fields of every project, unless what was read still holds.
    void sicherstellen()
    {
        if (!projekte)
            return;
        felderSuchen();
        if (aktuell() || !projekte->Active() || idFeld < 0)
            return;
        QHash<qint64, Suchbegriff::Zeile> neu;
        neu.reserve(projekte->RowCount());
        QStringList namen;
        for (int f : felder)
            namen << projekte->Field(f)->FieldName();
        projekte->SpaltenLesen(namen, [&](const std::vector<QVariant>& werte) {
            const QVariant id = werte[size_t(idFeld)];
            if (!id.isNull())
                neu.insert(id.toLongLong(), neuerText(werte));
        });
        gelesen = std::move(neu);
        eigene.clear();
        leseStand = projekte->LeseStand();
    }

    void freigeben()
    {
        gelesen = {};
        eigene = {};
        leseStand = 0;
    }

    // The row's searchable text: its own, prepared again only when a searched field has
    // changed, or the one read for its project.
    const Suchbegriff::Zeile& text(const Zeilenwerte& werte)
    {
        const QVariant id = idFeld >= 0 ? werte[size_t(idFeld)] : QVariant();
        if (id.isNull()) {
            // A row not yet stored has no place to be kept under.
            ohneSchluessel = neuerText(werte);
            return ohneSchluessel;
        }
        const bool haeltFelder =
            std::all_of(felder.begin(), felder.end(), [&](int f) { return werte.gelesen(size_t(f)); });
        if (!haeltFelder) {
            if (!aktuell()) {
                // The list read its rows anew while the search stands: read the fields again,
                // once. Should that fail, nothing is found until the next keystroke says why.
                try {
                    sicherstellen();
                } catch (const Fehler&) {
                    return keiner;
                }
            }
            const auto it = gelesen.constFind(id.toLongLong());
            return it != gelesen.constEnd() ? *it : keiner;
        }
        Eintrag& eintrag = eigene[id.toLongLong()];
        thread_local std::string quelle;
        quelle.clear();
        const bool vergleichbar = werte.rohAnhaengen(felderAufsteigend, quelle);
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
        m_vorrat->sicherstellen();
        m_projekte->setZeilenBedingung(
            [vorrat = m_vorrat, begriff](const Zeilenwerte& werte) { return begriff.gefunden(vorrat->text(werte)); });
    }
    m_text = text;
}

void TProjektSuche::vorbereiten()
{
    if (!m_projekte)
        return;
    try {
        m_vorrat->sicherstellen();
    } catch (const Fehler&) {
        // The first keystroke reads again and says why it failed.
    }
}

void TProjektSuche::freigeben()
{
    if (!aktiv())
        m_vorrat->freigeben();
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
