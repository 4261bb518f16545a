#pragma once

#include "Anweisung.h"
#include "Fehler.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

/// A lock of another program on the database outlasted the wait for it (BusyTimeout). Callers
/// that know the situation better (start-up, closing) say what it means there.
class DatenbankGesperrt : public Fehler
{
public:
    using Fehler::Fehler;
};

/// The message for a lock that outlasted the wait; only a caller that keeps what was typed
/// (a row being posted stays in its edit buffer) says so.
QString gesperrtText(bool eingabenBleiben);

/// The message for a database whose pages are damaged.
QString beschaedigtText(const QString& datei);

/// A stored text that is not valid UTF-8 (other tools and converters leave such bytes). It is
/// held as its bytes, so that comparing the row with what is stored matches and an unchanged
/// value is written back byte for byte; fields show it decoded, with replacement characters.
struct RohText
{
    QByteArray bytes;
    friend bool operator==(const RohText&, const RohText&) = default;
};

/// Raises a Fehler with the German message for an engine result code. `datei` names the database
/// file in the message, `sql` the statement that failed (shown for statement errors).
[[noreturn]] void sqliteFehlerWerfen(sqlite3* db, int rc, const QString& datei, const QString& sql = QString());

/// One prepared statement of the engine. Values go in and come out as they are stored:
/// null, 64-bit integer, double, text (RohText when it is not valid UTF-8) or bytes. Every failure is a Fehler with a German message.
class SqliteAnweisung
{
public:
    SqliteAnweisung() = default;
    /// Prepares `sql` on the connection; throws on a wrong statement.
    SqliteAnweisung(sqlite3* db, const QString& datei, const QString& sql);
    ~SqliteAnweisung();
    SqliteAnweisung(SqliteAnweisung&& andere) noexcept;
    SqliteAnweisung& operator=(SqliteAnweisung&& andere) noexcept;
    SqliteAnweisung(const SqliteAnweisung&) = delete;
    SqliteAnweisung& operator=(const SqliteAnweisung&) = delete;

    bool gueltig() const { return m_stmt != nullptr; }
    const QString& sql() const { return m_sql; }
    sqlite3_stmt* handle() const { return m_stmt; }

    /// Binds parameter `nr` (from 1) to a stored value (see class comment; bool becomes 0/1).
    void binden(int nr, const QVariant& wert);
    /// Runs one step: true while a row is there, false when done.
    bool schritt();
    /// Makes the statement ready to run again and clears its bindings.
    void zuruecksetzen();
    /// Runs the statement to its end and returns the number of rows it changed.
    int ausfuehren();

    int spaltenAnzahl() const;
    /// The stored value of column `spalte` (from 0) of the current row.
    QVariant wert(int spalte) const;

private:
    void freigeben();

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_datei;
    QString m_sql;
};

/// A statement of the file engine behind the engine-neutral Anweisung.
std::unique_ptr<AnweisungsKern> sqliteKern(sqlite3* db, const QString& datei, const QString& sql);
