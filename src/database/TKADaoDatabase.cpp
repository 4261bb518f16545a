#include "TKADaoDatabase.h"

#include "Fehler.h"
#include "Integritaetspruefung.h"
#include "PostgresVerbindung.h"
#include "Schema.h"
#include "Serveradresse.h"
#include "SqliteAnweisung.h"
#include "TKADaoTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>
#include <sqlite3.h>

TKADaoDatabase::TKADaoDatabase(QObject* parent)
    : QObject(parent)
{
}

TKADaoDatabase::~TKADaoDatabase()
{
    try {
        Close();
    } catch (const Fehler& f) {
        qWarning("Datenbank beim Beenden nicht sauber geschlossen: %s", qUtf8Printable(f.text()));
    }
    m_pruefung.reset();
    for (TKADaoTable* tabelle : std::as_const(m_dataSets))
        tabelle->m_database = nullptr;
}

void TKADaoDatabase::setDatabaseName(const QString& pfad)
{
    if (pfad == m_databaseName)
        return;
    if (Connected())
        throw Fehler(QStringLiteral("Der Pfad der Datenbank kann nur bei geschlossener Verbindung geändert werden."));
    m_databaseName = pfad;
}

void TKADaoDatabase::setBusyTimeout(int ms)
{
    m_busyTimeout = ms;
    if (m_handle)
        sqlite3_busy_timeout(m_handle, ms);
    if (m_server)
        m_server->setWartezeit(ms);
}

void TKADaoDatabase::setExclusive(bool wert)
{
    if (Connected() && wert != m_exclusive)
        throw Fehler(QStringLiteral("Der exklusive Zugriff kann nur bei geschlossener Verbindung geändert werden."));
    m_exclusive = wert;
}

void TKADaoDatabase::setReadOnly(bool wert)
{
    if (Connected() && wert != m_readOnly)
        throw Fehler(QStringLiteral("Der Nur-Lese-Zugriff kann nur bei geschlossener Verbindung geändert werden."));
    m_readOnly = wert;
}

bool TKADaoDatabase::dateiPruefen(const QString& pfad) const
{
    const QFileInfo info(pfad);
    if (!info.exists())
        throw Fehler(QStringLiteral("Die Datenbank '%1' wurde nicht gefunden.").arg(QDir::toNativeSeparators(pfad)));
    if (info.isDir())
        throw Fehler(QStringLiteral("'%1' ist ein Ordner und keine Datenbankdatei.").arg(QDir::toNativeSeparators(pfad)));
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        throw Fehler(QStringLiteral("Die Datenbank '%1' kann nicht gelesen werden (keine Leseberechtigung?).")
                         .arg(QDir::toNativeSeparators(pfad)));
    // Databases of the old Windows program are Jet files: 00 01 00 00 and the engine's name.
    const QByteArray kopf = datei.read(19);
    if (kopf.size() == 19 && kopf.startsWith(QByteArray("\x00\x01\x00\x00", 4))
        && (kopf.mid(4) == "Standard Jet DB" || kopf.mid(4) == "Standard ACE DB"))
        throw Fehler(QStringLiteral("Die Datei '%1' ist eine Access-Datenbank des alten Windows-Programms. "
                                    "Sie muss zuerst in das neue Datenbankformat umgewandelt werden, bevor "
                                    "die Projektverwaltung sie öffnen kann.")
                         .arg(QDir::toNativeSeparators(pfad)));
    // The engine writes its journal beside the file while it saves, so the folder counts too.
    return info.isWritable() && QFileInfo(info.absolutePath()).isWritable();
}

void TKADaoDatabase::Open()
{
    if (Connected())
        return;
    if (m_databaseName.trimmed().isEmpty())
        throw Fehler(QStringLiteral("Es ist keine Datenbank angegeben."));
    if (Serveradresse::istServerText(m_databaseName)) {
        serverOeffnen();
        return;
    }
    const QString pfad = QFileInfo(m_databaseName).absoluteFilePath();
    const bool nurLesen = m_readOnly || !dateiPruefen(pfad);

    static int zaehler = 0;
    m_verbindungsName = QStringLiteral("TKADaoDatabase-%1").arg(++zaehler);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindungsName);
        if (!db.isValid()) {
            db = QSqlDatabase();
            verbindungEntfernen();
            throw Fehler(QStringLiteral("Der Datenbanktreiber QSQLITE fehlt (Debian-Paket libqt6sql6-sqlite)."));
        }
        // "mode=rw" keeps the engine from creating a file that is not there.
        QUrl adresse = QUrl::fromLocalFile(pfad);
        QUrlQuery abfrage;
        abfrage.addQueryItem(QStringLiteral("mode"), nurLesen ? QStringLiteral("ro") : QStringLiteral("rw"));
        adresse.setQuery(abfrage);
        db.setDatabaseName(adresse.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeout));
        if (!db.open()) {
            // The driver's reason is English: it goes to the log.
            qWarning("SQLite: %s [%s]", qUtf8Printable(db.lastError().text()), qUtf8Printable(pfad));
            db = QSqlDatabase();
            verbindungEntfernen();
            throw Fehler(QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden.").arg(QDir::toNativeSeparators(pfad)));
        }
        const QVariant handle = db.driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            m_handle = *static_cast<sqlite3* const*>(handle.constData());
        if (!m_handle) {
            db = QSqlDatabase();
            verbindungEntfernen();
            throw Fehler(QStringLiteral("Der Datenbanktreiber liefert keine SQLite-Verbindung."));
        }
    }
    m_dateipfad = QDir::toNativeSeparators(pfad);
    try {
        sqlite3_busy_timeout(m_handle, m_busyTimeout);
        if (m_exclusive)
            Execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        // Room for the pages read again and again (the indexes' upper levels, the tasks of the
        // projects being worked on). The lists read their table or index front to back once,
        // which the system's file cache serves as fast; a cache that held them all would keep
        // some 12 MB per 20,000 projects for nothing.
        Execute(QStringLiteral("PRAGMA cache_size = -4096"));
        // The engine reads the file only now: a damaged or foreign file shows here.
        SqliteAnweisung probe(m_handle, m_dateipfad,
                              QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table', 'view')"));
        probe.schritt();
        if (probe.wert(0).toLongLong() == 0)
            throw Fehler(QStringLiteral("Die Datei '%1' enthält keine Projektdatenbank (sie hat keine Tabellen).")
                             .arg(m_dateipfad));
    } catch (...) {
        m_handle = nullptr;
        m_dateipfad.clear();
        verbindungEntfernen();
        throw;
    }
    m_nurLesen = nurLesen;
    m_beschaedigtGemeldet = false;
    const quint64 oeffnung = ++m_oeffnung;
    m_pruefung = std::make_unique<Integritaetspruefung>(pfad, [this, oeffnung](Integritaetspruefung::Ergebnis e) {
        QMetaObject::invokeMethod(this, [this, oeffnung, e] {
            pruefungBeendet(oeffnung, e == Integritaetspruefung::Ergebnis::Beschaedigt);
        }, Qt::QueuedConnection);
    });
    if (!nurLesen)
        stuetzTabellenErgaenzen();
}

void TKADaoDatabase::serverOeffnen()
{
    const std::optional<Serveradresse> adresse = Serveradresse::lesen(m_databaseName);
    if (!adresse)
        throw Fehler(QStringLiteral("Die Adresse des Datenbankservers '%1' ist unvollständig; sie lautet "
                                    "postgresql://benutzer@host:port/datenbank.")
                         .arg(m_databaseName));
    auto server = std::make_unique<PostgresVerbindung>(*adresse, m_busyTimeout);
    // An empty database or another program's shows here, before any window reads from it.
    const std::unique_ptr<AnweisungsKern> probe =
        server->kern(QStringLiteral("SELECT count(*) FROM pg_class WHERE relname IN ('projekt', 'projektaufgaben') "
                                    "AND relnamespace = to_regnamespace(current_schema())::oid"));
    probe->schritt();
    if (probe->wert(0).toLongLong() < 2)
        throw Fehler(QStringLiteral("Die Datenbank %1 enthält keine Projektdatenbank. Das Datenbankwerkzeug legt sie "
                                    "an: pvdatenbank --server %2")
                         .arg(adresse->anzeige(), adresse->text()));
    m_server = std::move(server);
    m_dateipfad = adresse->anzeige();
    m_nurLesen = m_readOnly;
    m_beschaedigtGemeldet = false;
    ++m_oeffnung;
    serverHilfsobjekteErgaenzen();
}

void TKADaoDatabase::stuetzTabellenErgaenzen()
{
    // A project database made before the program's support tables existed gets them now, whole
    // or not at all; nothing else in the file changes but the stored query that reads the sums.
    // Without them every reader simply reads everything.
    bool projektdatenbank = false;
    bool ohneAenderungen = false;
    bool ohneSummen = false;
    bool ohneWandlistenIndex = false;
    {
        SqliteAnweisung frage(m_handle, m_dateipfad,
                              QStringLiteral("SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name "
                                             "COLLATE NOCASE IN ('Projekt', 'ProjektAufgaben', 'Status')), "
                                             "(SELECT count(*) FROM sqlite_master WHERE name = ? COLLATE NOCASE), "
                                             "(SELECT count(*) FROM sqlite_master WHERE name = ? COLLATE NOCASE), "
                                             "(SELECT count(*) FROM sqlite_master WHERE name = ? COLLATE NOCASE)"));
        frage.binden(1, Schema::aenderungsTabelle());
        frage.binden(2, Schema::summenTabelle());
        frage.binden(3, Schema::wandlistenIndex());
        if (frage.schritt()) {
            projektdatenbank = frage.wert(0).toInt() == 3;
            ohneAenderungen = frage.wert(1).toInt() == 0;
            ohneSummen = frage.wert(2).toInt() == 0;
            ohneWandlistenIndex = frage.wert(3).toInt() == 0;
        }
        frage.zuruecksetzen();
    }
    if (!projektdatenbank || (!ohneAenderungen && !ohneSummen && !ohneWandlistenIndex))
        return;
    try {
        SchreibenPruefen();
        Transaktion([&] {
            if (ohneSummen)
                for (const QString& anweisung : Schema::summenNachruestung())
                    Execute(anweisung);
            if (ohneAenderungen)
                for (const QString& anweisung : Schema::aenderungsAnweisungen())
                    Execute(anweisung);
            if (ohneWandlistenIndex)
                Execute(Schema::wandlistenIndexAnweisung());
        });
    } catch (const Fehler& f) {
        qWarning("SQLite: Hilfstabellen nicht angelegt: %s [%s]", qUtf8Printable(f.text()), qUtf8Printable(m_dateipfad));
    }
}

void TKADaoDatabase::serverHilfsobjekteErgaenzen()
{
    // As for a file: a server database made before the summary table or the wall list's index
    // gets them now.
    Anweisung frage = Vorbereiten(QStringLiteral("SELECT to_regclass('projektsumme') IS NULL, to_regclass('%1') IS NULL")
                                      .arg(Schema::wandlistenIndex().toLower()));
    const bool gefragt = frage.schritt();
    const bool ohneSummen = gefragt && frage.wert(0).toBool();
    const bool ohneIndex = gefragt && frage.wert(1).toBool();
    frage.zuruecksetzen();
    if ((!ohneSummen && !ohneIndex) || m_nurLesen)
        return;
    try {
        Transaktion([&] {
            if (ohneSummen)
                for (const QString& anweisung : Schema::serverSummenNachruestung())
                    m_server->roh(anweisung.toUtf8());
            if (ohneIndex)
                m_server->roh(Schema::serverWandlistenIndexAnweisung().toUtf8());
        });
    } catch (const Fehler& f) {
        // A user without the rights to change the schema works on without them: the sums added up
        // at each read, the wall list read from the table.
        qWarning("PostgreSQL: Hilfstabellen nicht angelegt: %s [%s]", qUtf8Printable(f.text()), qUtf8Printable(m_dateipfad));
    }
}

void TKADaoDatabase::pruefungBeendet(quint64 oeffnung, bool beschaedigt)
{
    if (oeffnung != m_oeffnung || !Connected() || !beschaedigt || m_beschaedigtGemeldet)
        return;
    m_beschaedigtGemeldet = true;
    qWarning("SQLite: %s [%s]", qUtf8Printable(m_pruefung->befund()), qUtf8Printable(m_dateipfad));
    emit Beschaedigt(beschaedigtText(m_dateipfad));
}

bool TKADaoDatabase::IntegritaetAbwarten()
{
    return !m_pruefung || m_pruefung->abwarten() != Integritaetspruefung::Ergebnis::Beschaedigt;
}

void TKADaoDatabase::SchreibenPruefen()
{
    if (!Connected())
        return;
    if (m_nurLesen && m_server)
        throw Fehler(QStringLiteral("Die Datenbank %1 ist nur zum Lesen geöffnet; Änderungen können nicht gespeichert "
                                    "werden.")
                         .arg(m_dateipfad));
    if (m_nurLesen)
        throw Fehler(QStringLiteral("Die Datenbank '%1' ist nur zum Lesen geöffnet (kein Schreibrecht auf die Datei "
                                    "oder ihren Ordner); Änderungen können nicht gespeichert werden.")
                         .arg(m_dateipfad));
    if (!IntegritaetAbwarten()) {
        if (!m_beschaedigtGemeldet) {
            // Said here; the notice of the check itself then stays away.
            m_beschaedigtGemeldet = true;
            qWarning("SQLite: %s [%s]", qUtf8Printable(m_pruefung->befund()), qUtf8Printable(m_dateipfad));
        }
        throw Fehler(beschaedigtText(m_dateipfad));
    }
}

void TKADaoDatabase::Close()
{
    if (!Connected())
        return;
    const QList<TKADaoTable*> tabellen = m_dataSets;
    for (TKADaoTable* tabelle : tabellen)
        tabelle->Close();
    m_pruefung.reset();
    m_datenVersion.reset();
    m_serverStand.reset();
    m_server.reset();
    m_nurLesen = false;
    m_handle = nullptr;
    m_dateipfad.clear();
    verbindungEntfernen();
}

void TKADaoDatabase::verbindungEntfernen()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_verbindungsName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_verbindungsName);
    m_verbindungsName.clear();
}

int TKADaoDatabase::Execute(const QString& sql)
{
    if (!Connected())
        throw Fehler(QStringLiteral("Die Datenbank ist nicht verbunden."));
    if (m_server)
        return m_server->ausfuehren(sql);
    SqliteAnweisung anweisung(m_handle, m_dateipfad, sql);
    return anweisung.ausfuehren();
}

Anweisung TKADaoDatabase::Vorbereiten(const QString& sql)
{
    if (!Connected())
        throw Fehler(QStringLiteral("Die Datenbank ist nicht verbunden."));
    if (m_server)
        return Anweisung(m_server->kern(sql));
    return Anweisung(sqliteKern(m_handle, m_dateipfad, sql));
}

QVariant TKADaoDatabase::NeuerSchluessel()
{
    if (m_server) {
        // The numbered keys are the only sequences; the change notes take no numbers from one.
        Anweisung a = Vorbereiten(QStringLiteral("SELECT lastval()"));
        return a.schritt() ? a.wert(0) : QVariant();
    }
    return m_handle ? QVariant(qlonglong(sqlite3_last_insert_rowid(m_handle))) : QVariant();
}

void TKADaoDatabase::Transaktion(const std::function<void()>& arbeit)
{
    if (!Connected())
        throw Fehler(QStringLiteral("Die Datenbank ist nicht verbunden."));
    StartTransaction();
    try {
        arbeit();
        Commit();
    } catch (...) {
        try {
            Rollback();
        } catch (...) {
        }
        throw;
    }
}

void TKADaoDatabase::StartTransaction()
{
    // Inside a running transaction (one of ours or one a caller began itself) a savepoint
    // stands for the inner one, so that it can be undone on its own.
    if (InTransaction()) {
        Execute(QStringLiteral("SAVEPOINT pv_transaktion_%1").arg(m_innere + 1));
        ++m_innere;
        return;
    }
    m_innere = 0;
    // The file is locked for writing at once; a server locks the rows as they are written.
    Execute(m_server ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

void TKADaoDatabase::Commit()
{
    if (!InTransaction())
        throw Fehler(QStringLiteral("Es läuft keine Transaktion, die gespeichert werden könnte."));
    if (m_innere > 0) {
        Execute(QStringLiteral("RELEASE pv_transaktion_%1").arg(m_innere));
        --m_innere;
        return;
    }
    Execute(QStringLiteral("COMMIT"));
}

void TKADaoDatabase::Rollback()
{
    // The engine may have undone the transaction itself already (after some errors it does).
    if (!InTransaction()) {
        m_innere = 0;
        return;
    }
    if (m_innere > 0) {
        const QString name = QStringLiteral("pv_transaktion_%1").arg(m_innere);
        --m_innere;
        Execute(QStringLiteral("ROLLBACK TO ") + name);
        Execute(QStringLiteral("RELEASE ") + name);
        return;
    }
    Execute(QStringLiteral("ROLLBACK"));
}

bool TKADaoDatabase::InTransaction() const
{
    if (m_server)
        return m_server->inTransaktion();
    return m_handle && !sqlite3_get_autocommit(m_handle);
}

TAenderungsstand TKADaoDatabase::Aenderungsstand()
{
    if (!Connected())
        return {};
    if (m_server)
        return serverStand();
    // The data version moves only with commits of other connections; this connection's own
    // writes show in its count of changed rows, which costs no statement.
    if (!m_datenVersion)
        m_datenVersion = std::make_unique<SqliteAnweisung>(m_handle, m_dateipfad, QStringLiteral("PRAGMA data_version"));
    TAenderungsstand stand;
    stand.oeffnung = m_oeffnung;
    try {
        if (m_datenVersion->schritt())
            stand.fremd = m_datenVersion->wert(0).toLongLong();
    } catch (...) {
        m_datenVersion->zuruecksetzen();
        throw;
    }
    m_datenVersion->zuruecksetzen();
    stand.eigen = sqlite3_total_changes64(m_handle);
    return stand;
}

TAenderungsstand TKADaoDatabase::serverStand()
{
    // Every change of every table raises the one counter, mine included.
    if (!m_serverStand)
        m_serverStand = std::make_unique<Anweisung>(
            Vorbereiten(QStringLiteral("SELECT [stand] FROM [%1]").arg(Schema::serverStandTabelle())));
    TAenderungsstand stand;
    stand.oeffnung = m_oeffnung;
    try {
        if (m_serverStand->schritt())
            stand.fremd = m_serverStand->wert(0).toLongLong();
    } catch (...) {
        m_serverStand->zuruecksetzen();
        throw;
    }
    m_serverStand->zuruecksetzen();
    stand.eigen = 0;
    return stand;
}

void TKADaoDatabase::anmelden(TKADaoTable* tabelle)
{
    if (!m_dataSets.contains(tabelle))
        m_dataSets.append(tabelle);
}

void TKADaoDatabase::abmelden(TKADaoTable* tabelle)
{
    m_dataSets.removeAll(tabelle);
}
