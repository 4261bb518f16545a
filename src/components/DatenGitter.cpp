#include "DatenGitter.h"

#include "DatenGitterModell.h"
#include "FehlerWeitergabe.h"
#include "GitterDelegate.h"
#include "TDataSource.h"
#include "TKADaoTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QStandardItemModel>

namespace {

// The row indicator at the left: a triangle at the current row, "I" while it is being edited,
// "*" while it is a new row.
class TZeilenIndikator : public QHeaderView
{
public:
    explicit TZeilenIndikator(TDatenGitter* gitter)
        : QHeaderView(Qt::Vertical, gitter)
        , m_gitter(gitter)
    {
        setFixedWidth(Breite);
        setSectionResizeMode(QHeaderView::Fixed);
        setHighlightSections(false);
    }

    static constexpr int Breite = 12;

protected:
    void paintSection(QPainter* maler, const QRect& rechteck, int zeile) const override
    {
        maler->save();
        maler->fillRect(rechteck, FarbeAusCode(Farbcode::Schaltflaeche));
        maler->setPen(palette().color(QPalette::Mid));
        maler->drawLine(rechteck.topRight(), rechteck.bottomRight());
        maler->drawLine(rechteck.bottomLeft(), rechteck.bottomRight());
        if (m_gitter->currentIndex().isValid() && m_gitter->currentIndex().row() == zeile) {
            const int zustand = model() ? model()->headerData(zeile, Qt::Vertical, GitterRolle::Zeilenzustand).toInt() : 0;
            maler->setPen(Qt::black);
            maler->setBrush(Qt::black);
            const QPoint mitte = rechteck.center();
            if (zustand == 0) {
                const QPoint dreieck[] = {{mitte.x() - 2, mitte.y() - 4}, {mitte.x() + 2, mitte.y()},
                                          {mitte.x() - 2, mitte.y() + 4}};
                maler->drawPolygon(dreieck, 3);
            } else {
                maler->drawText(rechteck, Qt::AlignCenter, zustand == 1 ? QStringLiteral("I") : QStringLiteral("*"));
            }
        }
        maler->restore();
    }

private:
    TDatenGitter* m_gitter;
};

} // namespace

TDatenGitter::TDatenGitter(QWidget* parent)
    : QTableView(parent)
    , m_delegate(new TGitterDelegate(this))
    , m_markierfarbe(palette().color(QPalette::Highlight))
    , m_markierfarbeOhneFokus(palette().color(QPalette::Inactive, QPalette::Highlight))
    , m_markiertextfarbe(palette().color(QPalette::HighlightedText))
    , m_gitterfarbe(FarbeAusCode(Farbcode::Schaltflaeche))
{
    setItemDelegate(m_delegate);
    setVerticalHeader(new TZeilenIndikator(this));
    setShowGrid(false);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* kopf = horizontalHeader();
    kopf->setMinimumSectionSize(KleinsteSpaltenbreite);
    kopf->setSectionResizeMode(QHeaderView::Interactive);
    kopf->setHighlightSections(false);
    kopf->setSectionsMovable(false);
    kopf->setStretchLastSection(false);
    connect(kopf, &QHeaderView::sectionResized, this, [this](int index, int, int neu) {
        // Hiding a column resizes it to 0; its width stays what it was.
        if (neu > 0 && index < m_spalten.size())
            m_spalten[index]->m_breite = neu;
        emit spaltenGeaendert();
    });
    connect(kopf, &QHeaderView::sectionMoved, this, [this] { emit spaltenGeaendert(); });

    verticalHeader()->setMinimumSectionSize(1);
    setZeilenHoehe(18);
    setZeilenIndikator(true);
}

TDatenGitter::~TDatenGitter() = default;

TGitterSpalte* TDatenGitter::spalteHinzufuegen(TSpaltenArt art, const QString& feld, const QString& titel, int breite)
{
    auto* spalte = new TGitterSpalte(this, static_cast<int>(m_spalten.size()), art, feld, titel);
    spalte->m_breite = qMax(breite, KleinsteSpaltenbreite);
    m_spalten.append(spalte);
    connect(spalte, &TGitterSpalte::geaendert, viewport(), qOverload<>(&QWidget::update));
    if (m_datenModell)
        m_datenModell->spaltenNeu();
    spaltenAufKopfAnwenden();
    return spalte;
}

TGitterSpalte* TDatenGitter::spalte(int index) const
{
    return (index >= 0 && index < m_spalten.size()) ? m_spalten.at(index) : nullptr;
}

TGitterSpalte* TDatenGitter::spalteNachId(const QString& id) const
{
    for (TGitterSpalte* spalte : m_spalten)
        if (spalte->spaltenId() == id)
            return spalte;
    return nullptr;
}

void TDatenGitter::setDatenquelle(TDataSource* quelle)
{
    if (!m_datenModell)
        m_datenModell = new TDatenGitterModell(this);
    if (TDataSource* alt = m_datenModell->datenquelle())
        disconnect(alt, nullptr, this, nullptr);
    m_datenModell->setDatenquelle(quelle);
    if (model() != m_datenModell)
        setModel(m_datenModell);
    if (quelle) {
        // The model connected first, so it has the new rows when the grid looks for its row.
        connect(quelle, &TDataSource::Scrolled, this, &TDatenGitter::datensatzZeileZeigen);
        connect(quelle, &TDataSource::RowsReset, this, [this] { datensatzZeileZeigen(datensatzZeile()); });
        connect(quelle, &TDataSource::RowsInserted, this, [this] { datensatzZeileZeigen(datensatzZeile()); });
        connect(quelle, &TDataSource::RowsRemoved, this, [this] { datensatzZeileZeigen(datensatzZeile()); });
        // A post takes what is typed in an open cell editor, as the user expects of a grid.
        connect(quelle, &TDataSource::UpdateData, this, &TDatenGitter::offeneEingabeUebernehmen);
    }
    datensatzZeileZeigen(datensatzZeile());
}

bool TDatenGitter::eingabeOffen() const
{
    return m_delegate->offenerEditor() != nullptr;
}

void TDatenGitter::offeneEingabeUebernehmen()
{
    QWidget* editor = m_delegate->offenerEditor();
    TKADaoTable* ds = m_datenModell ? m_datenModell->datenmenge() : nullptr;
    if (!editor || !ds || !ds->Active())
        return;
    if (ds->State() != TDataSetState::dsBrowse || ds->IsEmpty()) {
        commitData(editor);
        return;
    }
    // The typed value is taken out of the editor first: putting the row into edit reads it
    // again, and the view then shows the stored value in the open editor. A failure of Edit
    // (a lock) passes to the caller and leaves the editor as it is.
    QStandardItemModel zwischen(1, 1);
    m_delegate->setModelData(editor, &zwischen, zwischen.index(0, 0));
    const QModelIndex zelle = currentIndex();
    ds->Edit();
    model()->setData(zelle, zwischen.data(zwischen.index(0, 0), Qt::EditRole), Qt::EditRole);
}

int TDatenGitter::datensatzZeile() const
{
    const TKADaoTable* ds = m_datenModell ? m_datenModell->datenmenge() : nullptr;
    return (ds && ds->Active()) ? ds->CurrentRow() : -1;
}

TDataSource* TDatenGitter::datenquelle() const
{
    return m_datenModell ? m_datenModell->datenquelle() : nullptr;
}

void TDatenGitter::datensatzZeileZeigen(int zeile)
{
    if (!model() || !selectionModel())
        return;
    m_folgtDatensatz = true;
    if (zeile >= 0 && zeile < model()->rowCount()) {
        int spalte = currentIndex().isValid() ? currentIndex().column() : -1;
        for (int sichtbar = 0; spalte < 0 && sichtbar < horizontalHeader()->count(); ++sichtbar)
            if (!horizontalHeader()->isSectionHidden(horizontalHeader()->logicalIndex(sichtbar)))
                spalte = horizontalHeader()->logicalIndex(sichtbar);
        const QModelIndex ziel = model()->index(zeile, qMax(0, spalte));
        if (ziel != currentIndex() || !selectionModel()->isRowSelected(zeile, {}))
            setCurrentIndex(ziel);
        scrollTo(ziel);
    } else {
        selectionModel()->clear();
    }
    m_folgtDatensatz = false;
    verticalHeader()->viewport()->update();
}

void TDatenGitter::setModel(QAbstractItemModel* modell)
{
    if (QAbstractItemModel* alt = model())
        disconnect(alt, nullptr, this, nullptr);
    QTableView::setModel(modell);
    if (modell) {
        // Columns the header gets later take their widths and visibility from the definitions.
        connect(modell, &QAbstractItemModel::columnsInserted, this, &TDatenGitter::spaltenAufKopfAnwenden);
        connect(modell, &QAbstractItemModel::modelReset, this, &TDatenGitter::spaltenAufKopfAnwenden);
    }
    spaltenAufKopfAnwenden();
}

void TDatenGitter::spaltenAufKopfAnwenden()
{
    QHeaderView* kopf = horizontalHeader();
    for (TGitterSpalte* spalte : m_spalten) {
        if (spalte->m_index >= kopf->count())
            continue;
        kopf->setSectionHidden(spalte->m_index, !spalte->m_sichtbar);
        if (spalte->m_sichtbar)
            kopf->resizeSection(spalte->m_index, spalte->m_breite);
    }
    // Positions set before the header had the columns, from the left.
    QList<TGitterSpalte*> wartend;
    for (TGitterSpalte* spalte : m_spalten)
        if (spalte->m_position >= 0 && spalte->m_index < kopf->count())
            wartend.append(spalte);
    std::stable_sort(wartend.begin(), wartend.end(),
                     [](const TGitterSpalte* a, const TGitterSpalte* b) { return a->m_position < b->m_position; });
    for (TGitterSpalte* spalte : wartend)
        if (kopf->visualIndex(spalte->m_index) != spalte->m_position)
            spalte->setPosition(spalte->m_position);
}

void TDatenGitter::setKopfHoehe(int hoehe)
{
    horizontalHeader()->setFixedHeight(hoehe);
}

int TDatenGitter::kopfHoehe() const
{
    return horizontalHeader()->height();
}

void TDatenGitter::setZeilenHoehe(int hoehe)
{
    verticalHeader()->setDefaultSectionSize(hoehe);
}

int TDatenGitter::zeilenHoehe() const
{
    return verticalHeader()->defaultSectionSize();
}

void TDatenGitter::setZeilenHoeheAenderbar(bool aenderbar)
{
    verticalHeader()->setSectionResizeMode(aenderbar ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TDatenGitter::setZeilenIndikator(bool sichtbar)
{
    verticalHeader()->setVisible(sichtbar);
}

bool TDatenGitter::zeilenIndikator() const
{
    return !verticalHeader()->isHidden();
}

void TDatenGitter::setGitterlinienNurAktiveZeilen(bool nurAktive)
{
    m_nurAktiveZeilen = nurAktive;
    viewport()->update();
}

void TDatenGitter::setGanzeZeileMarkieren(bool ganzeZeile)
{
    setSelectionBehavior(ganzeZeile ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void TDatenGitter::setMarkierfarbe(const QColor& farbe)
{
    m_markierfarbe = farbe;
    viewport()->update();
}

void TDatenGitter::setMarkierfarbeOhneFokus(const QColor& farbe)
{
    m_markierfarbeOhneFokus = farbe;
    viewport()->update();
}

void TDatenGitter::setMarkiertextfarbe(const QColor& farbe)
{
    m_markiertextfarbe = farbe;
    viewport()->update();
}

void TDatenGitter::setMarkierungZeichnen(bool zeichnen)
{
    m_markierungZeichnen = zeichnen;
    viewport()->update();
}

void TDatenGitter::setFetteMarkierung(bool fett)
{
    m_fetteMarkierung = fett;
    viewport()->update();
}

void TDatenGitter::setSpaltenVerschiebbar(bool verschiebbar)
{
    horizontalHeader()->setSectionsMovable(verschiebbar);
}

void TDatenGitter::setSpaltenBreiteAenderbar(bool aenderbar)
{
    horizontalHeader()->setSectionResizeMode(aenderbar ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TDatenGitter::setSortierteSpalteDunkler(bool dunkler)
{
    m_sortierteDunkler = dunkler;
    viewport()->update();
}

void TDatenGitter::setGitterfarbe(const QColor& farbe)
{
    m_gitterfarbe = farbe;
    viewport()->update();
}

void TDatenGitter::setNurLesen(bool nurLesen)
{
    m_nurLesen = nurLesen;
    if (nurLesen)
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    else
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                        | QAbstractItemView::EditKeyPressed);
}

void TDatenGitter::setZellFaerbung(TZellFaerbung faerbung)
{
    m_faerbung = std::move(faerbung);
    viewport()->update();
}

TSpaltenLayout TDatenGitter::spaltenLayout(const QString& id) const
{
    TSpaltenLayout layout;
    if (const TGitterSpalte* spalte = spalteNachId(id)) {
        layout.Position = spalte->position();
        layout.Width = spalte->breite();
        layout.Visible = spalte->sichtbar();
        layout.Color = spalte->farbe();
        layout.Fontcolor = spalte->schriftfarbe();
    }
    return layout;
}

void TDatenGitter::spaltenLayoutAnwenden(const QString& id, const TSpaltenLayout& layout)
{
    TGitterSpalte* spalte = spalteNachId(id);
    if (!spalte)
        return;
    spalte->setPosition(layout.Position);
    spalte->setBreite(layout.Width);
    spalte->setSichtbar(layout.Visible);
    spalte->setFarbe(layout.Color);
    spalte->setSchriftfarbe(layout.Fontcolor);
}

TDatenGitter::Zellbild TDatenGitter::zellbild(const QModelIndex& index, bool markiert) const
{
    Zellbild bild;
    const TGitterSpalte* spalte = this->spalte(index.column());
    bild.hintergrund = spalte ? FarbeAusCode(spalte->farbe()) : palette().color(QPalette::Base);
    bild.text = spalte ? FarbeAusCode(spalte->schriftfarbe()) : palette().color(QPalette::Text);
    bild.gitter = m_gitterfarbe;

    // What the grid does not draw as selected or focused is not reported so either.
    const bool zeigtMarkiert = markiert && m_markierungZeichnen;
    const QWidget* fokus = QApplication::focusWidget();
    const bool gitterFokus = fokus && (fokus == this || isAncestorOf(fokus));
    if (zeigtMarkiert)
        bild.zustand |= TZellZustand::Markiert;
    if (zeigtMarkiert && m_fetteMarkierung)
        bild.zustand |= TZellZustand::FettMarkiert;
    if (m_markierungZeichnen && gitterFokus && index.row() == currentIndex().row()
        && (selectionBehavior() == QAbstractItemView::SelectRows || index.column() == currentIndex().column()))
        bild.zustand |= TZellZustand::Fokussiert;

    if (m_faerbung)
        m_faerbung(const_cast<TGitterSpalte*>(spalte), index.row(), bild.hintergrund, bild.gitter, bild.zustand);

    if (m_sortierteDunkler && isSortingEnabled() && horizontalHeader()->sortIndicatorSection() == index.column())
        bild.hintergrund = bild.hintergrund.darker(110);
    if (zeigtMarkiert) {
        bild.hintergrund = gitterFokus ? m_markierfarbe : m_markierfarbeOhneFokus;
        bild.text = m_markiertextfarbe;
        bild.fett = m_fetteMarkierung;
    }
    return bild;
}

void TDatenGitter::currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher)
{
    QTableView::currentChanged(aktuell, vorher);
    TKADaoTable* ds = (m_datenModell && model() == m_datenModell) ? m_datenModell->datenmenge() : nullptr;
    if (ds && ds->Active() && !m_folgtDatensatz && !m_datenModell->imUmbau() && aktuell.isValid()
        && aktuell.row() != ds->CurrentRow()) {
        // The user moved to another row: the dataset follows, posting a pending edit first.
        m_folgtDatensatz = true;
        try {
            ds->MoveToRow(aktuell.row());
        } catch (...) {
            // The grid goes back to the dataset's row; the error is shown from the event loop.
            m_folgtDatensatz = false;
            QMetaObject::invokeMethod(
                this, [this] { datensatzZeileZeigen(datensatzZeile()); }, Qt::QueuedConnection);
            FehlerWeitergeben(std::current_exception());
            return;
        }
        m_folgtDatensatz = false;
    }
    verticalHeader()->viewport()->update();
    if (aktuell.row() != vorher.row())
        viewport()->update();
}

void TDatenGitter::focusInEvent(QFocusEvent* ereignis)
{
    QTableView::focusInEvent(ereignis);
    viewport()->update();
}

void TDatenGitter::focusOutEvent(QFocusEvent* ereignis)
{
    QTableView::focusOutEvent(ereignis);
    viewport()->update();
}

void TDatenGitter::paintEvent(QPaintEvent* ereignis)
{
    QTableView::paintEvent(ereignis);
    if (!m_nurAktiveZeilen)
        leerenBereichZeichnen();
}

void TDatenGitter::leerenBereichZeichnen()
{
    // Below the last row the grid continues its lines over empty cells; the hook colours them
    // with the "empty" state.
    const int zeilen = model() ? model()->rowCount(rootIndex()) : 0;
    const int oben = zeilen > 0 ? rowViewportPosition(zeilen - 1) + rowHeight(zeilen - 1) : 0;
    const int hoehe = zeilenHoehe();
    if (oben >= viewport()->height() || hoehe <= 0)
        return;
    QPainter maler(viewport());
    QHeaderView* kopf = horizontalHeader();
    for (int y = oben; y < viewport()->height(); y += hoehe) {
        for (int sichtbar = 0; sichtbar < kopf->count(); ++sichtbar) {
            const int logisch = kopf->logicalIndex(sichtbar);
            if (kopf->isSectionHidden(logisch))
                continue;
            const QRect zelle(columnViewportPosition(logisch), y, columnWidth(logisch), hoehe);
            if (zelle.right() < 0 || zelle.left() > viewport()->width())
                continue;
            const int zeile = (y - oben) / hoehe + zeilen;
            Zellbild bild;
            bild.hintergrund = FarbeAusCode(spalte(logisch) ? spalte(logisch)->farbe() : Farbcode::Fensterhintergrund);
            bild.gitter = m_gitterfarbe;
            bild.zustand = TZellZustand::Leer;
            if (m_faerbung)
                m_faerbung(spalte(logisch), zeile, bild.hintergrund, bild.gitter, bild.zustand);
            maler.fillRect(zelle, bild.hintergrund);
            maler.setPen(bild.gitter);
            maler.drawLine(zelle.topRight() + QPoint(-1, 0), zelle.bottomRight() + QPoint(-1, -1));
            maler.drawLine(zelle.bottomLeft() + QPoint(0, -1), zelle.bottomRight() + QPoint(-1, -1));
        }
    }
}
