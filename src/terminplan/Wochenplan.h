#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <vector>

class TKADaoDatabase;

// One employee's line of the week: the projects of his tasks on each day, Monday first.
struct TWochenplanZeile
{
    QVariant mitarbeiterId;   // null for the line of tasks without a known employee
    QString name;
    std::array<QStringList, 7> tage;
};

// The week overview of the office: every employee with the projects whose tasks he has on each
// day of one week, read with one query. Employees come by name, all of them, also those with
// nothing planned; tasks without an employee (or naming one that is gone) gather in a last line
// "ohne Mitarbeiter", so no planned work drops out of sight.
//
// A task counts on every day from its start to its end; one with a single date on that day. A
// task running over a weekend counts on Saturday and Sunday only when it begins or ends there:
// work planned for the weekend is entered so, a task merely spanning it is not weekend work.
// Monday to Friday are always shown, Saturday and Sunday only when something is planned there.
class TWochenplan
{
public:
    // The Monday of the week of `tag`.
    static QDate Wochenanfang(const QDate& tag);
    // The query for the week from `montag`: one row per task in the week (with its employee,
    // project and days as yyyy-MM-dd) and one per employee without such a task.
    static QString Abfrage(const QDate& montag, bool aufServer = false);
    // Whether a task from `von` to `bis` (both valid, von <= bis) counts on `tag`.
    static bool ZaehltAm(const QDate& von, const QDate& bis, const QDate& tag);

    // Reads the week of `tag` from the database. Errors are the database layer's Fehler.
    void Laden(TKADaoDatabase* datenbank, const QDate& tag);

    QDate Montag() const { return m_montag; }
    const std::vector<TWochenplanZeile>& Zeilen() const { return m_zeilen; }
    // The days shown, 0 (Monday) … 6 (Sunday).
    QList<int> GezeigteTage() const;
    // "KW 50 · 07.12.2026 – 13.12.2026"
    QString Titel() const;
    // A day's column caption: "MO 07.12."
    QString TagTitel(int tag) const;
    // The largest number of projects in one cell of a shown day (at least 1).
    int HoechsteAnzahl() const;

private:
    QDate m_montag;
    std::vector<TWochenplanZeile> m_zeilen;
};
