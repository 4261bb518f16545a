#include "ProjektAenderungen.h"

#include "Schema.h"
#include "Fehler.h"
#include "TKADaoDatabase.h"

#include <QSet>

namespace {

qint64 schemaVersion(TKADaoDatabase* db)
{
    // The tables on a server are changed by its administrator, with every program closed.
    if (db->AufServer())
        return 0;
    Anweisung a = db->Vorbereiten(QStringLiteral("PRAGMA schema_version"));
    return a.schritt() ? a.wert(0).toLongLong() : -1;
}

} // namespace

ProjektAenderungen::ProjektAenderungen(TKADaoDatabase* db)
    : m_db(db)
{
}

bool ProjektAenderungen::etwasGeschrieben()
{
    return neuerStand().has_value();
}

void ProjektAenderungen::abHier()
{
    m_stand = m_db->Aenderungsstand();
    m_begonnen = m_db->Connected();
    m_mitTabelle = false;
    m_letzteNr = 0;
    if (!m_begonnen)
        return;
    m_schemaVersion = schemaVersion(m_db);
    try {
        Anweisung a = m_db->Vorbereiten(QStringLiteral("SELECT coalesce(max([Nr]), 0) FROM [%1]").arg(Schema::aenderungsTabelle()));
        if (a.schritt())
            m_letzteNr = a.wert(0).toLongLong();
        m_mitTabelle = true;
    } catch (const Fehler&) {
        // A file without the change table (opened read-only before it could be added): every
        // change then means reading everything.
    }
}

std::optional<TAenderungsstand> ProjektAenderungen::neuerStand()
{
    const TAenderungsstand stand = m_db->Aenderungsstand();
    if (m_begonnen && stand == m_stand)
        return std::nullopt;
    return stand;
}

ProjektAenderungen::Ergebnis ProjektAenderungen::abholen()
{
    return abholen(m_db->Aenderungsstand());
}

ProjektAenderungen::Ergebnis ProjektAenderungen::abholen(const TAenderungsstand& stand)
{
    // A mark read before something else was written here only makes the next look read what
    // it has seen already; nothing written after it is missed, as the table is read after it.
    Ergebnis ergebnis;
    if (m_begonnen && stand == m_stand)
        return ergebnis;
    // A table renamed, added or dropped by another program: nothing held can be trusted.
    if (!m_begonnen || !m_mitTabelle || schemaVersion(m_db) != m_schemaVersion) {
        abHier();
        ergebnis.alles = true;
        return ergebnis;
    }
    m_stand = stand;
    Anweisung a = m_db->Vorbereiten(QStringLiteral("SELECT [Nr], [Projekt_ID] FROM [%1] WHERE [Nr] > ? ORDER BY [Nr]")
                          .arg(Schema::aenderungsTabelle()));
    a.binden(1, m_letzteNr);
    QSet<qint64> gesehen;
    bool erste = true;
    while (a.schritt()) {
        const qint64 nr = a.wert(0).toLongLong();
        const QVariant projekt = a.wert(1);
        // A gap before the first entry: the entries after the last one seen were cut off.
        if ((erste && nr != m_letzteNr + 1) || projekt.isNull())
            ergebnis.alles = true;
        erste = false;
        m_letzteNr = nr;
        if (!ergebnis.alles && !gesehen.contains(projekt.toLongLong())) {
            gesehen.insert(projekt.toLongLong());
            ergebnis.projekte << projekt.toLongLong();
        }
    }
    a.zuruecksetzen();
    if (ergebnis.alles || ergebnis.projekte.size() > HoechstensEinzeln) {
        ergebnis.alles = true;
        ergebnis.projekte.clear();
    }
    return ergebnis;
}
