#pragma once

#include "DatenbankTypen.h"

#include <QString>
#include <QStringList>
#include <vector>

// The one description of the project database: its tables with every column, the stored queries
// and the indexes. The database tool creates files from it; the access layer takes the types of
// computed query columns from it, because the engine does not declare them.
namespace Schema {

/// One column: name, kind and, for Text columns, the width in characters.
struct Spalte
{
    QString name;
    TFieldType typ;
    int breite = 0;
};

/// A table with its columns in their order.
struct Tabelle
{
    QString name;
    std::vector<Spalte> spalten;
};

/// A stored query (a view) with its output columns and its SQL text.
struct Abfrage
{
    QString name;
    std::vector<Spalte> spalten;
    QString sql;
};

/// The five tables: Projekt, ProjektAufgaben, Aufgaben, Personal, Status.
const std::vector<Tabelle>& tabellen();

/// The two stored queries: ProjektAufgabenSumme and Aufgaben_Aktuell.
const std::vector<Abfrage>& abfragen();

/// Every statement that creates the schema in an empty database, in order: grundAnweisungen(),
/// then stuetzAnweisungen().
QStringList anweisungen();

/// The tables, stored queries and indexes.
QStringList grundAnweisungen();

/// The program's own support tables with the triggers that keep them: the summary table,
/// filled from the rows there are, and the change table; then the wall list's index. Whoever
/// fills a new database with many rows runs these after the rows.
QStringList stuetzAnweisungen();

/// The columns of the wall list's index: its order first, then what the public view shows and
/// filters by. The list reads its order and filter of every project from the index alone.
const QStringList& wandlistenSpalten();

/// The name of the index over wandlistenSpalten(): the wall list is read from it alone, a
/// fraction of the project table.
QString wandlistenIndex();

/// The statement that creates that index in a file (also for a file made before it existed).
QString wandlistenIndexAnweisung();

/// The summary table: the rows of the stored query ProjektAufgabenSumme (per project with
/// tasks, their number and rank sum), kept by triggers on ProjektAufgaben and Status, and read
/// by that query.
QString summenTabelle();

/// The sums worked out from the tasks, for the projects whose ID meets `bedingung` (a
/// condition on p.[Projekt_ID]).
QString summenBerechnung(const QString& bedingung);

/// The statements that create the summary table, fill it and create its triggers.
QStringList summenAnweisungen();

/// For a file made before the summary table existed: summenAnweisungen(), then the stored
/// query ProjektAufgabenSumme made anew to read the table.
QStringList summenNachruestung();

/// The same schema for a database server: tables, stored queries, indexes, the change table and
/// the triggers that keep it, in the server's dialect. Names are lower case there; text columns
/// compare without regard to case (citext) and keep their widths.
QStringList serverAnweisungen();

/// For a server database made before the summary table existed: the table, its triggers, its
/// rows, and the stored query made anew to read it.
QStringList serverSummenNachruestung();

/// The wall list's index in the server's dialect, made only where it is missing.
QString serverWandlistenIndexAnweisung();

/// Fills the server's empty summary table from the tasks (after rows came in without triggers).
QString serverSummenFuellung();

/// The server's table of one row: `stand`, raised by every change of any table (a reader that
/// finds it unchanged need not read), and `nr`, the last number of the change table. Its row
/// lock is held to the commit, so both count in the order the changes become visible.
QString serverStandTabelle();

/// Number that the server's summary triggers take their lock under, beside the project's ID.
constexpr int SummenSperre = 7301;

/// The change table: triggers on Projekt, ProjektAufgaben and Status note in it, numbered in
/// order (Nr), the ID of every project whose row or task sums may have changed; an empty
/// Projekt_ID stands for every project (a status rank changed). Only the newest
/// AenderungenBehalten entries stay, so a reader that finds its next number gone reads all.
QString aenderungsTabelle();
constexpr int AenderungenBehalten = 10000;

/// The statements that create the change table and its triggers (also for a file made before
/// they existed).
QStringList aenderungsAnweisungen();

/// The declared column type for a table column, e.g. "VARCHAR(10) COLLATE NOCASE".
QString spaltenDeklaration(const Spalte& spalte);

/// The output column of a stored query with this name (case-insensitive), or nullptr.
const Spalte* abfrageSpalte(const QString& name);

/// The column `spalte` of the table `tabelle` (both case-insensitive), or nullptr.
const Spalte* tabellenSpalte(const QString& tabelle, const QString& spalte);

/// The schema's own spelling of a table, query or column name given in any case ("kommnr"
/// gives "Kommnr"); a name the schema does not know comes back as it is.
QString schreibweise(const QString& name);

} // namespace Schema
