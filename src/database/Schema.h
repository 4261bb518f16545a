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

/// Every statement that creates the schema in an empty database, in order.
QStringList anweisungen();

/// The declared column type for a table column, e.g. "VARCHAR(10) COLLATE NOCASE".
QString spaltenDeklaration(const Spalte& spalte);

/// The output column of a stored query with this name (case-insensitive), or nullptr.
const Spalte* abfrageSpalte(const QString& name);

} // namespace Schema
