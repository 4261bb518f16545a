#include "JetDatei.h"

#include "Fehler.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include <mdbtools.h>

namespace Altdaten {

namespace {

QString anzeigePfad(const QString& pfad)
{
    return QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
}

// Day numbers count from 30.12.1899; before that day the whole days count down while the
// fraction (the time of day) still counts forward.
QVariant ausTagen(double tage)
{
    // 1.1.100 to 31.12.9999: what the engine itself accepts.
    if (!std::isfinite(tage) || tage < -657434.0 || tage >= 2958466.0)
        return QVariant(tage);
    const double ganz = std::trunc(tage);
    qint64 ms = std::llround(std::fabs(tage - ganz) * 86400000.0);
    // Whole seconds: the engine keeps no less, the double adds noise below them.
    ms = (ms + 500) / 1000 * 1000;
    // A calendar value without a zone: kept in UTC, so that no time-zone rule shifts it (and no
    // look-up of the local zone is paid for each value).
    return QVariant(QDateTime(QDate(1899, 12, 30).addDays(qint64(ganz)), QTime(0, 0), Qt::UTC).addMSecs(ms));
}

template<typename T>
T lesen(const MdbField& feld)
{
    T wert;
    std::memcpy(&wert, feld.value, sizeof(T));
    return qFromLittleEndian(wert);
}

QString alsText(MdbHandle* mdb, const MdbField& feld, int typ)
{
    char* text = mdb_col_to_string(mdb, mdb->pg_buf, feld.start, typ, feld.siz);
    const QString ergebnis = QString::fromUtf8(text ? text : "");
    g_free(text);
    return ergebnis;
}

} // namespace

QString typName(int typ)
{
    switch (typ) {
    case MDB_BOOL: return QStringLiteral("Ja/Nein");
    case MDB_BYTE: return QStringLiteral("Byte");
    case MDB_INT: return QStringLiteral("Integer");
    case MDB_LONGINT: return QStringLiteral("Long");
    case MDB_MONEY: return QStringLiteral("Währung");
    case MDB_FLOAT: return QStringLiteral("Single");
    case MDB_DOUBLE: return QStringLiteral("Double");
    case MDB_DATETIME: return QStringLiteral("Datum/Uhrzeit");
    case MDB_BINARY: return QStringLiteral("Binär");
    case MDB_TEXT: return QStringLiteral("Text");
    case MDB_OLE: return QStringLiteral("OLE-Objekt");
    case MDB_MEMO: return QStringLiteral("Memo");
    case MDB_REPID: return QStringLiteral("Replikations-ID");
    case MDB_NUMERIC: return QStringLiteral("Dezimal");
    default: return QStringLiteral("Typ %1").arg(typ);
    }
}

struct JetDatei::Handle
{
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

struct JetTabelle::Lesestand
{
    MdbHandle* mdb = nullptr;
    MdbTableDef* tabelle = nullptr;
    std::vector<MdbField> felder;
    ~Lesestand()
    {
        if (tabelle)
            mdb_free_tabledef(tabelle);
    }
};

bool JetDatei::istJetDatei(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    const QByteArray kopf = datei.read(19);
    return kopf.size() == 19 && kopf.startsWith(QByteArray("\x00\x01\x00\x00", 4))
        && (kopf.mid(4) == "Standard Jet DB" || kopf.mid(4) == "Standard ACE DB");
}

JetDatei::JetDatei(const QString& pfad)
    : m_handle(std::make_unique<Handle>()), m_anzeige(anzeigePfad(pfad))
{
    const QFileInfo info(pfad);
    if (!info.isFile())
        throw Fehler(QStringLiteral("Die Access-Datenbank '%1' wurde nicht gefunden.").arg(m_anzeige));
    if (!istJetDatei(pfad))
        throw Fehler(QStringLiteral("Die Datei '%1' ist keine Access-Datenbank.").arg(m_anzeige));
    m_handle->mdb = mdb_open(QFile::encodeName(info.absoluteFilePath()).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        throw Fehler(QStringLiteral("Die Access-Datenbank '%1' kann nicht gelesen werden (beschädigt oder unvollständig).")
                         .arg(m_anzeige));
    MdbHandle* mdb = m_handle->mdb;
    // A file of whole pages, at least the head and the catalogue: a cut copy shows here.
    const qint64 seite = mdb->fmt->pg_size;
    if (info.size() < 3 * seite || info.size() % seite != 0)
        throw Fehler(QStringLiteral("Die Access-Datenbank '%1' ist unvollständig (die Datei endet mitten in einer Seite). "
                                    "Bitte eine vollständige Kopie verwenden.")
                         .arg(m_anzeige));
    // Jet 3 stores texts in the code page of the Windows that wrote them (Windows-1252 for
    // German installations, what libmdb assumes); the file names it in its head.
    const int codepage = mdb->f->code_page;
    if (mdb->f->jet_version == MDB_VER_JET3 && codepage != 0 && codepage != 1252) {
        const QByteArray vorher = qgetenv("MDB_JET3_CHARSET");
        qputenv("MDB_JET3_CHARSET", "CP" + QByteArray::number(codepage));
        mdb_iconv_close(mdb);
        mdb_iconv_init(mdb);
        if (vorher.isNull())
            qunsetenv("MDB_JET3_CHARSET");
        else
            qputenv("MDB_JET3_CHARSET", vorher);
    }
    if (mdb->f->db_key != 0)
        throw Fehler(QStringLiteral("Die Access-Datenbank '%1' ist verschlüsselt und kann nicht gelesen werden.").arg(m_anzeige));
    // Every Jet file lists at least its own system tables; an empty list means the catalogue
    // could not be read.
    if (!mdb_read_catalog(mdb, MDB_TABLE) || mdb->num_catalog == 0)
        throw Fehler(QStringLiteral("Das Inhaltsverzeichnis der Access-Datenbank '%1' ist nicht lesbar (Datei beschädigt).")
                         .arg(m_anzeige));
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        const auto* eintrag = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (mdb_is_user_table(const_cast<MdbCatalogEntry*>(eintrag)))
            m_tabellen << QString::fromUtf8(eintrag->object_name);
    }
}

JetDatei::~JetDatei() = default;

QString JetDatei::format() const
{
    switch (m_handle->mdb->f->jet_version) {
    case MDB_VER_JET3: return QStringLiteral("Access 97 (Jet 3)");
    case MDB_VER_JET4: return QStringLiteral("Access 2000–2003 (Jet 4)");
    default: return QStringLiteral("Access 2007 oder neuer");
    }
}

std::unique_ptr<JetTabelle> JetDatei::tabelle(const QString& name) const
{
    MdbHandle* mdb = m_handle->mdb;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* eintrag = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!mdb_is_user_table(eintrag) || QString::fromUtf8(eintrag->object_name).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        auto stand = std::make_unique<JetTabelle::Lesestand>();
        stand->mdb = mdb;
        stand->tabelle = mdb_read_table(eintrag);
        if (!stand->tabelle || !mdb_read_columns(stand->tabelle))
            throw Fehler(QStringLiteral("Die Tabelle '%1' der Access-Datenbank '%2' ist nicht lesbar (Datei beschädigt).")
                             .arg(name, m_anzeige));
        return std::unique_ptr<JetTabelle>(new JetTabelle(std::move(stand), m_anzeige));
    }
    return nullptr;
}

JetTabelle::JetTabelle(std::unique_ptr<Lesestand> stand, const QString& datei)
    : m_stand(std::move(stand)), m_datei(datei)
{
    MdbTableDef* t = m_stand->tabelle;
    m_name = QString::fromUtf8(t->name);
    m_erwartet = t->num_rows;
    for (unsigned int i = 0; i < t->num_cols; ++i) {
        const auto* spalte = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        JetSpalte s;
        s.name = QString::fromUtf8(spalte->name);
        s.typ = spalte->col_type;
        // Jet 4 counts text widths in bytes of UTF-16.
        s.laenge = spalte->col_type == MDB_TEXT ? (m_stand->mdb->f->jet_version == MDB_VER_JET3 ? spalte->col_size : spalte->col_size / 2) : 0;
        m_spalten.push_back(s);
    }
    m_stand->felder.resize(std::max<size_t>(t->num_cols, 1));
    mdb_rewind_table(t);
}

JetTabelle::~JetTabelle() = default;

bool JetTabelle::naechsteZeile(QVariantList& werte)
{
    MdbTableDef* t = m_stand->tabelle;
    MdbHandle* mdb = m_stand->mdb;
    if (!mdb_fetch_row(t)) {
        if (m_gelesen < m_erwartet)
            throw Fehler(QStringLiteral("Die Access-Datenbank '%1' ist beschädigt oder unvollständig: von der Tabelle '%2' "
                                        "sind nur %3 von %4 Zeilen lesbar.")
                             .arg(m_datei, m_name)
                             .arg(m_gelesen)
                             .arg(m_erwartet));
        return false;
    }
    ++m_gelesen;
    // The row just fetched is the one before the table's row counter, on the page in the buffer.
    int anfang = 0;
    size_t laenge = 0;
    if (mdb_find_row(mdb, int(t->cur_row) - 1, &anfang, &laenge) != 0)
        throw Fehler(QStringLiteral("Eine Zeile der Tabelle '%1' in '%2' ist nicht lesbar (Datei beschädigt).").arg(m_name, m_datei));
    MdbField* felder = m_stand->felder.data();
    if (mdb_crack_row(t, anfang & 0x1FFF, laenge, felder) <= 0)
        throw Fehler(QStringLiteral("Eine Zeile der Tabelle '%1' in '%2' ist nicht lesbar (Datei beschädigt).").arg(m_name, m_datei));

    werte.clear();
    werte.reserve(int(t->num_cols));
    for (unsigned int i = 0; i < t->num_cols; ++i) {
        const MdbField& feld = felder[i];
        const int typ = m_spalten[i].typ;
        // A Yes/No value is its bit in the null mask.
        if (typ == MDB_BOOL) {
            werte.append(QVariant(!feld.is_null));
            continue;
        }
        if (feld.is_null) {
            werte.append(QVariant());
            continue;
        }
        const bool passt = [&] {
            switch (typ) {
            case MDB_BYTE: return feld.siz >= 1;
            case MDB_INT: return feld.siz >= 2;
            case MDB_LONGINT:
            case MDB_FLOAT: return feld.siz >= 4;
            case MDB_MONEY:
            case MDB_DOUBLE:
            case MDB_DATETIME: return feld.siz >= 8;
            default: return true;
            }
        }();
        if (!passt)
            throw Fehler(QStringLiteral("Eine Zeile der Tabelle '%1' in '%2' ist nicht lesbar (Datei beschädigt).").arg(m_name, m_datei));
        switch (typ) {
        case MDB_BYTE: werte.append(int(*static_cast<const quint8*>(feld.value))); break;
        case MDB_INT: werte.append(int(lesen<qint16>(feld))); break;
        case MDB_LONGINT: werte.append(int(lesen<qint32>(feld))); break;
        case MDB_FLOAT: {
            float f;
            std::memcpy(&f, feld.value, 4);
            werte.append(double(f));
            break;
        }
        case MDB_DOUBLE: {
            double d;
            std::memcpy(&d, feld.value, 8);
            werte.append(d);
            break;
        }
        case MDB_MONEY: werte.append(double(lesen<qint64>(feld)) / 10000.0); break;
        case MDB_DATETIME: {
            double d;
            std::memcpy(&d, feld.value, 8);
            werte.append(ausTagen(d));
            break;
        }
        case MDB_TEXT:
        case MDB_MEMO: werte.append(alsText(mdb, feld, typ)); break;
        case MDB_NUMERIC: werte.append(alsText(mdb, feld, typ).toDouble()); break;
        case MDB_REPID: werte.append(alsText(mdb, feld, typ)); break;
        default: werte.append(QByteArray(static_cast<const char*>(feld.value), feld.siz)); break;
        }
    }
    return true;
}

} // namespace Altdaten
