#pragma once

#include <QList>
#include <QString>
#include <optional>

// Small surgery on the SELECT texts the datasets run: a detail dataset adds the condition of
// its master link to the statement, and the columns of a join that share a name are named after
// their table's alias. Strings, bracketed names, comments and sub-queries are skipped.
namespace SqlText {

/// The statement restricted by `bedingung`: added to a top-level WHERE (both parenthesised),
/// or as a new WHERE before GROUP BY / ORDER BY / LIMIT; a compound statement is wrapped.
QString bedingungEinfuegen(const QString& sql, const QString& bedingung);

/// The alias that the FROM clause gives `tabelle` ("projektaufgaben p" gives "p"); empty when
/// the table has none or does not appear.
QString aliasVon(const QString& sql, const QString& tabelle);

/// A name in brackets, safe for any identifier ("select" becomes "[select]").
QString klammern(const QString& name);

/// The statement as a database server reads it: bracketed and double-quoted names become quoted
/// lower-case names (the server keeps the tables' names in lower case, and unquoted names fold
/// to it), and each parameter mark ? becomes $1, $2, … in order. Strings and comments stay.
QString fuerServer(const QString& sql);

/// One term of an ORDER BY: a column name (without brackets or table alias) and its direction.
struct Sortierspalte
{
    QString spalte;
    bool absteigend = false;
    friend bool operator==(const Sortierspalte&, const Sortierspalte&) = default;
};

/// The top-level ORDER BY of the statement as plain column names; an empty list when it has
/// none; nothing when a term is more than a name (an expression, a number, COLLATE, NULLS) or
/// the statement is compound, so that nobody imitates an order they cannot know.
std::optional<QList<Sortierspalte>> sortierung(const QString& sql);

/// The statement without its top-level ORDER BY, for a reader that orders the rows itself;
/// nothing when it has none, when a LIMIT follows it or the statement is compound.
std::optional<QString> ohneSortierung(const QString& sql);

} // namespace SqlText
