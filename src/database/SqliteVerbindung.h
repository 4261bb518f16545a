#pragma once

#include "SqliteAnweisung.h"

#include <QString>

struct sqlite3;

/// An engine connection of its own to an existing database file, below the program's access
/// layer: for the tools and the take-over that create and fill whole files. Opened read-write,
/// waits up to five seconds for a lock; every failure is a Fehler naming the file.
class SqliteVerbindung
{
public:
    explicit SqliteVerbindung(const QString& pfad);
    ~SqliteVerbindung();
    SqliteVerbindung(const SqliteVerbindung&) = delete;
    SqliteVerbindung& operator=(const SqliteVerbindung&) = delete;

    void ausfuehren(const QString& sql) { SqliteAnweisung(m_db, m_pfad, sql).ausfuehren(); }
    SqliteAnweisung anweisung(const QString& sql) { return SqliteAnweisung(m_db, m_pfad, sql); }
    qint64 letzteId() const;
    /// Closes at once and says so when the engine cannot finish the file.
    void schliessen();

private:
    sqlite3* m_db = nullptr;
    QString m_pfad;
};
