#pragma once

#include "JetSchreiber.h"

// Access files as the old Windows program kept its project database: the five tables with the
// columns of the project database and their Access types.
namespace JetSchreiber {

/// Adds the table `name` of the project database (Projekt, ProjektAufgaben, Aufgaben, Personal,
/// Status) with its columns in their order, then `weitere`; returns its number.
int projektTabelle(Jet4Datei& datei, const QString& name, const std::vector<Spalte>& weitere = {});

/// A full row for a table made by projektTabelle: `werte` by column name (without regard to
/// case), every other column null.
QVariantList projektZeile(const QString& tabelle, const std::vector<std::pair<QString, QVariant>>& werte,
                          const std::vector<Spalte>& weitere = {});

/// Writes an old database with five statuses, eight employees, fifteen catalogue tasks and
/// `projekte` projects of `aufgabenJeProjekt` tasks each (for the benchmark).
void grosseAlteDatenbank(const QString& pfad, int projekte, int aufgabenJeProjekt);

} // namespace JetSchreiber
