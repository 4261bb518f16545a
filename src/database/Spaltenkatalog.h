#pragma once

#include "DatenbankTypen.h"

#include <QString>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

/// What the engine tells about the columns of a prepared SELECT: each column's name, kind and
/// width, the table column it comes from, and whether its rows can be written back to one table.
class Spaltenkatalog
{
public:
    struct Spalte
    {
        QString name;       ///< as the dataset calls it; a join's shared names as "alias.Name"
        TFieldType typ = TFieldType::ftUnknown;
        int breite = 0;     ///< characters of a Text column, else 0
        QString tabelle;    ///< table of origin; empty for an expression
        QString herkunft;   ///< column of origin in that table
    };

    /// What an engine tells about one column of a statement.
    struct Herkunft
    {
        QString name;
        TFieldType typ = TFieldType::ftUnknown;
        int breite = 0;
        QString tabelle;            ///< table of origin; empty for an expression
        QString herkunft;           ///< column of origin in that table
        bool eigeneDatenbank = true;  ///< the table lies in the project database itself
        bool schluessel = false;    ///< the column is the table's own numbered key
    };

    /// Reads the catalogue of `anweisung` on `db`; `sql` is its text, for the aliases of a join.
    static Spaltenkatalog lesen(sqlite3* db, sqlite3_stmt* anweisung, const QString& sql);
    /// The catalogue of the columns an engine described; `sql` as above.
    static Spaltenkatalog aus(std::vector<Herkunft> herkunft, const QString& sql);

    const std::vector<Spalte>& spalten() const { return m_spalten; }
    /// The table the rows can be written to: every column comes from it (in the main database)
    /// and its INTEGER PRIMARY KEY is among them. Empty otherwise.
    const QString& basisTabelle() const { return m_basisTabelle; }
    /// Place of that key among the columns; -1 when the rows cannot be written back.
    int schluesselSpalte() const { return m_schluesselSpalte; }

private:
    std::vector<Spalte> m_spalten;
    QString m_basisTabelle;
    int m_schluesselSpalte = -1;
};
