#include "AbgeleiteteFelder.h"

#include "TField.h"
#include "TKADaoTable.h"

void AbgeleiteteFelder::bilden(const TKADaoTable& datenmenge, int erstes)
{
    leeren();
    const auto anzahl = size_t(datenmenge.FieldCount());
    m_anzahl = anzahl > size_t(erstes) ? anzahl - size_t(erstes) : 0;
    for (size_t i = size_t(erstes); i < anzahl; ++i) {
        TField* feld = datenmenge.Field(int(i));
        if (feld->m_kind != TFieldKind::fkLookup)
            continue;
        m_nachschlaege.push_back({i - size_t(erstes), feld, feld->m_lookupDataSet, feld->m_lookupKeyFields,
                                  feld->m_lookupResultField, feld->m_schluesselIndex});
        TKADaoTable* quelle = feld->m_lookupDataSet;
        if (quelle && !m_quellen.contains(QPointer<TKADaoTable>(quelle)))
            m_quellen << quelle;
    }
}

void AbgeleiteteFelder::leeren()
{
    m_nachschlaege.clear();
    m_quellen.clear();
    m_anzahl = 0;
}

quint64 AbgeleiteteFelder::stand() const
{
    quint64 summe = 0;
    for (const auto& quelle : m_quellen)
        if (quelle)
            summe += quelle->Inhaltsstand();
    return m_ableitung.stand(summe);
}

std::vector<QVariant> AbgeleiteteFelder::nachschlagen(const std::function<QVariant(int)>& wertVon) const
{
    std::vector<QVariant> werte(m_anzahl);
    for (const Nachschlag& n : m_nachschlaege) {
        const TKADaoTable* quelle = n.quelle;
        if (!quelle || !quelle->Active() || n.schluessel < 0)
            continue;
        const TField* schluessel = quelle->FindField(n.quellSchluessel);
        const TField* ergebnis = quelle->FindField(n.quellErgebnis);
        if (!schluessel || !ergebnis)
            continue;
        const int zeile = quelle->FindRow(schluessel->Index(), wertVon(n.schluessel));
        if (zeile >= 0)
            werte[n.platz] = n.feld->typisiert(quelle->RowValue(zeile, ergebnis->Index()));
    }
    return werte;
}

std::optional<std::vector<int>> AbgeleiteteFelder::betroffeneSchluessel(const TKADaoTable* quelle, const QString& feld,
                                                                        int eigenerSchluessel) const
{
    std::vector<int> felder;
    for (const Nachschlag& n : m_nachschlaege) {
        if (n.quelle != quelle)
            continue;
        // Only a lookup by this dataset's own key finds the one row concerned; any other may
        // concern many rows.
        if (n.quellSchluessel.compare(feld, Qt::CaseInsensitive) != 0 || n.schluessel < 0 || n.schluessel != eigenerSchluessel)
            return std::nullopt;
        felder.push_back(n.schluessel);
    }
    return felder;
}
