#pragma once

#include "PostgresVerbindung.h"
#include "TKADaoDatabase.h"

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
    /// Counts on the connection of `db`, a file's or a server's.
    explicit AnweisungsZaehler(TKADaoDatabase* db)
        : m_db(db->Handle())
        , m_server(db->Server())
    {
        if (m_server)
            m_server->setMitschrift([this](const QString& sql) { m_anweisungen << sql; });
        else
            sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &AnweisungsZaehler::gesehen, this);
    }
    ~AnweisungsZaehler()
    {
        if (m_server)
            m_server->setMitschrift({});
        else
            sqlite3_trace_v2(m_db, 0, nullptr, nullptr);
    }
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
    PostgresVerbindung* m_server = nullptr;
    QStringList m_anweisungen;
};
