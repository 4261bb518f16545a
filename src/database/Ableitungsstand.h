#pragma once

#include <QtGlobal>

/// When the derived values of a row (lookup and calculated fields) must be worked out again.
/// Each row keeps the stand its values were worked out for; they hold while the dataset's
/// stand is the same. The stand is the dataset's own count of invalidations plus the change
/// counts of the datasets it looks values up in, so a change here or there gives a new stand,
/// and a stand never comes back.
class Ableitungsstand
{
public:
    /// Never a stand: a row holding it has its values worked out when next read.
    static constexpr quint64 Ungueltig = 0;

    /// The stand while the looked-up datasets' change counts add up to `summeQuellen`.
    quint64 stand(quint64 summeQuellen) const { return m_eigen + summeQuellen; }
    /// Whether values worked out at `zeilenStand` hold at `stand`.
    static bool gilt(quint64 zeilenStand, quint64 stand) { return zeilenStand != Ungueltig && zeilenStand == stand; }

    /// Every row's values are out of date (the rows were read again).
    void verwerfen() { ++m_eigen; }
    /// A looked-up dataset went away and its count leaves the sum: a jump far beyond any count
    /// it could have had keeps the new sum from meeting an earlier one.
    void quelleEntfernt() { m_eigen += Sprung; }

private:
    static constexpr quint64 Sprung = quint64(1) << 40;
    quint64 m_eigen = 1;
};
