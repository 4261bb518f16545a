#pragma once

#include "Anweisung.h"
#include "Serveradresse.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

/// The connection to a project database on a PostgreSQL server. Qt's driver opens it (and so
/// finds the password where the server's own programs do); the statements then go through the
/// server's client library, as the file connection's go through the file engine. A connection
/// that the server or the network lost is said once, in German, and built anew at the next
/// statement; a lock held by another PC is waited for as long as the wait time allows.
class PostgresVerbindung
{
public:
    /// Connects; throws Fehler with the reason (server not reachable, login refused, no such
    /// database).
    PostgresVerbindung(Serveradresse adresse, int wartezeitMs);
    ~PostgresVerbindung();
    PostgresVerbindung(const PostgresVerbindung&) = delete;
    PostgresVerbindung& operator=(const PostgresVerbindung&) = delete;

    const Serveradresse& adresse() const { return m_adresse; }

    /// A statement in the program's dialect (bracketed names, ? as parameter mark).
    std::unique_ptr<AnweisungsKern> kern(const QString& sql);
    /// Runs one statement without parameters; the number of rows it changed.
    int ausfuehren(const QString& sql);
    /// Runs statements exactly as written, in the server's own words.
    void roh(const QByteArray& sql);
    /// True inside a transaction (also one that an error has spoilt).
    bool inTransaktion() const;
    /// Told every statement the program sends (for tests that count them).
    void setMitschrift(std::function<void(const QString&)> mitschrift) { m_mitschrift = std::move(mitschrift); }
    /// How long a statement waits for a row another PC holds locked.
    void setWartezeit(int ms);

    // For the statements of this connection.
    /// Runs `serverSql` with parameters (null: SQL NULL; binaer: sent as bytes); the result,
    /// which the caller frees. Throws on failure.
    pg_result* ausfuehren(const QByteArray& serverSql, const std::vector<std::optional<QByteArray>>& werte,
                          const std::vector<int>& binaer, const QString& sql);
    /// Prepares `serverSql` under a name of its own for running it again and again; the name,
    /// valid while generation() stays the same.
    QByteArray vorbereiten(const QByteArray& serverSql, const QString& sql);
    /// Runs a statement prepared by vorbereiten(); as ausfuehren().
    pg_result* ausfuehrenVorbereitet(const QByteArray& name, const std::vector<std::optional<QByteArray>>& werte,
                                     const std::vector<int>& binaer, const QString& sql);
    /// Gives a prepared statement up (now, or with the next statement sent).
    void freigeben(const QByteArray& name, quint64 generation);
    /// Connects anew when the connection was lost (said by the statement that met it).
    void bereitMachen();
    /// Counts the connections made: a new one knows none of the earlier prepared statements.
    quint64 generation() const { return m_generation; }
    /// Describes `serverSql` without running it.
    pg_result* beschreiben(const QByteArray& serverSql, const QString& sql);
    /// Name of the table (empty for a view or an unknown one) and of its column `nr`.
    QString tabellenName(unsigned int oid);
    QString spaltenName(unsigned int oid, int nr);

private:
    void sitzungEinrichten();
    pg_result* ergebnisPruefen(pg_result* r, bool geschuetzt, const QString& sql);
    bool schuetzen(const QByteArray& serverSql);
    [[noreturn]] void fehlerWerfen(pg_result* ergebnis, const QString& sql);
    QString einfacherWert(const QString& sql, const QByteArray& parameter1, const QByteArray& parameter2 = {});

    Serveradresse m_adresse;
    QString m_verbindungsName;
    pg_conn* m_conn = nullptr;
    int m_wartezeit = 5000;
    std::function<void(const QString&)> m_mitschrift;
    quint64 m_generation = 1;
    int m_vorbereitet = 0;
    QList<QByteArray> m_freizugeben;
    QHash<unsigned int, QString> m_tabellen;
    QHash<QPair<unsigned int, int>, QString> m_spalten;
};
