#include "ListenVerbindung.h"

#include "TDataSource.h"
#include "TKADaoTable.h"

TListenVerbindung::TListenVerbindung(QObject* besitzer)
    : QObject(besitzer)
{
}

void TListenVerbindung::setListe(TDataSource* liste, const QString& schluessel, const QString& anzeige)
{
    if (m_liste)
        disconnect(m_liste, nullptr, this, nullptr);
    m_liste = liste;
    m_schluessel = schluessel;
    m_anzeige = anzeige;
    if (liste) {
        connect(liste, &TDataSource::RowsReset, this, &TListenVerbindung::verwerfen);
        connect(liste, &TDataSource::RowsInserted, this, &TListenVerbindung::verwerfen);
        connect(liste, &TDataSource::RowsRemoved, this, &TListenVerbindung::verwerfen);
        connect(liste, &TDataSource::RowsChanged, this, &TListenVerbindung::verwerfen);
    }
    verwerfen();
}

void TListenVerbindung::verwerfen()
{
    m_gelesen = false;
    m_eintraege.clear();
    emit geaendert();
}

const QList<TListenEintrag>& TListenVerbindung::eintraege() const
{
    if (m_gelesen)
        return m_eintraege;
    m_gelesen = true;
    const TKADaoTable* ds = m_liste ? m_liste->DataSet() : nullptr;
    const TField* schluessel = ds && ds->Active() ? ds->FindField(m_schluessel) : nullptr;
    const TField* anzeige = ds && ds->Active() ? ds->FindField(m_anzeige) : nullptr;
    if (!schluessel || !anzeige)
        return m_eintraege;
    const int anzahl = ds->RowCount();
    m_eintraege.reserve(anzahl);
    for (int zeile = 0; zeile < anzahl; ++zeile) {
        // A new list row without its key yet cannot be chosen.
        const QVariant wert = ds->RowValue(zeile, schluessel->Index());
        if (wert.isValid() && !wert.isNull())
            m_eintraege.append({wert, anzeige->Text(ds->RowValue(zeile, anzeige->Index()))});
    }
    return m_eintraege;
}

QString TListenVerbindung::textZu(const QVariant& schluessel) const
{
    const TKADaoTable* ds = m_liste ? m_liste->DataSet() : nullptr;
    if (!ds || !ds->Active() || !schluessel.isValid() || schluessel.isNull())
        return {};
    const TField* schluesselFeld = ds->FindField(m_schluessel);
    const TField* anzeige = ds->FindField(m_anzeige);
    if (!schluesselFeld || !anzeige)
        return {};
    const int zeile = ds->FindRow(schluesselFeld->Index(), schluessel);
    return zeile < 0 ? QString() : anzeige->Text(ds->RowValue(zeile, anzeige->Index()));
}

TDataSource* TListenVerbindung::liste() const
{
    return m_liste;
}
