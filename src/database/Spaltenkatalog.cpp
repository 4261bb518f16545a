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
    Spaltenkatalog katalog;
    katalog.m_spalten.resize(size_t(anzahl));
    std::vector<QString> datenbanken(static_cast<size_t>(anzahl));
    QHash<QString, int> haeufigkeit;
    for (int i = 0; i < anzahl; ++i) {
        Spalte& s = katalog.m_spalten[size_t(i)];
        s.name = text(sqlite3_column_name(st, i));
        s.typ = feldTypAusDeklaration(text(sqlite3_column_decltype(st, i)), s.breite);
        s.tabelle = text(sqlite3_column_table_name(st, i));
        s.herkunft = text(sqlite3_column_origin_name(st, i));
        datenbanken[size_t(i)] = text(sqlite3_column_database_name(st, i));
        haeufigkeit[s.name.toLower()] += 1;
    }

    QString basis;
    bool eineTabelle = true;
    int schluessel = -1;
    for (int i = 0; i < anzahl; ++i) {
        Spalte& s = katalog.m_spalten[size_t(i)];
        const QString& datenbank = datenbanken[size_t(i)];
        // Columns of a join that share a name come out under their table's alias ("p.ID").
        if (haeufigkeit.value(s.name.toLower()) > 1 && !s.tabelle.isEmpty()) {
            QString alias = SqlText::aliasVon(sql, s.tabelle);
            if (alias.isEmpty())
                alias = s.tabelle;
            s.name = alias + QLatin1Char('.') + s.name;
        }

        bool istRowid = false;
        if (!s.tabelle.isEmpty()) {
            const char* deklaration = nullptr;
            int pk = 0;
            const QByteArray dbName = datenbank.toUtf8();
            const QByteArray tabName = s.tabelle.toUtf8();
            const QByteArray spName = s.herkunft.toUtf8();
            if (sqlite3_table_column_metadata(db, dbName.constData(), tabName.constData(), spName.constData(),
                                              &deklaration, nullptr, nullptr, &pk, nullptr) == SQLITE_OK)
                istRowid = pk && deklaration && qstricmp(deklaration, "INTEGER") == 0;
            if (istRowid)
                s.typ = TFieldType::ftAutoInc;
        } else if (s.typ == TFieldType::ftUnknown) {
            // Computed columns of the stored queries have no declared type; the schema has it.
            if (const Schema::Spalte* bekannt = Schema::abfrageSpalte(s.name)) {
                s.typ = bekannt->typ;
                s.breite = bekannt->breite;
            }
        }
        if (s.typ != TFieldType::ftString)
            s.breite = 0;

        if (s.tabelle.isEmpty() || datenbank.compare(QLatin1String("main"), Qt::CaseInsensitive) != 0)
            eineTabelle = false;
        else if (basis.isEmpty())
            basis = s.tabelle;
        else if (basis.compare(s.tabelle, Qt::CaseInsensitive) != 0)
            eineTabelle = false;
        if (istRowid && schluessel < 0)
            schluessel = i;
    }
    if (eineTabelle && !basis.isEmpty() && schluessel >= 0) {
        katalog.m_basisTabelle = basis;
        katalog.m_schluesselSpalte = schluessel;
    }
    return katalog;
}
