#pragma once

#include "Ableitungsstand.h"
#include "Zeilenwerte.h"

#include <QtGlobal>
#include <functional>
#include <limits>
#include <vector>

/// One row a dataset holds.
struct Datenzeile
{
    Zeilenwerte werte;                           // stored values of the columns, then typed derived values
    quint64 stand = Ableitungsstand::Ungueltig;  // stand of its derived values
};

/// The rows a dataset has read and, among them, the rows it shows (after Filter and a search),
/// kept in step in one place: the shown rows are row numbers of the rows read, in the same
/// order. Beside them the key of every row read, so that rows are found by key without
/// touching each row; it is built when first asked for and then kept in step.
///
/// A new row being entered goes in among the rows read where it is shown, so that the shown
/// rows keep the order of the rows read whatever happens.
class Zeilenliste
{
public:
    /// Stands for a row without a key among the keys.
    static constexpr qint64 OhneSchluessel = std::numeric_limits<qint64>::min();

    /// The column of the rows' key (INTEGER PRIMARY KEY); -1: they have none.
    void setSchluesselSpalte(int spalte);

    size_t anzahlGelesen() const { return m_alle.size(); }
    int anzahlGezeigt() const { return int(m_alleGezeigt ? m_alle.size() : m_gezeigt.size()); }
    bool alleGezeigt() const { return m_alleGezeigt || m_gezeigt.size() == m_alle.size(); }
    const std::vector<Datenzeile>& gelesen() const { return m_alle; }
    Datenzeile& gelesen(size_t index) { return m_alle[index]; }
    /// The row shown as row `zeile`, and its place among the rows read.
    Datenzeile& gezeigt(int zeile) { return m_alle[indexVon(zeile)]; }
    const Datenzeile& gezeigt(int zeile) const { return m_alle[indexVon(zeile)]; }
    size_t indexVon(int zeile) const { return m_alleGezeigt ? size_t(zeile) : size_t(m_gezeigt[size_t(zeile)]); }
    /// The row number row `index` read is shown as; -1 when it is not shown.
    int zeileVon(size_t index) const;
    /// How many rows read before row `index` are shown: the row number it gets when shown.
    int gezeigtVor(size_t index) const;
    /// The key of every row read, in their order (OhneSchluessel where a row has none).
    const std::vector<qint64>& schluessel();

    /// Takes `zeilen` as the rows read, none of them shown yet; the rows held before are dropped.
    void ersetzen(std::vector<Datenzeile>&& zeilen);
    /// Hands out every row read and holds none.
    std::vector<Datenzeile> nehmen();
    void leeren() { ersetzen({}); }
    /// Shows, in their order, the rows read that `zeigen` admits.
    void zeigen(const std::function<bool(Datenzeile&)>& zeigen);
    /// Row `index` read holds other values now (of the same or another row).
    void erneuert(size_t index);
    /// Takes row `index` out; returns the row number it was shown as, or -1.
    int herausnehmen(size_t index);
    /// Puts `zeile` in as row `index` read, shown at its place when `zeigen`; returns its row
    /// number, or -1 when it is not shown.
    int einfuegen(size_t index, Datenzeile&& zeile, bool zeigen);
    /// Shown row `zeile` is no longer shown; it stays read.
    void verbergen(int zeile);
    /// A new row, shown as row `stelle` (the rows shown from there on move down one).
    void neueZeile(Datenzeile zeile, int stelle);
    /// Drops the new row, shown as row `zeile`.
    void neueZeileVerwerfen(int zeile);

private:
    qint64 schluesselVon(const Datenzeile& zeile) const;
    void gezeigteEinzelnFuehren();

    std::vector<Datenzeile> m_alle;
    std::vector<int> m_gezeigt;  // row numbers in m_alle, ascending; empty while all are shown
    bool m_alleGezeigt = false;  // every row read is shown, one by one as it comes
    int m_schluesselSpalte = -1;
    std::vector<qint64> m_schluessel;
    bool m_schluesselGueltig = false;
};
