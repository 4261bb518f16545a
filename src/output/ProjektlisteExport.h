#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

class TDatenGitter;
class TKADaoTable;

/// The project list as a CSV file that German spreadsheet programs open directly: semicolon
/// between fields, decimal comma, dates as dd.MM.yyyy, UTF-8 with byte-order mark, lines ended
/// by CR LF; a field with a semicolon, a quote or a line break is quoted, quotes doubled.
namespace ProjektlisteExport {

/// One value as a field: numbers with a decimal comma and no grouping, dates as dd.MM.yyyy
/// (with HH:mm when there is a time of day), yes/no as "Ja"/"Nein", empty values as nothing.
QString CsvFeld(const QVariant& wert);

/// The bytes of a CSV file with these rows.
QByteArray CsvDatei(const QList<QVariantList>& zeilen);

/// The rows of a project grid: a caption row, then one row per project with the grid's
/// visible columns in the order shown, followed by the project's current task, its employee
/// and its end date (looked up in `aufgaben` and `personal`; nothing when those are missing).
QList<QVariantList> ProjektlisteZeilen(const TDatenGitter& gitter, const TKADaoTable* aufgaben,
                                       const TKADaoTable* personal);

/// Writes the list of the grid to `pfad` (replaced whole or not at all); Fehler when the
/// file cannot be written.
void ProjektlisteSchreiben(const TDatenGitter& gitter, const TKADaoTable* aufgaben, const TKADaoTable* personal,
                           const QString& pfad);

} // namespace ProjektlisteExport
