#pragma once

#include "TKADaoDatabase.h"

#include <QList>
#include <optional>

/// What was written to the project database since a reader last looked, so that a list of
/// projects can be kept up to date without reading it all again. It keeps the connection's
/// mark (Aenderungsstand) and the number of the last entry of the change table it has seen.
class ProjektAenderungen
{
public:
    /// More changed projects than this are read as a whole.
    static constexpr int HoechstensEinzeln = 500;

    struct Ergebnis
    {
        /// Everything must be read again: the first look, the change table missing or gone
        /// past the last entry seen, a status changed, the tables themselves changed, or too
        /// many projects.
        bool alles = false;
        /// The projects whose row or task sums may have changed, each once, in order of change.
        QList<qint64> projekte;
        bool keine() const { return !alles && projekte.isEmpty(); }
    };

    explicit ProjektAenderungen(TKADaoDatabase* db);

    /// True when anything was written since the last look (one statement).
    bool etwasGeschrieben();
    /// What changed since the last look, which it ends: nothing (one statement), the projects
    /// to read again, or everything; whoever reads everything does so after this call.
    Ergebnis abholen();
    /// The mark of the database now when anything was written since the last look (one
    /// statement), else nothing; handed to abholen(), it spares that call its own look.
    std::optional<TAenderungsstand> neuerStand();
    Ergebnis abholen(const TAenderungsstand& stand);
    /// The next look counts from now; for a reader that is about to read everything anyway.
    void abHier();
    /// A reader that failed to take in what it was told: the next look says "everything".
    void vergessen() { m_begonnen = false; }

private:
    TKADaoDatabase* m_db;
    TAenderungsstand m_stand;
    bool m_begonnen = false;
    bool m_mitTabelle = false;  // the file has the change table
    qint64 m_letzteNr = 0;
    qint64 m_schemaVersion = -1;
};
