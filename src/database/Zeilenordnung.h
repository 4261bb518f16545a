#pragma once

#include "Zeilenwerte.h"

#include <QVariant>
#include <functional>
#include <vector>

/// The order in which a dataset's statement hands out its rows, so that a row read again can be
/// put into its place among the rows held without reading them all. The ORDER BY columns are
/// compared as the engine compares stored values: empty first, then numbers, text, bytes; text
/// of Text columns (declared COLLATE NOCASE) without regard to ASCII case. Rows equal in all of
/// them follow their key, as the engine hands them out when it walks an index or the table.
class Zeilenordnung
{
public:
    struct Spalte
    {
        int feld = -1;
        bool absteigend = false;
        bool ohneGross = false;
    };

    /// An unknown order: nothing can be put into place.
    Zeilenordnung() = default;
    /// By `spalten` (indices into a row's values), then by the key column `schluessel`.
    Zeilenordnung(std::vector<Spalte> spalten, int schluessel);

    bool bekannt() const { return m_schluessel >= 0; }
    const std::vector<Spalte>& spalten() const { return m_spalten; }

    /// Negative when row `a` comes before row `b`, positive when after, 0 for the same key.
    int vergleichen(const std::vector<QVariant>& a, const std::vector<QVariant>& b) const;
    int vergleichen(const Zeilenwerte& a, const Zeilenwerte& b) const;

    /// The places of `anzahl` rows in this order, `werteVon(i)` giving row i's values: each
    /// row's values that count are taken out once, not at every comparison. The rows must stay
    /// as they are until it returns: their text is compared where it lies.
    std::vector<size_t> reihenfolge(size_t anzahl, const std::function<const Zeilenwerte&(size_t)>& werteVon) const;

    /// One stored value against another, as the engine orders them.
    static int wertVergleichen(const QVariant& a, const QVariant& b, bool ohneGross);

private:
    template <typename Werte>
    int vergleichenIn(const Werte& a, const Werte& b) const;

    std::vector<Spalte> m_spalten;
    int m_schluessel = -1;
};
