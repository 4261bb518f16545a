#include "SqliteAnweisung.h"

#include "Fehler.h"

#include <QByteArray>
#include <QMetaType>
#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// What a violated rule of the table means for the user; the engine names it in English as
// "UNIQUE constraint failed: Tabelle.Spalte".
QString regelVerletzt(const QString& meldung)
{
    static const QRegularExpression eindeutig(QStringLiteral("^UNIQUE constraint failed: (?:[^.,]+\\.)?([^,]+)"));
    static const QRegularExpression pflicht(QStringLiteral("^NOT NULL constraint failed: (?:[^.]+\\.)?(.+)$"));
    if (const auto treffer = eindeutig.match(meldung); treffer.hasMatch())
        return QStringLiteral("Den Wert von '%1' gibt es schon; die Änderung wurde nicht gespeichert.")
            .arg(treffer.captured(1));
    if (const auto treffer = pflicht.match(meldung); treffer.hasMatch())
        return QStringLiteral("'%1' darf nicht leer sein; die Änderung wurde nicht gespeichert.").arg(treffer.captured(1));
    return QStringLiteral("Die Änderung verletzt eine Regel der Datenbank und wurde nicht gespeichert.");
}

QVariant rohText(QByteArray bytes)
{
    // So that QVariant::toString gives the shown text wherever a value is taken as text.
    static const bool umwandelbar = QMetaType::registerConverter<RohText, QString>(
        [](const RohText& r) { return QString::fromUtf8(r.bytes); });
    Q_UNUSED(umwandelbar);
    return QVariant::fromValue(RohText{std::move(bytes)});
}

// The stored text; invalid UTF-8 as RohText. Decoding replaces each bad sequence with U+FFFD,
// so only a text showing that character needs the exact test.
QVariant textWert(const char* text, int laenge)
{
    QString s = QString::fromUtf8(text, laenge);
    if (s.contains(QChar::ReplacementCharacter)) {
        QByteArray bytes(text, laenge);
        if (s.toUtf8() != bytes)
            return rohText(std::move(bytes));
    }
    return QVariant(std::move(s));
}

} // namespace

QString gesperrtText(bool eingabenBleiben)
{
    return QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer verwendet und ist gesperrt. Bitte "
                          "versuchen Sie es in einem Augenblick noch einmal")
        + (eingabenBleiben ? QStringLiteral("; Ihre Eingaben bleiben erhalten.") : QStringLiteral("."));
}

QString beschaedigtText(const QString& datei)
{
    return QStringLiteral("Die Datenbank '%1' ist beschädigt; bitte die Sicherung zurückspielen.").arg(datei);
}

void sqliteFehlerWerfen(sqlite3* db, int rc, const QString& datei, const QString& sql)
{
    const QString meldung = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    // The engine's own words are English: they go to the log for whoever looks into it, the
    // user reads what they mean.
    qWarning("SQLite %d: %s [%s]%s%s", rc, qUtf8Printable(meldung), qUtf8Printable(datei), sql.isEmpty() ? "" : " ",
             qUtf8Printable(sql));
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatenbankGesperrt(gesperrtText(false));
    case SQLITE_NOTADB:
        throw Fehler(QStringLiteral("Die Datei '%1' ist beschädigt oder keine Projektdatenbank.").arg(datei));
    case SQLITE_CORRUPT:
        throw Fehler(beschaedigtText(datei));
    case SQLITE_READONLY:
        throw Fehler(QStringLiteral("Die Datenbank '%1' ist schreibgeschützt; die Änderung wurde nicht gespeichert.").arg(datei));
    case SQLITE_FULL:
        throw Fehler(QStringLiteral("Der Datenträger der Datenbank '%1' ist voll; die Änderung wurde nicht gespeichert.").arg(datei));
    case SQLITE_IOERR:
        throw Fehler(QStringLiteral("Lese- oder Schreibfehler bei der Datenbank '%1'.").arg(datei));
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        throw Fehler(QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden.").arg(datei));
    case SQLITE_CONSTRAINT:
        // A trigger's RAISE text is the database's own wording, written for its users.
        if (db && sqlite3_extended_errcode(db) == SQLITE_CONSTRAINT_TRIGGER)
            throw Fehler(QStringLiteral("Die Änderung verletzt eine Regel der Datenbank und wurde nicht gespeichert.\n(%1)")
                             .arg(meldung));
        throw Fehler(regelVerletzt(meldung));
    default:
        break;
    }
    static const QRegularExpression keineTabelle(QStringLiteral("^no such table: (?:main\\.)?(.+)$"));
    static const QRegularExpression keineSpalte(QStringLiteral("^no such column: (.+)$"));
    if (const auto treffer = keineTabelle.match(meldung); treffer.hasMatch())
        throw Fehler(QStringLiteral("Die Tabelle oder Abfrage '%1' gibt es in der Datenbank nicht.").arg(treffer.captured(1)));
    if (const auto treffer = keineSpalte.match(meldung); treffer.hasMatch())
        throw Fehler(QStringLiteral("Die Spalte '%1' gibt es in der Datenbank nicht.\n%2").arg(treffer.captured(1), sql));
    if (!sql.isEmpty())
        throw Fehler(QStringLiteral("Die SQL-Anweisung ist fehlerhaft und wurde nicht ausgeführt:\n%1").arg(sql));
    throw Fehler(QStringLiteral("Datenbankfehler (Fehlernummer %1 der Datenbank).").arg(rc));
}

SqliteAnweisung::SqliteAnweisung(sqlite3* db, const QString& datei, const QString& sql)
    : m_db(db)
    , m_datei(datei)
    , m_sql(sql)
{
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        freigeben();
        sqliteFehlerWerfen(db, rc, datei, sql);
    }
    if (!m_stmt)  // only blanks or a comment
        throw Fehler(QStringLiteral("Die SQL-Anweisung ist leer."));
}

SqliteAnweisung::~SqliteAnweisung()
{
    freigeben();
}

SqliteAnweisung::SqliteAnweisung(SqliteAnweisung&& andere) noexcept
    : m_db(andere.m_db)
    , m_stmt(andere.m_stmt)
    , m_datei(std::move(andere.m_datei))
    , m_sql(std::move(andere.m_sql))
{
    andere.m_stmt = nullptr;
}

SqliteAnweisung& SqliteAnweisung::operator=(SqliteAnweisung&& andere) noexcept
{
    if (this != &andere) {
        freigeben();
        m_db = andere.m_db;
        m_stmt = andere.m_stmt;
        m_datei = std::move(andere.m_datei);
        m_sql = std::move(andere.m_sql);
        andere.m_stmt = nullptr;
    }
    return *this;
}

void SqliteAnweisung::freigeben()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

void SqliteAnweisung::binden(int nr, const QVariant& wert)
{
    int rc = SQLITE_OK;
    if (wert.isNull()) {
        rc = sqlite3_bind_null(m_stmt, nr);
    } else if (wert.metaType() == QMetaType::fromType<RohText>()) {
        const QByteArray bytes = wert.value<RohText>().bytes;
        rc = sqlite3_bind_text64(m_stmt, nr, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    } else {
        switch (wert.metaType().id()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, nr, wert.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UInt:
        case QMetaType::Long:
            rc = sqlite3_bind_int64(m_stmt, nr, wert.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, nr, wert.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = wert.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, nr, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = wert.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, nr, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        sqliteFehlerWerfen(m_db, rc, m_datei, m_sql);
}

bool SqliteAnweisung::schritt()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Leave the statement ready for another attempt; the error itself is what the user sees.
    sqlite3_reset(m_stmt);
    sqliteFehlerWerfen(m_db, rc, m_datei, m_sql);
}

void SqliteAnweisung::zuruecksetzen()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int SqliteAnweisung::ausfuehren()
{
    while (schritt()) {
    }
    const int anzahl = sqlite3_changes(m_db);
    sqlite3_reset(m_stmt);
    return anzahl;
}

int SqliteAnweisung::spaltenAnzahl() const
{
    return sqlite3_column_count(m_stmt);
}

QVariant SqliteAnweisung::wert(int spalte) const
{
    switch (sqlite3_column_type(m_stmt, spalte)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, spalte)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, spalte));
    case SQLITE_TEXT: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, spalte));
        return textWert(text, sqlite3_column_bytes(m_stmt, spalte));
    }
    case SQLITE_BLOB: {
        const char* daten = static_cast<const char*>(sqlite3_column_blob(m_stmt, spalte));
        return QVariant(QByteArray(daten, sqlite3_column_bytes(m_stmt, spalte)));
    }
    default:
        return QVariant();
    }
}

namespace {

class SqliteKern : public AnweisungsKern
{
public:
    SqliteKern(sqlite3* db, const QString& datei, const QString& sql)
        : m_db(db)
        , m_anweisung(db, datei, sql)
    {
    }
    void binden(int nr, const QVariant& wert) override { m_anweisung.binden(nr, wert); }
    bool schritt() override { return m_anweisung.schritt(); }
    void zuruecksetzen() override { m_anweisung.zuruecksetzen(); }
    int ausfuehren() override { return m_anweisung.ausfuehren(); }
    int spaltenAnzahl() override { return m_anweisung.spaltenAnzahl(); }
    QVariant wert(int spalte) const override { return m_anweisung.wert(spalte); }
    void zeileBauen(int spalten, Zeilenbau& bau) const override
    {
        // Numbers and well-formed text go into the row as the engine holds them.
        sqlite3_stmt* st = m_anweisung.handle();
        for (int c = 0; c < spalten; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: bau.leer(); break;
            case SQLITE_INTEGER: bau.ganzzahl(sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: bau.gleitkomma(sqlite3_column_double(st, c)); break;
            case SQLITE_TEXT: {
                const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                if (!bau.utf8(text, size_t(sqlite3_column_bytes(st, c))))
                    bau.wert(m_anweisung.wert(c));
                break;
            }
            default: bau.wert(m_anweisung.wert(c)); break;
            }
        }
    }
    Spaltenkatalog katalog(const QString& sql) override { return Spaltenkatalog::lesen(m_db, m_anweisung.handle(), sql); }

private:
    sqlite3* m_db;
    SqliteAnweisung m_anweisung;
};

} // namespace

std::unique_ptr<AnweisungsKern> sqliteKern(sqlite3* db, const QString& datei, const QString& sql)
{
    return std::make_unique<SqliteKern>(db, datei, sql);
}
