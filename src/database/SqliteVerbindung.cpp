#include "SqliteVerbindung.h"

#include "Fehler.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

SqliteVerbindung::SqliteVerbindung(const QString& pfad)
    : m_pfad(QDir::toNativeSeparators(pfad))
{
    const int rc = sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3* db = m_db;
        m_db = nullptr;
        try {
            sqliteFehlerWerfen(db, rc, m_pfad);
        } catch (...) {
            sqlite3_close(db);
            throw;
        }
    }
    sqlite3_busy_timeout(m_db, 5000);
}

SqliteVerbindung::~SqliteVerbindung()
{
    sqlite3_close(m_db);
}

qint64 SqliteVerbindung::letzteId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteVerbindung::schliessen()
{
    if (m_db && sqlite3_close(m_db) != SQLITE_OK)
        throw Fehler(QStringLiteral("Die Datenbank '%1' kann nicht abgeschlossen werden.").arg(m_pfad));
    m_db = nullptr;
}
