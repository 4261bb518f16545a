#include "FeldVerbindung.h"

#include "FehlerWeitergabe.h"
#include "TDataSource.h"
#include "TKADaoTable.h"

#include <QScopedValueRollback>

TFeldVerbindung::TFeldVerbindung(QObject* besitzer)
    : QObject(besitzer)
{
}

void TFeldVerbindung::setDatenquelle(TDataSource* quelle)
{
    if (m_quelle)
        disconnect(m_quelle, nullptr, this, nullptr);
    m_quelle = quelle;
    if (quelle) {
        // The control that is writing already shows what it wrote; only the others re-read.
        auto neuZeigen = [this] {
            if (!m_schreibt)
                emit anzeigen();
        };
        connect(quelle, &TDataSource::DataChange, this, [this](TField* feld) {
            if (!m_schreibt && (!feld || feld->FieldName().compare(m_feld, Qt::CaseInsensitive) == 0))
                emit anzeigen();
        });
        connect(quelle, &TDataSource::Scrolled, this, neuZeigen);
        connect(quelle, &TDataSource::RowsReset, this, neuZeigen);
        connect(quelle, &TDataSource::StateChange, this, [this] {
            if (!m_schreibt) {
                emit anzeigen();
                emit zustandGeaendert();
            }
        });
        connect(quelle, &TDataSource::UpdateData, this, &TFeldVerbindung::uebernehmen);
    }
    emit anzeigen();
}

void TFeldVerbindung::setFeld(const QString& feld)
{
    m_feld = feld;
    emit anzeigen();
}

TKADaoTable* TFeldVerbindung::datenmenge() const
{
    return m_quelle ? m_quelle->DataSet() : nullptr;
}

TField* TFeldVerbindung::feldObjekt() const
{
    TKADaoTable* ds = datenmenge();
    if (!ds || !ds->Active() || m_feld.isEmpty())
        return nullptr;
    return ds->FindField(m_feld);
}

QVariant TFeldVerbindung::wert() const
{
    TField* feld = feldObjekt();
    if (!feld || feld->DataSet()->IsEmpty())
        return {};
    return feld->Value();
}

int TFeldVerbindung::feldbreite() const
{
    const TField* feld = feldObjekt();
    return (feld && feld->DataType() == TFieldType::ftString) ? feld->Size() : 0;
}

bool TFeldVerbindung::bearbeitet() const
{
    const TKADaoTable* ds = datenmenge();
    return ds && (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert);
}

void TFeldVerbindung::schreiben(const QVariant& wert)
{
    TKADaoTable* ds = datenmenge();
    if (!ds || m_feld.isEmpty())
        return;
    // The control that writes shows the value already; it must not be reset by its own echo.
    const QScopedValueRollback<bool> schreibt(m_schreibt, true);
    TField* feld = ds->FieldByName(m_feld);
    if (ds->State() == TDataSetState::dsBrowse)
        ds->Edit();
    feld->setValue(wert);
}

void TFeldVerbindung::schreibenAusEreignis(const QVariant& wert)
{
    try {
        schreiben(wert);
    } catch (...) {
        emit anzeigen();
        FehlerWeitergeben(std::current_exception());
    }
}

void TFeldVerbindung::bearbeitenBeginnen()
{
    TKADaoTable* ds = datenmenge();
    if (!ds || ds->State() != TDataSetState::dsBrowse)
        return;
    try {
        const QScopedValueRollback<bool> schreibt(m_schreibt, true);
        ds->Edit();
    } catch (...) {
        emit anzeigen();
        FehlerWeitergeben(std::current_exception());
    }
}
