#include "PostgresVerbindung.h"

#include "Fehler.h"
#include "Schema.h"
#include "SqlText.h"
#include "SqliteAnweisung.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <charconv>
#include <libpq-fe.h>

namespace {

// Type numbers of the server's built-in types.
enum : Oid {
    TypBool = 16,
    TypBytes = 17,
    TypInt8 = 20,
    TypInt2 = 21,
    TypInt4 = 23,
    TypOid = 26,
    TypFloat4 = 700,
    TypFloat8 = 701,
    TypDate = 1082,
    TypTimestamp = 1114,
    TypTimestampTz = 1184,
    TypNumeric = 1700,
};

QString nachricht(const PGresult* ergebnis, int feld)
{
    const char* text = ergebnis ? PQresultErrorField(ergebnis, feld) : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

// A value from its text form, typed as the file engine would hand it out (numbers as 64-bit
// integers or doubles), dates as dates.
QVariant wertAusText(const char* text, int laenge, Oid typ)
{
    const QByteArray bytes = QByteArray::fromRawData(text, laenge);
    switch (typ) {
    case TypBool: return QVariant(qlonglong(laenge > 0 && text[0] == 't' ? 1 : 0));
    case TypInt2:
    case TypInt4:
    case TypInt8:
    case TypOid: return QVariant(bytes.toLongLong());
    case TypFloat4:
    case TypFloat8:
    case TypNumeric: return QVariant(bytes.toDouble());
    case TypDate: {
        const QDate tag = QDate::fromString(QString::fromLatin1(bytes), Qt::ISODate);
        return tag.isValid() ? QVariant(tag) : QVariant(QString::fromLatin1(bytes));
    }
    case TypTimestamp:
    case TypTimestampTz: {
        // "2024-06-03 10:15:00.123456": Qt reads at most milliseconds.
        QString s = QString::fromLatin1(bytes).left(23);
        s[10] = QLatin1Char('T');
        const QDateTime zeit = QDateTime::fromString(s, Qt::ISODateWithMs);
        return zeit.isValid() ? QVariant(zeit) : QVariant(QString::fromLatin1(bytes));
    }
    case TypBytes: return QVariant(QByteArray::fromHex(bytes.mid(2)));
    default: return QVariant(QString::fromUtf8(text, laenge));
    }
}

// The types wertAusText reads as text.
bool alsText(Oid typ)
{
    switch (typ) {
    case TypBool:
    case TypInt2:
    case TypInt4:
    case TypInt8:
    case TypOid:
    case TypFloat4:
    case TypFloat8:
    case TypNumeric:
    case TypDate:
    case TypTimestamp:
    case TypTimestampTz:
    case TypBytes: return false;
    default: return true;
    }
}

TFieldType feldTypAusServerTyp(Oid typ)
{
    switch (typ) {
    case TypBool: return TFieldType::ftBoolean;
    case TypInt2: return TFieldType::ftSmallint;
    case TypInt4:
    case TypInt8:
    case TypOid: return TFieldType::ftInteger;
    case TypFloat4:
    case TypFloat8:
    case TypNumeric: return TFieldType::ftFloat;
    case TypDate: return TFieldType::ftDate;
    case TypTimestamp:
    case TypTimestampTz: return TFieldType::ftDateTime;
    case TypBytes: return TFieldType::ftBlob;
    default: return TFieldType::ftMemo;
    }
}

// A parameter in the text form the server reads; null for SQL NULL.
std::optional<QByteArray> parameterText(const QVariant& wert, bool& binaer)
{
    binaer = false;
    if (wert.isNull())
        return std::nullopt;
    if (wert.metaType() == QMetaType::fromType<RohText>())
        return wert.value<RohText>().bytes;
    switch (wert.metaType().id()) {
    case QMetaType::Bool: return QByteArray(wert.toBool() ? "1" : "0");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Long: return QByteArray::number(wert.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QByteArray::number(wert.toDouble(), 'g', 17);
    case QMetaType::QDate: return wert.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime: return wert.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    case QMetaType::QByteArray: binaer = true; return wert.toByteArray();
    default: return wert.toString().toUtf8();
    }
}

class PostgresKern : public AnweisungsKern
{
public:
    PostgresKern(PostgresVerbindung& verbindung, const QString& sql)
        : m_verbindung(verbindung)
        , m_sql(sql)
        , m_serverSql(SqlText::fuerServer(sql).toUtf8())
    {
        if (sql.trimmed().isEmpty())
            throw Fehler(QStringLiteral("Die SQL-Anweisung ist leer."));
    }
    ~PostgresKern() override
    {
        ergebnisFreigeben();
        if (!m_name.isEmpty())
            m_verbindung.freigeben(m_name, m_generation);
    }

    void binden(int nr, const QVariant& wert) override
    {
        if (nr < 1)
            return;
        if (m_werte.size() < size_t(nr)) {
            m_werte.resize(size_t(nr));
            m_binaer.resize(size_t(nr));
        }
        bool binaer = false;
        m_werte[size_t(nr - 1)] = parameterText(wert, binaer);
        m_binaer[size_t(nr - 1)] = binaer ? 1 : 0;
    }

    bool schritt() override
    {
        if (!m_ergebnis) {
            m_ergebnis = laufen();
            m_zeilen = PQntuples(m_ergebnis);
            m_zeile = -1;
        }
        if (m_zeile + 1 < m_zeilen) {
            ++m_zeile;
            return true;
        }
        m_zeile = m_zeilen;
        return false;
    }

    void zuruecksetzen() override
    {
        ergebnisFreigeben();
        m_werte.clear();
        m_binaer.clear();
    }

    int ausfuehren() override
    {
        ergebnisFreigeben();
        PGresult* ergebnis = laufen();
        const int anzahl = QByteArray(PQcmdTuples(ergebnis)).toInt();
        PQclear(ergebnis);
        return anzahl;
    }

    int spaltenAnzahl() override
    {
        if (m_ergebnis)
            return PQnfields(m_ergebnis);
        PGresult* beschreibung = m_verbindung.beschreiben(m_serverSql, m_sql);
        const int anzahl = PQnfields(beschreibung);
        PQclear(beschreibung);
        return anzahl;
    }

    QVariant wert(int spalte) const override
    {
        if (!m_ergebnis || m_zeile < 0 || m_zeile >= m_zeilen || spalte < 0 || spalte >= PQnfields(m_ergebnis)
            || PQgetisnull(m_ergebnis, m_zeile, spalte))
            return QVariant();
        return wertAusText(PQgetvalue(m_ergebnis, m_zeile, spalte), PQgetlength(m_ergebnis, m_zeile, spalte),
                           PQftype(m_ergebnis, spalte));
    }

    void zeileBauen(int spalten, Zeilenbau& bau) const override
    {
        if (!m_ergebnis || m_zeile < 0 || m_zeile >= m_zeilen || spalten > PQnfields(m_ergebnis)) {
            AnweisungsKern::zeileBauen(spalten, bau);
            return;
        }
        // Text goes into the row as the server sends it (UTF-8), whole numbers without a detour.
        for (int c = 0; c < spalten; ++c) {
            if (PQgetisnull(m_ergebnis, m_zeile, c)) {
                bau.leer();
                continue;
            }
            const char* text = PQgetvalue(m_ergebnis, m_zeile, c);
            const int laenge = PQgetlength(m_ergebnis, m_zeile, c);
            const Oid typ = PQftype(m_ergebnis, c);
            qint64 zahl = 0;
            if ((typ == TypInt2 || typ == TypInt4 || typ == TypInt8)
                && std::from_chars(text, text + laenge, zahl).ptr == text + laenge)
                bau.ganzzahl(zahl);
            else if (!alsText(typ) || !bau.utf8(text, size_t(laenge)))
                bau.wert(wertAusText(text, laenge, typ));
        }
    }

    Spaltenkatalog katalog(const QString& sql) override
    {
        PGresult* beschreibung = m_verbindung.beschreiben(m_serverSql, m_sql);
        std::vector<Spaltenkatalog::Herkunft> spalten(size_t(PQnfields(beschreibung)));
        try {
            for (int i = 0; i < int(spalten.size()); ++i) {
                Spaltenkatalog::Herkunft& h = spalten[size_t(i)];
                h.name = Schema::schreibweise(QString::fromUtf8(PQfname(beschreibung, i)));
                const Oid tabelle = PQftable(beschreibung, i);
                if (tabelle != InvalidOid)
                    h.tabelle = m_verbindung.tabellenName(tabelle);
                if (!h.tabelle.isEmpty())
                    h.herkunft = m_verbindung.spaltenName(tabelle, PQftablecol(beschreibung, i));
                // The server knows no widths of its text columns and no yes/no kept as a
                // number: the schema says what the column is.
                if (const Schema::Spalte* s = h.tabelle.isEmpty() ? nullptr : Schema::tabellenSpalte(h.tabelle, h.herkunft)) {
                    h.typ = s->typ == TFieldType::ftAutoInc ? TFieldType::ftInteger : s->typ;
                    h.breite = s->breite;
                    h.schluessel = s->typ == TFieldType::ftAutoInc;
                } else if (!h.tabelle.isEmpty() || !Schema::abfrageSpalte(h.name)) {
                    h.typ = feldTypAusServerTyp(PQftype(beschreibung, i));
                }
            }
        } catch (...) {
            PQclear(beschreibung);
            throw;
        }
        PQclear(beschreibung);
        return Spaltenkatalog::aus(std::move(spalten), sql);
    }

private:
    // A statement run a second time is prepared on the server under a name, so that it is
    // neither parsed nor planned again (a dataset's query, the wall screen's look).
    PGresult* laufen()
    {
        m_verbindung.bereitMachen();
        if (m_name.isEmpty() || m_generation != m_verbindung.generation()) {
            m_name.clear();
            if (++m_laeufe < 2)
                return m_verbindung.ausfuehren(m_serverSql, m_werte, m_binaer, m_sql);
            m_name = m_verbindung.vorbereiten(m_serverSql, m_sql);
            m_generation = m_verbindung.generation();
        }
        return m_verbindung.ausfuehrenVorbereitet(m_name, m_werte, m_binaer, m_sql);
    }

    void ergebnisFreigeben()
    {
        if (m_ergebnis)
            PQclear(m_ergebnis);
        m_ergebnis = nullptr;
        m_zeilen = 0;
        m_zeile = -1;
    }

    PostgresVerbindung& m_verbindung;
    QString m_sql;
    QByteArray m_serverSql;
    std::vector<std::optional<QByteArray>> m_werte;
    std::vector<int> m_binaer;
    PGresult* m_ergebnis = nullptr;
    int m_zeilen = 0;
    int m_zeile = -1;
    int m_laeufe = 0;
    QByteArray m_name;         // prepared on the server under this name
    quint64 m_generation = 0;  // of the connection it was prepared on
};

// The parameters as the client library takes them: pointers to the texts (null for NULL) and
// their lengths.
struct Parameter
{
    explicit Parameter(const std::vector<std::optional<QByteArray>>& werte)
        : zeiger(werte.size())
        , laengen(werte.size())
    {
        for (size_t i = 0; i < werte.size(); ++i) {
            zeiger[i] = werte[i] ? werte[i]->constData() : nullptr;
            laengen[i] = werte[i] ? int(werte[i]->size()) : 0;
        }
    }
    std::vector<const char*> zeiger;
    std::vector<int> laengen;
};

bool steuertTransaktion(const QByteArray& sql)
{
    const QByteArray anfang = sql.trimmed();
    const qsizetype ende = anfang.indexOf(' ');
    const QByteArray wort = (ende < 0 ? anfang : anfang.left(ende)).toUpper();
    for (const char* steuer : {"BEGIN", "START", "COMMIT", "END", "ROLLBACK", "ABORT", "SAVEPOINT", "RELEASE"})
        if (wort == steuer)
            return true;
    return false;
}

QString unterbrochenText(const Serveradresse& adresse)
{
    return QStringLiteral("Die Verbindung zum Datenbankserver (%1) ist unterbrochen. Sie wird beim nächsten Schritt "
                          "neu aufgebaut; bitte versuchen Sie es gleich noch einmal.")
        .arg(adresse.anzeige());
}

} // namespace

PostgresVerbindung::PostgresVerbindung(Serveradresse adresse, int wartezeitMs)
    : m_adresse(std::move(adresse))
    , m_wartezeit(wartezeitMs)
{
    static int zaehler = 0;
    m_verbindungsName = QStringLiteral("PostgresVerbindung-%1").arg(++zaehler);
    QString grund;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_verbindungsName);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_verbindungsName);
            throw Fehler(QStringLiteral("Der Datenbanktreiber QPSQL fehlt (Debian-Paket libqt6sql6-psql)."));
        }
        if (!m_adresse.host.isEmpty())
            db.setHostName(m_adresse.host);
        db.setPort(m_adresse.port);
        db.setDatabaseName(m_adresse.name);
        if (!m_adresse.benutzer.isEmpty())
            db.setUserName(m_adresse.benutzer);
        db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=Projektverwaltung"));
        if (db.open()) {
            const QVariant handle = db.driver()->handle();
            if (handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0))
                m_conn = *static_cast<PGconn* const*>(handle.constData());
        } else {
            grund = db.lastError().databaseText() + QLatin1Char(' ') + db.lastError().driverText();
        }
    }
    if (!m_conn) {
        QSqlDatabase::removeDatabase(m_verbindungsName);
        qWarning("PostgreSQL: %s [%s]", qUtf8Printable(grund), qUtf8Printable(m_adresse.anzeige()));
        if (grund.contains(QLatin1String("does not exist")) && grund.contains(QLatin1String("database")))
            throw Fehler(QStringLiteral("Die Datenbank '%1' gibt es auf dem Datenbankserver %2 nicht. Das "
                                        "Datenbankwerkzeug legt sie an: pvdatenbank --server %3")
                             .arg(m_adresse.name, m_adresse.host.isEmpty() ? QStringLiteral("localhost") : m_adresse.host,
                                  m_adresse.text()));
        if (grund.contains(QLatin1String("password")) || grund.contains(QLatin1String("authentication")))
            throw Fehler(QStringLiteral("Der Datenbankserver (%1) hat die Anmeldung als '%2' abgelehnt. Das Kennwort "
                                        "steht in der Datei ~/.pgpass oder in der Umgebungsvariablen PGPASSWORD.")
                             .arg(m_adresse.anzeige(), m_adresse.benutzer.isEmpty() ? qEnvironmentVariable("USER")
                                                                                    : m_adresse.benutzer));
        throw Fehler(QStringLiteral("Der Datenbankserver (%1) ist nicht erreichbar. Bitte prüfen Sie, ob der Server "
                                    "läuft und die Angaben im Abschnitt [Datenbank] der PROJEKT.INI stimmen.")
                         .arg(m_adresse.anzeige()));
    }
    try {
        sitzungEinrichten();
    } catch (...) {
        m_conn = nullptr;
        QSqlDatabase::removeDatabase(m_verbindungsName);
        throw;
    }
}

PostgresVerbindung::~PostgresVerbindung()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_verbindungsName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_verbindungsName);
}

void PostgresVerbindung::sitzungEinrichten()
{
    // Dates in ISO form, texts in UTF-8, and a lock of another PC waited for only so long.
    PGresult* r = PQexec(m_conn, QStringLiteral("SET client_encoding TO 'UTF8'; SET datestyle TO 'ISO'; "
                                                "SET lock_timeout = %1")
                                     .arg(qMax(0, m_wartezeit))
                                     .toUtf8()
                                     .constData());
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fehlerWerfen(r, QStringLiteral("SET"));
    PQclear(r);
}

void PostgresVerbindung::roh(const QByteArray& sql)
{
    bereitMachen();
    PGresult* r = PQexec(m_conn, sql.constData());
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
        fehlerWerfen(r, QString::fromUtf8(sql));
    PQclear(r);
}

void PostgresVerbindung::setWartezeit(int ms)
{
    m_wartezeit = ms;
    if (PQstatus(m_conn) == CONNECTION_OK)
        sitzungEinrichten();
}

void PostgresVerbindung::bereitMachen()
{
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    // The connection was lost (and said so): a new one, with the session as it was.
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        qWarning("PostgreSQL: %s [%s]", PQerrorMessage(m_conn), qUtf8Printable(m_adresse.anzeige()));
        throw Fehler(QStringLiteral("Der Datenbankserver (%1) ist nicht erreichbar. Bitte versuchen Sie es später "
                                    "noch einmal.")
                         .arg(m_adresse.anzeige()));
    }
    m_tabellen.clear();
    m_spalten.clear();
    m_freizugeben.clear();
    ++m_generation;
    sitzungEinrichten();
}

bool PostgresVerbindung::inTransaktion() const
{
    const PGTransactionStatusType stand = PQtransactionStatus(m_conn);
    return stand == PQTRANS_INTRANS || stand == PQTRANS_INERROR || stand == PQTRANS_ACTIVE;
}

std::unique_ptr<AnweisungsKern> PostgresVerbindung::kern(const QString& sql)
{
    return std::make_unique<PostgresKern>(*this, sql);
}

int PostgresVerbindung::ausfuehren(const QString& sql)
{
    PGresult* r = ausfuehren(SqlText::fuerServer(sql).toUtf8(), {}, {}, sql);
    const int anzahl = QByteArray(PQcmdTuples(r)).toInt();
    PQclear(r);
    return anzahl;
}

PGresult* PostgresVerbindung::ausfuehren(const QByteArray& serverSql, const std::vector<std::optional<QByteArray>>& werte,
                                         const std::vector<int>& binaer, const QString& sql)
{
    bereitMachen();
    if (m_mitschrift)
        m_mitschrift(sql);
    const Parameter p(werte);
    const bool geschuetzt = schuetzen(serverSql);
    PGresult* r = PQexecParams(m_conn, serverSql.constData(), int(werte.size()), nullptr, p.zeiger.data(), p.laengen.data(),
                               binaer.empty() ? nullptr : binaer.data(), 0);
    return ergebnisPruefen(r, geschuetzt, sql);
}

bool PostgresVerbindung::schuetzen(const QByteArray& serverSql)
{
    // Statements given up wait for this moment, so giving them up costs no round trip of its own.
    if (!m_freizugeben.isEmpty() && PQtransactionStatus(m_conn) == PQTRANS_IDLE) {
        QByteArray text;
        for (const QByteArray& name : std::as_const(m_freizugeben))
            text += "DEALLOCATE " + name + ';';
        m_freizugeben.clear();
        PQclear(PQexec(m_conn, text.constData()));
    }
    // Inside a transaction a failed statement leaves the transaction usable, as with the file:
    // the server would otherwise refuse everything up to the rollback.
    const bool geschuetzt = PQtransactionStatus(m_conn) == PQTRANS_INTRANS && !steuertTransaktion(serverSql);
    if (geschuetzt)
        PQclear(PQexec(m_conn, "SAVEPOINT pv_anweisung"));
    return geschuetzt;
}

PGresult* PostgresVerbindung::ergebnisPruefen(PGresult* r, bool geschuetzt, const QString& sql)
{
    const ExecStatusType stand = PQresultStatus(r);
    if (stand != PGRES_COMMAND_OK && stand != PGRES_TUPLES_OK && stand != PGRES_EMPTY_QUERY) {
        if (geschuetzt && PQstatus(m_conn) == CONNECTION_OK)
            PQclear(PQexec(m_conn, "ROLLBACK TO SAVEPOINT pv_anweisung; RELEASE SAVEPOINT pv_anweisung"));
        fehlerWerfen(r, sql);
    }
    if (geschuetzt)
        PQclear(PQexec(m_conn, "RELEASE SAVEPOINT pv_anweisung"));
    return r;
}

QByteArray PostgresVerbindung::vorbereiten(const QByteArray& serverSql, const QString& sql)
{
    bereitMachen();
    const QByteArray name = "pv_" + QByteArray::number(++m_vorbereitet);
    PGresult* r = PQprepare(m_conn, name.constData(), serverSql.constData(), 0, nullptr);
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fehlerWerfen(r, sql);
    PQclear(r);
    return name;
}

PGresult* PostgresVerbindung::ausfuehrenVorbereitet(const QByteArray& name, const std::vector<std::optional<QByteArray>>& werte,
                                                    const std::vector<int>& binaer, const QString& sql)
{
    bereitMachen();
    if (m_mitschrift)
        m_mitschrift(sql);
    const Parameter p(werte);
    const bool geschuetzt = schuetzen(QByteArray());
    PGresult* r = PQexecPrepared(m_conn, name.constData(), int(werte.size()), p.zeiger.data(), p.laengen.data(),
                                 binaer.empty() ? nullptr : binaer.data(), 0);
    return ergebnisPruefen(r, geschuetzt, sql);
}

void PostgresVerbindung::freigeben(const QByteArray& name, quint64 generation)
{
    if (generation == m_generation)
        m_freizugeben << name;
}

PGresult* PostgresVerbindung::beschreiben(const QByteArray& serverSql, const QString& sql)
{
    bereitMachen();
    if (m_mitschrift)
        m_mitschrift(sql);
    PGresult* r = PQprepare(m_conn, "", serverSql.constData(), 0, nullptr);
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fehlerWerfen(r, sql);
    PQclear(r);
    r = PQdescribePrepared(m_conn, "");
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fehlerWerfen(r, sql);
    return r;
}

QString PostgresVerbindung::einfacherWert(const QString& sql, const QByteArray& parameter1, const QByteArray& parameter2)
{
    std::vector<std::optional<QByteArray>> werte{parameter1};
    if (!parameter2.isNull())
        werte.emplace_back(parameter2);
    PGresult* r = ausfuehren(sql.toUtf8(), werte, {}, sql);
    const QString wert = PQntuples(r) > 0 ? QString::fromUtf8(PQgetvalue(r, 0, 0)) : QString();
    PQclear(r);
    return wert;
}

QString PostgresVerbindung::tabellenName(unsigned int oid)
{
    auto it = m_tabellen.constFind(oid);
    if (it == m_tabellen.constEnd()) {
        // Only a table's rows can be written back; a view's columns count as computed.
        const QString name = einfacherWert(
            QStringLiteral("SELECT relname FROM pg_class WHERE oid = $1 AND relkind IN ('r', 'p')"), QByteArray::number(oid));
        it = m_tabellen.insert(oid, name.isEmpty() ? QString() : Schema::schreibweise(name));
    }
    return *it;
}

QString PostgresVerbindung::spaltenName(unsigned int oid, int nr)
{
    const QPair<unsigned int, int> schluessel(oid, nr);
    auto it = m_spalten.constFind(schluessel);
    if (it == m_spalten.constEnd()) {
        const QString name = einfacherWert(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = $1 AND attnum = $2"),
                                           QByteArray::number(oid), QByteArray::number(nr));
        it = m_spalten.insert(schluessel, Schema::schreibweise(name));
    }
    return *it;
}

void PostgresVerbindung::fehlerWerfen(PGresult* ergebnis, const QString& sql)
{
    const QString zustand = nachricht(ergebnis, PG_DIAG_SQLSTATE);
    const QString meldung = ergebnis ? QString::fromUtf8(PQresultErrorMessage(ergebnis)).trimmed()
                                     : QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    const QString spalte = nachricht(ergebnis, PG_DIAG_COLUMN_NAME);
    const QString detail = nachricht(ergebnis, PG_DIAG_MESSAGE_DETAIL);
    const QString primaer = nachricht(ergebnis, PG_DIAG_MESSAGE_PRIMARY);
    PQclear(ergebnis);
    // The server's words are English: they go to the log, the user reads what they mean.
    qWarning("PostgreSQL %s: %s [%s] %s", qUtf8Printable(zustand), qUtf8Printable(meldung),
             qUtf8Printable(m_adresse.anzeige()), qUtf8Printable(sql));
    if (PQstatus(m_conn) != CONNECTION_OK || zustand.startsWith(QLatin1String("08")) || zustand.startsWith(QLatin1String("57P")))
        throw Fehler(unterbrochenText(m_adresse));
    if (zustand == QLatin1String("55P03") || zustand == QLatin1String("40P01") || zustand == QLatin1String("40001"))
        throw DatenbankGesperrt(gesperrtText(false));
    if (zustand == QLatin1String("23505")) {
        static const QRegularExpression schluessel(QStringLiteral("^Key \\(([^)]+)\\)"));
        const auto treffer = schluessel.match(detail);
        throw Fehler(QStringLiteral("Den Wert von '%1' gibt es schon; die Änderung wurde nicht gespeichert.")
                         .arg(Schema::schreibweise(treffer.hasMatch() ? treffer.captured(1) : spalte)));
    }
    if (zustand == QLatin1String("23502"))
        throw Fehler(QStringLiteral("'%1' darf nicht leer sein; die Änderung wurde nicht gespeichert.")
                         .arg(Schema::schreibweise(spalte)));
    // A rule of the database's own (a trigger) says in its words why, written for its users.
    if (zustand == QLatin1String("P0001"))
        throw Fehler(QStringLiteral("Die Änderung verletzt eine Regel der Datenbank und wurde nicht gespeichert.\n(%1)")
                         .arg(primaer));
    if (zustand.startsWith(QLatin1String("23")) || zustand == QLatin1String("22001"))
        throw Fehler(QStringLiteral("Die Änderung verletzt eine Regel der Datenbank und wurde nicht gespeichert."));
    if (zustand == QLatin1String("25006"))
        throw Fehler(QStringLiteral("Die Datenbank (%1) ist schreibgeschützt; die Änderung wurde nicht gespeichert.")
                         .arg(m_adresse.anzeige()));
    if (zustand == QLatin1String("42501"))
        throw Fehler(QStringLiteral("Der Datenbankserver (%1) erlaubt dem Benutzer diese Änderung nicht; sie wurde nicht "
                                    "gespeichert.")
                         .arg(m_adresse.anzeige()));
    if (zustand == QLatin1String("53100"))
        throw Fehler(QStringLiteral("Der Datenträger des Datenbankservers (%1) ist voll; die Änderung wurde nicht "
                                    "gespeichert.")
                         .arg(m_adresse.anzeige()));
    // The name as the statement spells it (the server reports it in lower case).
    const auto wieGeschrieben = [&sql](const QString& name) {
        const QString bekannt = Schema::schreibweise(name);
        if (bekannt != name)
            return bekannt;
        const qsizetype stelle = sql.indexOf(name, 0, Qt::CaseInsensitive);
        return stelle < 0 ? name : sql.mid(stelle, name.size());
    };
    static const QRegularExpression keineTabelle(QStringLiteral("relation \"([^\"]+)\" does not exist"));
    static const QRegularExpression keineSpalte(QStringLiteral("column \"?([^\" ]+)\"? does not exist"));
    if (const auto treffer = keineTabelle.match(meldung); zustand == QLatin1String("42P01") && treffer.hasMatch())
        throw Fehler(QStringLiteral("Die Tabelle oder Abfrage '%1' gibt es in der Datenbank nicht.")
                         .arg(wieGeschrieben(treffer.captured(1))));
    if (const auto treffer = keineSpalte.match(meldung); zustand == QLatin1String("42703") && treffer.hasMatch())
        throw Fehler(QStringLiteral("Die Spalte '%1' gibt es in der Datenbank nicht.\n%2")
                         .arg(wieGeschrieben(treffer.captured(1).section(QLatin1Char('.'), -1)), sql));
    if (zustand.startsWith(QLatin1String("42")) || zustand.startsWith(QLatin1String("22")))
        throw Fehler(QStringLiteral("Die SQL-Anweisung ist fehlerhaft und wurde nicht ausgeführt:\n%1").arg(sql));
    throw Fehler(QStringLiteral("Datenbankfehler (Fehlernummer %1 des Datenbankservers).").arg(zustand));
}
