#pragma once

#include <QString>

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

} // namespace SqlText
