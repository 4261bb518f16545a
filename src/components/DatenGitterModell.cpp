#include "DatenGitterModell.h"

#include "DBBedienelemente.h"
#include "DatenGitter.h"
#include "Fehler.h"
#include "FehlerWeitergabe.h"
#include "GitterDelegate.h"
#include "ListenVerbindung.h"
#include "TDataSource.h"
#include "TKADaoTable.h"

TDatenGitterModell::TDatenGitterModell(TDatenGitter* gitter)
    : QAbstractTableModel(gitter)
    , m_gitter(gitter)
    , m_spalten(gitter->spaltenAnzahl())
{
}

void TDatenGitterModell::setDatenquelle(TDataSource* quelle)
{
    beginResetModel();
    if (m_quelle)
        disconnect(m_quelle, nullptr, this, nullptr);
    m_quelle = quelle;
    m_felderGueltig = false;
    if (quelle) {
        // While the dataset changes its rows, the view must not move it (the view would do so
        // when its current row goes away); m_umbau tells the grid.
        connect(quelle, &TDataSource::RowsAboutToBeReset, this, [this] {
            m_umbau = true;
            beginResetModel();
        });
        connect(quelle, &TDataSource::RowsReset, this, [this] {
            m_felderGueltig = false;
            endResetModel();
            m_umbau = false;
        });
        connect(quelle, &TDataSource::RowsAboutToBeInserted, this, [this](int erste, int letzte) {
            m_umbau = true;
            beginInsertRows({}, erste, letzte);
        });
        connect(quelle, &TDataSource::RowsInserted, this, [this] {
            endInsertRows();
            m_umbau = false;
        });
        connect(quelle, &TDataSource::RowsAboutToBeRemoved, this, [this](int erste, int letzte) {
            m_umbau = true;
            beginRemoveRows({}, erste, letzte);
        });
        connect(quelle, &TDataSource::RowsRemoved, this, [this] {
            endRemoveRows();
            m_umbau = false;
        });
        // Every change of values comes as RowsChanged of its rows; DataChange (the current row
        // moved or one of its fields changed) says nothing new to a grid, which shows all rows.
        connect(quelle, &TDataSource::RowsChanged, this, &TDatenGitterModell::zeilenAktualisieren);
        connect(quelle, &TDataSource::StateChange, this, [this] {
            const TKADaoTable* ds = datenmenge();
            if (ds && ds->CurrentRow() >= 0 && ds->CurrentRow() < rowCount())
                emit headerDataChanged(Qt::Vertical, ds->CurrentRow(), ds->CurrentRow());
        });
    }
    endResetModel();
}

TKADaoTable* TDatenGitterModell::datenmenge() const
{
    return m_quelle ? m_quelle->DataSet() : nullptr;
}

void TDatenGitterModell::spaltenNeu()
{
    const int neu = m_gitter->spaltenAnzahl();
    for (TListenVerbindung* liste : std::as_const(m_listen))
        liste->deleteLater();
    m_listen.clear();
    m_felderGueltig = false;
    if (neu > m_spalten) {
        beginInsertColumns({}, m_spalten, neu - 1);
        m_spalten = neu;
        endInsertColumns();
    } else {
        beginResetModel();
        m_spalten = neu;
        endResetModel();
    }
}

void TDatenGitterModell::felderZuordnen() const
{
    m_felder.fill(nullptr, m_spalten);
    m_felderGueltig = true;
    const TKADaoTable* ds = datenmenge();
    if (!ds || !ds->Active())
        return;
    for (int i = 0; i < m_spalten; ++i)
        if (const TGitterSpalte* spalte = m_gitter->spalte(i))
            m_felder[i] = ds->FindField(spalte->feld());
}

TField* TDatenGitterModell::feld(int spalte) const
{
    if (!m_felderGueltig || m_felder.size() != m_spalten)
        felderZuordnen();
    return (spalte >= 0 && spalte < m_felder.size()) ? m_felder.at(spalte) : nullptr;
}

TListenVerbindung* TDatenGitterModell::liste(int spalte) const
{
    const TGitterSpalte* definition = m_gitter->spalte(spalte);
    if (!definition || definition->art() != TSpaltenArt::Lookup || !definition->lookupListe())
        return nullptr;
    auto it = m_listen.constFind(spalte);
    if (it != m_listen.constEnd())
        return it.value();
    // Made when first needed; a change of the list repaints the column.
    auto* self = const_cast<TDatenGitterModell*>(this);
    auto* liste = new TListenVerbindung(self);
    liste->setListe(definition->lookupListe(), definition->lookupSchluessel(), definition->lookupAnzeige());
    connect(liste, &TListenVerbindung::geaendert, self, [self, spalte] {
        if (self->rowCount() > 0)
            emit self->dataChanged(self->index(0, spalte), self->index(self->rowCount() - 1, spalte));
    });
    self->m_listen.insert(spalte, liste);
    return liste;
}

bool TDatenGitterModell::gueltig(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rowCount()
        && index.column() < m_spalten;
}

int TDatenGitterModell::rowCount(const QModelIndex& eltern) const
{
    const TKADaoTable* ds = datenmenge();
    if (eltern.isValid() || !ds || !ds->Active())
        return 0;
    return ds->RowCount();
}

int TDatenGitterModell::columnCount(const QModelIndex& eltern) const
{
    return eltern.isValid() ? 0 : m_spalten;
}

QVariant TDatenGitterModell::data(const QModelIndex& index, int rolle) const
{
    if (!gueltig(index))
        return {};
    const TGitterSpalte* spalte = m_gitter->spalte(index.column());
    const TField* f = feld(index.column());
    if (!spalte || !f)
        return {};
    auto wert = [&] {
        // A value a list holds only when looked at may not be readable now (another program
        // holds the database): the cell stays empty until it is drawn again.
        try {
            return datenmenge()->RowValue(index.row(), f->Index());
        } catch (const Fehler&) {
            return QVariant();
        }
    };

    switch (rolle) {
    case Qt::DisplayRole:
        switch (spalte->art()) {
        case TSpaltenArt::Text:
        case TSpaltenArt::Memo:
        case TSpaltenArt::Rang:
            return f->Text(wert());
        case TSpaltenArt::Datum:
            return TDBText::anzeigeText(wert());
        case TSpaltenArt::CheckBox:
            return TGitterDelegate::angehakt(wert(), *spalte) ? spalte->textAn() : spalte->textAus();
        case TSpaltenArt::Lookup: {
            const TListenVerbindung* l = liste(index.column());
            return l ? l->textZu(wert()) : f->Text(wert());
        }
        case TSpaltenArt::Fortschritt:
            return TGitterDelegate::fortschrittText(wert());
        }
        return {};
    case GitterRolle::Rohwert:
    case Qt::EditRole:
        return wert();
    case GitterRolle::Auswahlliste: {
        QVariantList eintraege;
        if (const TListenVerbindung* l = liste(index.column()))
            for (const TListenEintrag& e : l->eintraege())
                eintraege.append(QVariant(QVariantList{e.schluessel, e.text}));
        return eintraege;
    }
    case GitterRolle::Feldbreite:
        return f->DataType() == TFieldType::ftString ? f->Size() : 0;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(spalte->ausrichtung());
    default:
        return {};
    }
}

QVariant TDatenGitterModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const
{
    if (richtung == Qt::Horizontal) {
        const TGitterSpalte* spalte = m_gitter->spalte(abschnitt);
        return (spalte && rolle == Qt::DisplayRole) ? QVariant(spalte->titel()) : QVariant();
    }
    const TKADaoTable* ds = datenmenge();
    if (rolle == GitterRolle::Zeilenzustand && ds && abschnitt == ds->CurrentRow()) {
        if (ds->State() == TDataSetState::dsInsert)
            return 2;
        return ds->State() == TDataSetState::dsEdit ? 1 : 0;
    }
    return {};
}

Qt::ItemFlags TDatenGitterModell::flags(const QModelIndex& index) const
{
    if (!gueltig(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const TGitterSpalte* spalte = m_gitter->spalte(index.column());
    const TField* feld = this->feld(index.column());
    const TKADaoTable* ds = datenmenge();
    if (spalte && spalte->editierbar() && !m_gitter->nurLesen() && feld && !feld->ReadOnly() && ds->CanModify())
        f |= Qt::ItemIsEditable;
    return f;
}

bool TDatenGitterModell::setData(const QModelIndex& index, const QVariant& wert, int rolle)
{
    if (rolle != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const TGitterSpalte* spalte = m_gitter->spalte(index.column());
    TField* f = feld(index.column());
    TKADaoTable* ds = datenmenge();
    try {
        // The edit belongs to the row it was made in; moving there posts what another row had.
        if (ds->CurrentRow() != index.row())
            ds->MoveToRow(index.row());
        QVariant neu = wert;
        if (spalte->art() == TSpaltenArt::CheckBox && f->DataType() == TFieldType::ftString)
            neu = wert.toBool() ? spalte->textAn() : spalte->textAus();
        if (ds->State() == TDataSetState::dsBrowse)
            ds->Edit();
        // The dataset tells the row's change itself.
        f->setValue(neu);
    } catch (...) {
        FehlerWeitergeben(std::current_exception());
        return false;
    }
    return true;
}

void TDatenGitterModell::zeilenAktualisieren(int erste, int letzte)
{
    const int anzahl = rowCount();
    erste = qMax(0, erste);
    letzte = qMin(letzte, anzahl - 1);
    if (erste > letzte || m_spalten == 0)
        return;
    // The row headers show the edit state, which StateChange reports.
    emit dataChanged(index(erste, 0), index(letzte, m_spalten - 1));
}

TDataSource* TDatenGitterModell::datenquelle() const
{
    return m_quelle;
}
