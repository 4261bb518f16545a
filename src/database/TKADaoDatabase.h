#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include <memory>

#include "Anweisung.h"

struct sqlite3;
class Integritaetspruefung;
class PostgresVerbindung;
class SqliteAnweisung;
class TKADaoTable;

/// A mark of what the database file holds, to compare with an earlier one: it differs when
/// anything was written since, by another connection (the engine's data version) or by this one
/// (its count of changed rows). Marks of different Opens are not comparable.
struct TAenderungsstand
{
    quint64 oeffnung = 0;
    qint64 fremd = -1;
    qint64 eigen = -1;
    friend bool operator==(const TAenderungsstand&, const TAenderungsstand&) = default;
};

/// The connection to the project database (`DBProjekt`): an SQLite file opened through Qt SQL,
/// shared with other instances of the program, or a database on a PostgreSQL server when the
/// name is a server address (postgresql://benutzer@host:port/name, see Serveradresse), which
/// is what several office PCs share. Both behave alike above this layer. The path is set while closed; Open refuses a
/// missing file (naming its full path), an old Access file (it must be converted first), an
/// unreadable or damaged file, each with a German message. A file that cannot be written (no
/// write right on it or on its folder) opens read-only (NurLesen) and every change is refused.
/// A short lock held by another instance is waited for (BusyTimeout); a lasting one gives the
/// message that another user holds the database, and nothing is lost. Right after Open every
/// page is checked in the background; the first write waits for that check, and a damaged file
/// is reported (signal Beschaedigt) and never written to.
class TKADaoDatabase : public QObject
{
    Q_OBJECT

public:
    explicit TKADaoDatabase(QObject* parent = nullptr);
    ~TKADaoDatabase() override;

    /// Path of the database file, or a server address; may only change while closed.
    const QString& DatabaseName() const { return m_databaseName; }
    void setDatabaseName(const QString& pfad);

    /// Opens the connection; nothing when already connected. Throws Fehler on failure.
    void Open();
    /// Closes every dataset on the connection, then the connection; nothing when closed.
    void Close();
    bool Connected() const { return m_handle != nullptr || m_server != nullptr; }
    /// True while the database lies on a server (no file: no copies, no page check).
    bool AufServer() const { return m_server != nullptr; }
    void setConnected(bool verbunden) { verbunden ? Open() : Close(); }

    /// True while the connection is open read-only: asked for, or because the file or its
    /// folder cannot be written.
    bool NurLesen() const { return m_nurLesen; }
    /// Throws the German reason when nothing may be written now: the connection is read-only,
    /// or the file is damaged (waits for the check started at Open).
    void SchreibenPruefen();
    /// Waits for the check of the pages started at Open; false when it found damage. True when
    /// closed or when the check could not run.
    bool IntegritaetAbwarten();

    /// Milliseconds a statement waits for a lock of another instance before giving up.
    int BusyTimeout() const { return m_busyTimeout; }
    void setBusyTimeout(int ms);

    // Connection settings of the program. Exclusive and ReadOnly take effect at Open (the
    // program opens shared and writable); the others describe the login that the Jet engine
    // of the old files needed and are kept for the record: they change nothing here.
    bool Exclusive() const { return m_exclusive; }
    void setExclusive(bool wert);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool wert);
    bool LoginPrompt() const { return m_loginPrompt; }
    void setLoginPrompt(bool wert) { m_loginPrompt = wert; }
    const QString& UserName() const { return m_userName; }
    void setUserName(const QString& wert) { m_userName = wert; }
    const QString& Password() const { return m_password; }
    void setPassword(const QString& wert) { m_password = wert; }
    const QString& SystemDatabase() const { return m_systemDatabase; }
    void setSystemDatabase(const QString& wert) { m_systemDatabase = wert; }
    const QString& DatabaseType() const { return m_databaseType; }
    void setDatabaseType(const QString& wert) { m_databaseType = wert; }
    const QString& Version() const { return m_version; }
    void setVersion(const QString& wert) { m_version = wert; }
    int EngineType() const { return m_engineType; }
    void setEngineType(int wert) { m_engineType = wert; }
    int QueryTimeout() const { return m_queryTimeout; }
    void setQueryTimeout(int sekunden) { m_queryTimeout = sekunden; }

    /// Runs one action statement and returns the number of rows it changed.
    int Execute(const QString& sql);
    /// Prepares a statement in the program's dialect (bracketed names, ? for parameters) on
    /// whichever engine holds the database. Throws Fehler on a wrong statement.
    Anweisung Vorbereiten(const QString& sql);
    /// The key the engine gave the row this connection inserted last.
    QVariant NeuerSchluessel();

    /// Runs `arbeit` as one transaction: either all of its changes are stored or, when it
    /// raises an error, none (the error goes on). Inside another transaction it becomes a part
    /// of that one, undone on its own when it fails.
    void Transaktion(const std::function<void()>& arbeit);
    /// A transaction on the connection: what the datasets write after StartTransaction is
    /// stored by Commit, or all of it undone by Rollback (the datasets' rows in memory are
    /// then the caller's to read again). Inside a running transaction, also one begun with
    /// Execute("BEGIN ..."), the inner one is a savepoint: Rollback undoes only what was written
    /// since its start, Commit hands it to the outer one. The write lock is taken at the start,
    /// so a lasting lock of another instance fails there, before anything is written.
    void StartTransaction();
    void Commit();
    void Rollback();
    /// True between StartTransaction and Commit or Rollback.
    bool InTransaction() const;

    /// The mark of what the file holds now (one statement); an empty mark when closed. A
    /// reader that kept the mark of its last read and gets the same one again need not read.
    TAenderungsstand Aenderungsstand();

signals:
    /// The check started at Open found the file damaged; `meldung` is the German message. Sent
    /// once per Open, in the thread of the connection.
    void Beschaedigt(const QString& meldung);

public:
    /// The datasets attached to this connection.
    const QList<TKADaoTable*>& DataSets() const { return m_dataSets; }

    /// Full path of the open file, or the server and database (for messages); empty when closed.
    const QString& Dateipfad() const { return m_dateipfad; }
    /// The server connection; nullptr when closed or on a file. For the access layer and tests.
    PostgresVerbindung* Server() const { return m_server.get(); }
    /// The engine's connection; nullptr when closed. For the access layer.
    sqlite3* Handle() const { return m_handle; }

private:
    friend class TKADaoTable;
    void anmelden(TKADaoTable* tabelle);
    void abmelden(TKADaoTable* tabelle);
    void verbindungEntfernen();
    // True when the file can be opened for writing; throws when it cannot be opened at all.
    bool dateiPruefen(const QString& pfad) const;
    void pruefungBeendet(quint64 oeffnung, bool beschaedigt);
    void stuetzTabellenErgaenzen();
    void serverHilfsobjekteErgaenzen();
    void serverOeffnen();
    TAenderungsstand serverStand();

    QString m_databaseName;
    QString m_dateipfad;
    QString m_verbindungsName;
    sqlite3* m_handle = nullptr;
    std::unique_ptr<PostgresVerbindung> m_server;
    std::unique_ptr<Anweisung> m_serverStand;  // the change counter, prepared once per Open
    int m_busyTimeout = 5000;
    bool m_nurLesen = false;
    std::unique_ptr<Integritaetspruefung> m_pruefung;
    std::unique_ptr<SqliteAnweisung> m_datenVersion;  // prepared once per Open
    quint64 m_oeffnung = 0;             // counts Opens, so a late check result finds its own
    bool m_beschaedigtGemeldet = false;
    bool m_exclusive = false;
    bool m_readOnly = false;
    bool m_loginPrompt = false;
    QString m_userName = QStringLiteral("Admin");
    QString m_password;
    QString m_systemDatabase = QStringLiteral("system.mdb");
    QString m_databaseType = QStringLiteral("Access");
    QString m_version = QStringLiteral("3.5");
    int m_engineType = 2;
    int m_queryTimeout = 60;
    int m_innere = 0;   // inner transactions (savepoints) running
    QList<TKADaoTable*> m_dataSets;
};
