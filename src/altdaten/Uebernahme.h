#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Taking the old Windows program's Access database over into a new project database: the five
// tables with every row and its ID (so the links between projects, tasks, employees and
// statuses stay right), columns matched by name without regard to case, values converted to the
// column types of the project database. The stored queries are the new database's own. What
// cannot be taken over exactly is listed in the report; nothing is dropped without a word.
namespace Altdaten {

/// "1 Zeile", "3 Zeilen".
QString zeilenText(qint64 anzahl);

struct UebernahmeBericht
{
    QString quelle;                 // the Access file, as shown to the user
    QString format;                 // "Access 97 (Jet 3)", ...
    QString ziel;                   // the new database
    struct Tabelle
    {
        QString name;
        qint64 zeilen = 0;
    };
    std::vector<Tabelle> tabellen;  // rows taken over per table, in the schema's order
    QStringList hinweise;           // what was not taken over exactly, one German line each

    /// The report for the user; at most `hoechstens` notes (the rest counted), 0 for all.
    QString text(int hoechstens = 0) const;
};

/// Where the take-over stands, for a progress display.
struct UebernahmeStand
{
    QString tabelle;
    qint64 tabelleZeilen = 0;   // rows of this table done so far
    qint64 erledigt = 0;        // rows of all tables done so far
    qint64 gesamt = 0;          // rows of all five tables
    bool tabelleFertig = false;
};

/// Called now and then and once at the end of each table; returning false cancels the take-over.
using UebernahmeFortschritt = std::function<bool(const UebernahmeStand&)>;

/// Takes `alt` over into the new database file `neu`, which must not exist. The file is written
/// beside `neu` under a temporary name and gets its name only when complete: after a failure or a
/// cancel there is no new file. `alt` is only read. Throws Fehler with a German message.
UebernahmeBericht uebernehmen(const QString& alt, const QString& neu, const UebernahmeFortschritt& fortschritt = {});

struct Umwandlung
{
    UebernahmeBericht bericht;
    QString sicherung;     // where the Access file is kept now
    QString berichtDatei;  // the full report, written beside the database
};

/// Converts the Access file `datei` in place: the new database takes its name, the Access file
/// is kept beside it under a new name (never overwritten, never deleted) and the full report is
/// written beside it. After a failure or a cancel `datei` is the untouched Access file.
Umwandlung umwandeln(const QString& datei, const UebernahmeFortschritt& fortschritt = {});

} // namespace Altdaten
