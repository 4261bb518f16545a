#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

// How values read as text and are shown as text, the same in every control, grid, report and
// field: one rule for "is this a yes", one for a date.
namespace Textform {

/// A typed or stored yes/no: "ja", "wahr", "true", "yes", "1", "-1" are yes; "nein", "falsch",
/// "false", "no", "0" are no (any case, blanks around ignored); anything else is neither.
std::optional<bool> jaNein(const QString& text);

/// Whether a value stands for yes: a text by jaNein (neither counts as no), a number when it
/// is not 0, empty as no.
bool istJa(const QVariant& wert);

/// A date as dd.MM.yyyy; an invalid date as nothing.
QString datum(const QDate& tag);

/// A date value as text: a date as dd.MM.yyyy, a date with time of day followed by HH:mm:ss
/// only when it has a time other than midnight; empty for anything that is not a date.
QString datum(const QVariant& wert);

} // namespace Textform
