#pragma once

#include "Serveradresse.h"

#include <QList>
#include <QPair>
#include <QString>

// The project database on a PostgreSQL server: created there, or moved there from a file.
namespace DatenbankWerkzeug {

/// Creates the project database on the server: the database itself when the user may and it
/// is not there yet, then every table, stored query, index and the change notes. Refuses
/// (Fehler) a database that already holds a project database; leaves nothing half made.
void anlegenAufServer(const Serveradresse& adresse);

/// Moves the project database file `pfad` to the server (created as by anlegenAufServer): every
/// row with its ID, in one transaction, the numbering of new rows going on after the highest
/// ID. Returns each table's name with its number of rows.
QList<QPair<QString, qint64>> kopieren(const QString& pfad, const Serveradresse& adresse);

} // namespace DatenbankWerkzeug
