#pragma once

#include "Ableitungsstand.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

class TField;
class TKADaoTable;

/// The derived fields of a dataset, those after its stored columns: lookup fields, each the
/// value of a column of another dataset in the row whose key equals a field of this one, and
/// calculated ones, which the dataset's OnCalcFields sets. Here: the datasets looked up in,
/// the stand a row's derived values hold for (the dataset's own invalidations and the change
/// counts of those datasets, see Ableitungsstand), a row's lookup values, and which rows a
/// notice of a looked-up dataset concerns. The dataset calls it and tells its controls.
class AbgeleiteteFelder
{
public:
    /// Takes the derived fields of `datenmenge` (its fields from `erstes` on, after the stored
    /// columns) as they are once it is open.
    void bilden(const TKADaoTable& datenmenge, int erstes);
    void leeren();

    /// The datasets looked up in, each once.
    const QList<QPointer<TKADaoTable>>& quellen() const { return m_quellen; }

    /// The stand derived values worked out now hold for.
    quint64 stand() const;
    /// Every row's derived values are out of date (its rows were read again).
    void verwerfen() { m_ableitung.verwerfen(); }
    /// A looked-up dataset went away.
    void quelleEntfernt() { m_ableitung.quelleEntfernt(); }

    /// The lookup values of a row, one per derived field (a calculated one empty); `wertVon`
    /// gives the row's value of one of the dataset's fields.
    std::vector<QVariant> nachschlagen(const std::function<QVariant(int feld)>& wertVon) const;

    /// The rows of `quelle` with `feld` equal to some value were read again: the fields of this
    /// dataset whose rows with that value are concerned, or none when any row may be (a lookup
    /// by another field than `eigenerSchluessel`, the dataset's key).
    std::optional<std::vector<int>> betroffeneSchluessel(const TKADaoTable* quelle, const QString& feld,
                                                         int eigenerSchluessel) const;

private:
    struct Nachschlag
    {
        size_t platz = 0;             // among the derived fields
        TField* feld = nullptr;
        QPointer<TKADaoTable> quelle;
        QString quellSchluessel;      // the looked-up dataset's key field
        QString quellErgebnis;        // its field whose value is taken
        int schluessel = -1;          // this dataset's field holding the key
    };

    std::vector<Nachschlag> m_nachschlaege;
    size_t m_anzahl = 0;              // derived fields
    QList<QPointer<TKADaoTable>> m_quellen;
    Ableitungsstand m_ableitung;
};
