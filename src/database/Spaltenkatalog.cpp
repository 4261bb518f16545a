#include "Spaltenkatalog.h"

#include "Schema.h"
#include "SqlText.h"
#include "TField.h"

#include <QByteArray>
#include <QHash>
#include <sqlite3.h>

namespace {

QString text(const char* s)
{
    return s ? QString::fromUtf8(s) : QString();
}

} // namespace

Spaltenkatalog Spaltenkatalog::lesen(sqlite3* db, sqlite3_stmt* st, const QString& sql)
{
    const int anzahl = sqlite3_column_count(st);
    std::vector<Herkunft> spalten(static_cast<size_t>(anzahl));
    for (int i = 0; i < anzahl; ++i) {
        Herkunft& s = spalten[size_t(i)];
        s.name = text(sqlite3_column_name(st, i));
        s.typ = feldTypAusDeklaration(text(sqlite3_column_decltype(st, i)), s.breite);
        s.tabelle = text(sqlite3_column_table_name(st, i));
        s.herkunft = text(sqlite3_column_origin_name(st, i));
        const QByteArray datenbank = QByteArray(sqlite3_column_database_name(st, i));
        s.eigeneDatenbank = datenbank.compare("main", Qt::CaseInsensitive) == 0;
        if (s.tabelle.isEmpty())
            continue;
        // Only an INTEGER PRIMARY KEY is the row's own number.
        const char* deklaration = nullptr;
        int pk = 0;
        const QByteArray tabName = s.tabelle.toUtf8();
        const QByteArray spName = s.herkunft.toUtf8();
        if (sqlite3_table_column_metadata(db, datenbank.constData(), tabName.constData(), spName.constData(),
                                          &deklaration, nullptr, nullptr, &pk, nullptr) == SQLITE_OK)
            s.schluessel = pk && deklaration && qstricmp(deklaration, "INTEGER") == 0;
    }
    return aus(std::move(spalten), sql);
}

Spaltenkatalog Spaltenkatalog::aus(std::vector<Herkunft> herkunft, const QString& sql)
{
    const int anzahl = int(herkunft.size());
    Spaltenkatalog katalog;
    katalog.m_spalten.resize(size_t(anzahl));
    QHash<QString, int> haeufigkeit;
    for (const Herkunft& h : herkunft)
        haeufigkeit[h.name.toLower()] += 1;

    QString basis;
    bool eineTabelle = true;
    int schluessel = -1;
    for (int i = 0; i < anzahl; ++i) {
        Herkunft h = herkunft[size_t(i)];
        // The summary table stands behind the stored query that reads it: its columns are the
        // query's computed ones, with their types, and nobody writes to it but its triggers.
        if (h.tabelle.compare(Schema::summenTabelle(), Qt::CaseInsensitive) == 0) {
            h.tabelle.clear();
            h.herkunft.clear();
            h.typ = TFieldType::ftUnknown;
            h.schluessel = false;
        }
        Spalte& s = katalog.m_spalten[size_t(i)];
        s.name = h.name;
        s.typ = h.typ;
        s.breite = h.breite;
        s.tabelle = h.tabelle;
        s.herkunft = h.herkunft;
        // Columns of a join that share a name come out under their table's alias ("p.ID").
        if (haeufigkeit.value(s.name.toLower()) > 1 && !s.tabelle.isEmpty()) {
            QString alias = SqlText::aliasVon(sql, s.tabelle);
            if (alias.isEmpty())
                alias = s.tabelle;
            s.name = alias + QLatin1Char('.') + s.name;
        }

        if (h.schluessel) {
            s.typ = TFieldType::ftAutoInc;
        } else if (s.tabelle.isEmpty() && s.typ == TFieldType::ftUnknown) {
            // Computed columns of the stored queries have no declared type; the schema has it.
            if (const Schema::Spalte* bekannt = Schema::abfrageSpalte(s.name)) {
                s.typ = bekannt->typ;
                s.breite = bekannt->breite;
            }
        }
        if (s.typ != TFieldType::ftString)
            s.breite = 0;

        if (s.tabelle.isEmpty() || !h.eigeneDatenbank)
            eineTabelle = false;
        else if (basis.isEmpty())
            basis = s.tabelle;
        else if (basis.compare(s.tabelle, Qt::CaseInsensitive) != 0)
            eineTabelle = false;
        if (h.schluessel && schluessel < 0)
            schluessel = i;
    }
    if (eineTabelle && !basis.isEmpty() && schluessel >= 0) {
        katalog.m_basisTabelle = basis;
        katalog.m_schluesselSpalte = schluessel;
    }
    return katalog;
}
