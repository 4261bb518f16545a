#pragma once

#include <QVariant>
#include <algorithm>
#include <utility>
#include <vector>

/// Two stored values are the same: both empty, or of one kind and equal (so 1 and "1" differ,
/// as they do in the engine's comparison).
inline bool gleicherWert(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.metaType() == b.metaType() && a == b;
}

/// The pending row of a dataset, all that belongs to it in one place so that dropping it
/// resets every part: the values being typed (`zeile`, a row of the dataset whose first
/// columns are the stored ones), the stored values as editing began, whether a field was set,
/// and for a new row where the cursor stood before.
template <typename Zeile>
struct Bearbeitungspuffer
{
    Zeile zeile;
    std::vector<QVariant> original;  ///< stored columns when editing began; empty for a new row
    bool neu = false;
    bool geaendert = false;          ///< a field was set (even back to its old value)
    int posVorEinfuegen = -1;

    /// Starts changing `gelesen`, whose first `spalten` values are the stored columns.
    void bearbeiten(const Zeile& gelesen, int spalten)
    {
        verwerfen();
        zeile = gelesen;
        original = gelesen.werte.erste(size_t(spalten));
    }

    /// Starts a new row; `pos` is the current row before it, for a cancel.
    void einfuegen(Zeile leer, int pos)
    {
        verwerfen();
        zeile = std::move(leer);
        neu = true;
        posVorEinfuegen = pos;
    }

    void verwerfen() { *this = Bearbeitungspuffer(); }

    /// Whether stored column `i` is input: a value in a new row, a value other than the one read
    /// in a changed row.
    bool spalteGeaendert(size_t i) const
    {
        return neu ? !zeile.werte[i].isNull() : !gleicherWert(zeile.werte[i], original[i]);
    }

    /// Another user's row `frisch` becomes the row read; columns this user has not changed show
    /// its values, typed ones keep the input.
    void frischUebernehmen(const std::vector<QVariant>& frisch)
    {
        for (size_t i = 0; i < frisch.size() && i < original.size(); ++i)
            if (gleicherWert(zeile.werte[i], original[i]))
                zeile.werte.setzen(i, frisch[i]);
        original = frisch;
    }
};
