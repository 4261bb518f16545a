#pragma once

#include <QDateTime>
#include <QString>

// How old the list on the wall screen is: when it was last read, and whether reading has failed
// since. The status line shows "Stand: HH:MM"; when the last good reading lies three refresh
// intervals or more back the data counts as old, and the line says so and for how long.
class TDatenstand
{
public:
    static constexpr int VeraltetNachIntervallen = 3;

    void gelesen(const QDateTime& zeitpunkt);
    void fehlgeschlagen() { m_fehlgeschlagen = true; }

    QDateTime letzterStand() const { return m_stand; }
    bool letzterVersuchFehlgeschlagen() const { return m_fehlgeschlagen; }

    // Never old without a refresh interval: then nobody expects newer data.
    bool veraltet(const QDateTime& jetzt, qint64 intervallMs) const;
    QString text(const QDateTime& jetzt, qint64 intervallMs) const;

    // "5 Minuten", "3 Stunden", "2 Tagen": how long, after "seit".
    static QString dauerSeit(qint64 sekunden);

private:
    QDateTime m_stand;
    bool m_fehlgeschlagen = false;
};
