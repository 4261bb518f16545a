#pragma once

#include <QStringList>
#include <sqlite3.h>

// Counts the statements a connection runs while it lives (the engine's trace hook), for paths
// that must stay cheap. Statements run by triggers are not counted.
class AnweisungsZaehler
{
public:
    explicit AnweisungsZaehler(sqlite3* db)
        : m_db(db)
    {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &AnweisungsZaehler::gesehen, this);
    }
    ~AnweisungsZaehler() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    AnweisungsZaehler(const AnweisungsZaehler&) = delete;
    AnweisungsZaehler& operator=(const AnweisungsZaehler&) = delete;

    int anzahl() const { return int(m_anweisungen.size()); }
    const QStringList& anweisungen() const { return m_anweisungen; }
    void zuruecksetzen() { m_anweisungen.clear(); }

private:
    static int gesehen(unsigned, void* selbst, void*, void* text)
    {
        const QString sql = QString::fromUtf8(static_cast<const char*>(text));
        if (!sql.startsWith(QLatin1String("--")))  // "-- TRIGGER name": part of the statement
            static_cast<AnweisungsZaehler*>(selbst)->m_anweisungen << sql;
        return 0;
    }

    sqlite3* m_db;
    QStringList m_anweisungen;
};
