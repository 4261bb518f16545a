#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

/// Which columns of a wide table the rows of a dataset hold: a list that shows a few columns
/// reads and keeps only those; a row's other values are read when somebody asks for them.
/// It counts only for a statement "SELECT * FROM ...", whose columns are the table's.
class Spaltenauswahl
{
public:
    /// Whether a statement reads every column of a table ("SELECT * FROM ...").
    static bool liestAlleSpalten(const QString& text);

    /// Decides for the `anzahl` columns of a statement: held are the columns `namen` (`finden`
    /// gives a name's column, -1 for none) and `immer`. Every column is held when `namen` is
    /// empty or when `moeglich` is false.
    void bilden(const QStringList& namen, int anzahl, const std::function<int(const QString&)>& finden,
                const std::vector<int>& immer, bool moeglich);
    bool alleGehalten() const { return m_gehalten.empty(); }
    bool gehalten(int spalte) const { return m_gehalten.empty() || m_gehalten[size_t(spalte)]; }
    /// Per column whether it is held, for building rows; nullptr while every column is.
    const std::vector<bool>* maske() const { return m_gehalten.empty() ? nullptr : &m_gehalten; }

    /// `text` ("SELECT * FROM ...") with only the held columns named (as `herkunft` names each
    /// column in its table): the others cost the engine nothing, a server neither sending nor
    /// its client library a place per row. Any other text, or with every column held, as it is.
    QString leseText(const QString& text, const std::vector<QString>& herkunft) const;
    /// How many columns of the `anzahl` a row has the statement of leseText gives.
    int anzahlGeliefert(int anzahl) const;

private:
    std::vector<bool> m_gehalten;  // per column; empty: every column
};
