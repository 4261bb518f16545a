#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

// Shared pieces of the benchmarks on the project database.
namespace BenchDaten {

/// Creates PROJEKT.MDB in `ordner` with the database tool's demo data for `projekte` projects,
/// topped up to at least `aufgaben` tasks (copies of earlier tasks within their own projects,
/// behind them in priority); without `aufgaben`, ten tasks per project. Always the same data.
/// Returns its path. Made afresh each run (a second or two), so it always has the current schema.
QString grosseDatenbank(const QString& ordner, int projekte = 20000, int aufgaben = -1);

/// grosseDatenbank with `projekte` projects, saying on `aus` how long it took to make.
QString grosseDatenbankGemeldet(const QString& ordner, int projekte, QTextStream& aus);

/// The day the data of grosseDatenbank are planned around (their "today").
QDate stichtag();

/// Milliseconds the sqlite3 shell needs to run `anweisungen` on `datei` (start of the process
/// included), best of `laeufe`; -1 when the shell is not installed.
double shellZeit(const QString& datei, const QStringList& anweisungen, int laeufe = 1);

/// How much a benchmark does: `--projekte N` (20,000) and `--runden R` (7) from its arguments.
struct Umfang
{
    int projekte = 20000;
    int runden = 7;
};
Umfang umfangAusArgumenten(const QStringList& argumente);

/// Median of the values.
double median(QList<double> werte);

/// Runs the step `runden` times and returns the median in milliseconds; `vorher` runs untimed
/// before each run. `rechenzeit`, when given, receives the median of the thread's CPU time: on
/// a machine shared with other work the wall clock also counts the waiting.
double messen(int runden, const std::function<void()>& schritt, const std::function<void()>& vorher = {},
              double* rechenzeit = nullptr);

/// CPU time of the calling thread in milliseconds.
double threadZeit();

/// Resident memory of this process in MB (VmRSS of /proc/self/status); -1 when unknown.
double residentMB();

} // namespace BenchDaten
