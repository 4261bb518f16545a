#pragma once

#include <QDate>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

// One task as the timeline shows it: its text and its days; either date may be missing.
struct TTerminplanEintrag
{
    QString text;
    QDate von;
    QDate bis;
};

// A label of the day scale: where it starts, how wide it is and what it says.
struct TSkalenBeschriftung
{
    int x = 0;
    int breite = 0;
    QString text;
};

// The sizes of the timeline in pixels.
struct TTerminplanMasse
{
    int pixelProTag = 18;
    int zeilenHoehe = 20;
    int kopfHoehe = 48;   // month, week and day lines
    int balkenRand = 3;   // space above and below a bar within its row
};

// Where everything of the timeline lies, in pixels of the whole drawing (the day scale's first
// day starts at x 0, the header takes the top). Knows no widget: the view paints what it says
// and maps clicks back through it.
//
// The scale runs from the Monday of the week of the earliest date (today included) to the Sunday
// of the week of the latest one, or further when a later day is asked for. A bar covers its days from the start of the first to the end of
// the last; a task with only one date gets a bar of that one day, one without dates none. Dates
// entered the wrong way round still show the days between them.
class TTerminplanGeometrie
{
public:
    using Masse = TTerminplanMasse;

    TTerminplanGeometrie() : TTerminplanGeometrie({}, QDate::currentDate()) {}
    // `mindestBis`: the scale reaches at least this day (a view fills its width).
    TTerminplanGeometrie(std::vector<TTerminplanEintrag> eintraege, const QDate& heute, Masse masse = {},
                         const QDate& mindestBis = {});

    const Masse& masse() const { return m_masse; }
    const std::vector<TTerminplanEintrag>& eintraege() const { return m_eintraege; }
    QDate ersterTag() const { return m_erster; }
    QDate letzterTag() const { return m_letzter; }
    QDate heute() const { return m_heute; }

    int breite() const;
    int hoehe() const;

    // Left edge of a day (outside the scale too).
    int x(const QDate& tag) const;
    // The day at x; days before or after the scale are clamped to it.
    QDate tagBei(int x) const;

    // The row of entry `index` across the whole scale.
    QRect zeile(int index) const;
    // The entry at height y; -1 in the header or below the last row.
    int zeileBei(int y) const;
    // The bar of entry `index`; none for a task without dates.
    std::optional<QRect> balken(int index) const;

    // The line that marks today, through the middle of its day.
    int heuteX() const;
    // Saturdays and Sundays, one band (x and width in a rect of the rows' height) per weekend.
    std::vector<QRect> wochenenden() const;
    // Month names ("Dezember 2026") and calendar weeks ("KW 50"), each over the days it covers.
    std::vector<TSkalenBeschriftung> monate() const;
    std::vector<TSkalenBeschriftung> wochen() const;

    // The days an entry covers, in order; nothing when it has no date.
    static std::optional<std::pair<QDate, QDate>> tage(const TTerminplanEintrag& eintrag);

private:
    std::vector<TTerminplanEintrag> m_eintraege;
    QDate m_heute;
    Masse m_masse;
    QDate m_erster;
    QDate m_letzter;
};
