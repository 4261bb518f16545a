#pragma once

#include <QDate>
#include <QString>

// Creating project databases: the job of the database tool, never of the program.
namespace DatenbankWerkzeug {

/// Creates a new project database at `pfad` with every table, stored query and index.
/// Refuses (Fehler) when a file of that name exists; leaves no file behind on failure.
void anlegen(const QString& pfad);

/// Fills a database just created by anlegen() with German demo data: the five statuses with
/// ranks 0 to 4, eight employees, fifteen catalogue tasks and `anzahlProjekte` projects with
/// tasks in every state (about ten per project; a few projects without tasks, some hidden from
/// the edit or the public view), dated around `stichtag`. The same arguments give the same data.
void demoDatenEinfuegen(const QString& pfad, int anzahlProjekte = 40, const QDate& stichtag = QDate::currentDate());

} // namespace DatenbankWerkzeug
