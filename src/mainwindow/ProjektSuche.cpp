#include "ProjektSuche.h"

#include "TField.h"
#include "TKADaoTable.h"

#include <QHash>
#include <QStringList>
#include <vector>

namespace {

// The fields a project is found by: number, name, site, customer (account and key), subject.
const char* const SuchFelder[] = {"Kommnr", "Bezeichn", "Baustelle", "Konto", "KundenKey", "Betreff_ges"};

} // namespace

// The searchable text of each project, by its ID, with the field values it was made from.
struct TProjektSuche::Vorrat
{
    struct Eintrag
    {
        std::vector<QVariant> quelle;
        QString text;
    };

    QPointer<TKADaoTable> projekte;
    int idFeld = -1;
    std::vector<int> felder;
    QHash<qint64, Eintrag> eintraege;

    void felderSuchen()
    {
        felder.clear();
        const TField* id = projekte->FindField(QStringLiteral("ID"));
        idFeld = id ? id->Index() : -1;
        for (const char* name : SuchFelder)
            if (const TField* feld = projekte->FindField(QString::fromLatin1(name)))
                felder.push_back(feld->Index());
    }

    QString neuerText(const std::vector<QVariant>& werte) const
    {
        QStringList texte;
        for (int f : felder) {
            const TField* feld = projekte && f < projekte->FieldCount() ? projekte->Field(f) : nullptr;
            if (feld && size_t(f) < werte.size())
                texte << feld->Text(feld->Wert(werte[size_t(f)]));
        }
        return Suchbegriff::durchsuchbar(texte);
    }

    bool unveraendert(const Eintrag& eintrag, const std::vector<QVariant>& werte) const
    {
        if (eintrag.quelle.size() != felder.size())
            return false;
        for (size_t i = 0; i < felder.size(); ++i)
            if (size_t(felder[i]) >= werte.size() || !(eintrag.quelle[i] == werte[size_t(felder[i])]))
                return false;
        return true;
    }

    // The row's searchable text, prepared again only when a searched field has changed.
    QString text(const std::vector<QVariant>& werte)
    {
        const QVariant* id = idFeld >= 0 && size_t(idFeld) < werte.size() ? &werte[size_t(idFeld)] : nullptr;
        if (!id || id->isNull())
            return neuerText(werte);   // a row not yet stored has no place to be kept under
        Eintrag& eintrag = eintraege[id->toLongLong()];
        if (!unveraendert(eintrag, werte)) {
            eintrag.quelle.clear();
            for (int f : felder)
                eintrag.quelle.push_back(size_t(f) < werte.size() ? werte[size_t(f)] : QVariant());
            eintrag.text = neuerText(werte);
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
            [vorrat = m_vorrat, begriff](const std::vector<QVariant>& werte) { return begriff.gefunden(vorrat->text(werte)); });
    }
    m_text = text;
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
