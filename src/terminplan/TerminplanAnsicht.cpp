#include "TerminplanAnsicht.h"

#include "Oberflaechenschrift.h"
#include "RangFarbe.h"
#include "TDataSource.h"
#include "TField.h"
#include "TKADaoTable.h"
#include "Zeilenfarbe.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {

const QColor Linienfarbe(220, 220, 220);
const QColor Wochenendfarbe(0, 0, 0, 16);
const QColor Heutefarbe(210, 0, 0);
const QColor Kopffarbe(242, 242, 242);

QDate datumAus(const QVariant& wert)
{
    if (wert.isNull())
        return {};
    return wert.typeId() == QMetaType::QDate ? wert.toDate() : wert.toDateTime().date();
}

QString datumText(const QDate& tag)
{
    return tag.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

TTerminplanAnsicht::TTerminplanAnsicht(QWidget* parent)
    : QAbstractScrollArea(parent), m_markierfarbe(FarbeAusCode(0x00F5E0DC)), m_heute(QDate::currentDate())
{
    setFont(Oberflaechenschrift(8));
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(false);
    horizontalScrollBar()->setSingleStep(m_geometrie.masse().pixelProTag);
    verticalScrollBar()->setSingleStep(m_geometrie.masse().zeilenHoehe);
}

TTerminplanAnsicht::~TTerminplanAnsicht() = default;

void TTerminplanAnsicht::setDatenquelle(TDataSource* quelle)
{
    if (m_quelle)
        disconnect(m_quelle, nullptr, this, nullptr);
    m_quelle = quelle;
    if (quelle) {
        // A new set of rows (another project) starts at today; edits keep the place.
        connect(quelle, &TDataSource::RowsReset, this, [this] {
            m_heuteZeigen = true;
            aendern();
        });
        for (auto signal : {&TDataSource::RowsInserted, &TDataSource::RowsRemoved, &TDataSource::StateChange})
            connect(quelle, signal, this, &TTerminplanAnsicht::aendern);
        connect(quelle, &TDataSource::RowsChanged, this, &TTerminplanAnsicht::aendern);
        // A typed date moves its bar at once.
        connect(quelle, &TDataSource::DataChange, this, &TTerminplanAnsicht::aendern);
        connect(quelle, &TDataSource::Scrolled, this, [this](int zeile) {
            m_aktuelleZeile = zeile;
            viewport()->update();
        });
    }
    m_heuteZeigen = true;
    aendern();
}

void TTerminplanAnsicht::setHoechsterRang(int rang)
{
    m_hoechsterRang = rang;
    viewport()->update();
}

void TTerminplanAnsicht::setMarkierfarbe(const QColor& farbe)
{
    m_markierfarbe = farbe;
    viewport()->update();
}

void TTerminplanAnsicht::setHeute(const QDate& heute)
{
    m_heute = heute;
    m_heuteZeigen = true;
    aendern();
}

TKADaoTable* TTerminplanAnsicht::datenmenge() const
{
    if (!m_quelle || !m_quelle->Enabled() || !m_quelle->DataSet() || !m_quelle->DataSet()->Active())
        return nullptr;
    return m_quelle->DataSet();
}

void TTerminplanAnsicht::aendern()
{
    // A page behind the task grid need not follow every keystroke; it catches up when shown.
    m_veraltet = true;
    if (isVisible())
        neuLesen();
}

void TTerminplanAnsicht::neuLesen()
{
    m_veraltet = false;
    std::vector<TTerminplanEintrag> eintraege;
    m_raenge.clear();
    m_aktuelleZeile = -1;
    if (TKADaoTable* tabelle = datenmenge()) {
        const auto feld = [tabelle](const char* name) {
            const TField* f = tabelle->FindField(QLatin1String(name));
            return f ? f->Index() : -1;
        };
        const int text = feld("Bezeichnung");
        const int von = feld("Datum_von");
        const int bis = feld("Datum_bis");
        const int rang = feld("Rang");
        const auto wert = [tabelle](int zeile, int f) { return f < 0 ? QVariant() : tabelle->RowValue(zeile, f); };
        const int anzahl = tabelle->RowCount();
        eintraege.reserve(size_t(anzahl));
        m_raenge.reserve(size_t(anzahl));
        for (int z = 0; z < anzahl; ++z) {
            eintraege.push_back({wert(z, text).toString(), datumAus(wert(z, von)), datumAus(wert(z, bis))});
            m_raenge.push_back(wert(z, rang));
        }
        m_aktuelleZeile = tabelle->CurrentRow();
    }
    m_geometrie = TTerminplanGeometrie(std::move(eintraege), m_heute, m_geometrie.masse(), mindestBis());
    bereicheSetzen();
    if (m_heuteZeigen) {
        m_heuteZeigen = false;
        tagZeigen(m_heute);
    }
    viewport()->update();
}

void TTerminplanAnsicht::tagZeigen(const QDate& tag)
{
    horizontalScrollBar()->setValue(m_geometrie.x(tag.addDays(-7)));
}

void TTerminplanAnsicht::bereicheSetzen()
{
    const QSize platz = viewport()->size();
    const int sichtbarBreit = std::max(0, platz.width() - NamensBreite);
    horizontalScrollBar()->setRange(0, std::max(0, m_geometrie.breite() - sichtbarBreit));
    horizontalScrollBar()->setPageStep(sichtbarBreit);
    const int sichtbarHoch = std::max(0, platz.height() - m_geometrie.masse().kopfHoehe);
    verticalScrollBar()->setRange(0, std::max(0, m_geometrie.hoehe() - platz.height()));
    verticalScrollBar()->setPageStep(sichtbarHoch);
}

QPoint TTerminplanAnsicht::ansichtsPunkt(const QPoint& geometriePunkt) const
{
    return QPoint(geometriePunkt.x() + NamensBreite - horizontalScrollBar()->value(),
                  geometriePunkt.y() - verticalScrollBar()->value());
}

int TTerminplanAnsicht::zeileBei(const QPoint& punkt) const
{
    if (punkt.y() < m_geometrie.masse().kopfHoehe)
        return -1;
    return m_geometrie.zeileBei(punkt.y() + verticalScrollBar()->value());
}

QDate TTerminplanAnsicht::mindestBis() const
{
    // Shown from the week before today, the scale fills the width however few the tasks.
    const int ppt = m_geometrie.masse().pixelProTag;
    return m_heute.addDays(-7 + (std::max(0, viewport()->width() - NamensBreite) + ppt - 1) / ppt);
}

void TTerminplanAnsicht::resizeEvent(QResizeEvent* ereignis)
{
    QAbstractScrollArea::resizeEvent(ereignis);
    if (m_geometrie.letzterTag() < mindestBis()) {
        m_geometrie = TTerminplanGeometrie(m_geometrie.eintraege(), m_heute, m_geometrie.masse(), mindestBis());
        viewport()->update();
    }
    bereicheSetzen();
}

void TTerminplanAnsicht::showEvent(QShowEvent* ereignis)
{
    QAbstractScrollArea::showEvent(ereignis);
    if (m_veraltet)
        neuLesen();
}

void TTerminplanAnsicht::mousePressEvent(QMouseEvent* ereignis)
{
    const int zeile = ereignis->button() == Qt::LeftButton ? zeileBei(ereignis->position().toPoint()) : -1;
    TKADaoTable* tabelle = datenmenge();
    if (zeile < 0 || !tabelle) {
        QAbstractScrollArea::mousePressEvent(ereignis);
        return;
    }
    if (zeile != tabelle->CurrentRow())
        tabelle->MoveToRow(zeile);
    ereignis->accept();
}

bool TTerminplanAnsicht::viewportEvent(QEvent* ereignis)
{
    if (ereignis->type() == QEvent::ToolTip) {
        auto* hilfe = static_cast<QHelpEvent*>(ereignis);
        const int zeile = zeileBei(hilfe->pos());
        if (zeile >= 0)
            QToolTip::showText(hilfe->globalPos(), tipp(zeile), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(ereignis);
}

QString TTerminplanAnsicht::tipp(int zeile) const
{
    const TTerminplanEintrag& e = m_geometrie.eintraege()[size_t(zeile)];
    const auto tage = TTerminplanGeometrie::tage(e);
    if (!tage)
        return e.text + QStringLiteral("\nohne Termin");
    if (tage->first == tage->second)
        return e.text + QLatin1Char('\n') + datumText(tage->first);
    return e.text + QLatin1Char('\n') + datumText(tage->first) + QStringLiteral(" – ") + datumText(tage->second);
}

void TTerminplanAnsicht::paintEvent(QPaintEvent* /*ereignis*/)
{
    QPainter maler(viewport());
    maler.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    zeilenZeichnen(maler);
    kopfZeichnen(maler);
    namenZeichnen(maler);
    // The corner over the names.
    const int kopf = m_geometrie.masse().kopfHoehe;
    const QRect ecke(0, 0, NamensBreite, kopf);
    maler.fillRect(ecke, Kopffarbe);
    maler.setPen(Qt::black);
    maler.setFont(Oberflaechenschrift(8, true));
    maler.drawText(ecke.adjusted(4, 0, -4, -2), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("AUFGABE"));
    maler.setPen(Linienfarbe.darker(130));
    maler.drawLine(0, kopf - 1, viewport()->width(), kopf - 1);
    maler.drawLine(NamensBreite - 1, 0, NamensBreite - 1, viewport()->height());
}

void TTerminplanAnsicht::zeilenZeichnen(QPainter& maler) const
{
    const TTerminplanGeometrie& g = m_geometrie;
    const int kopf = g.masse().kopfHoehe;
    const int h = horizontalScrollBar()->value();
    const int v = verticalScrollBar()->value();
    maler.save();
    maler.setClipRect(QRect(NamensBreite, kopf, viewport()->width() - NamensBreite, viewport()->height() - kopf));
    maler.translate(NamensBreite - h, -v);
    const int links = h;
    const int rechts = h + viewport()->width() - NamensBreite;
    const int anzahl = int(g.eintraege().size());

    // Rows: the band of every grid and the current task.
    for (int z = 0; z < anzahl; ++z) {
        QRect zeile = g.zeile(z);
        zeile.setLeft(std::max(zeile.left(), links));
        zeile.setRight(std::min(zeile.right(), rechts));
        if (z == m_aktuelleZeile)
            maler.fillRect(zeile, m_markierfarbe);
        else if (z % 2 == 0)
            maler.fillRect(zeile, FarbeAusCode(ZeilenfarbeCode));
    }
    const int unten = std::max(g.hoehe(), v + viewport()->height());
    for (const QRect& wochenende : g.wochenenden())
        if (wochenende.right() >= links && wochenende.left() <= rechts)
            maler.fillRect(QRect(wochenende.left(), kopf, wochenende.width(), unten - kopf), Wochenendfarbe);
    maler.setPen(Linienfarbe);
    for (const TSkalenBeschriftung& woche : g.wochen())
        if (woche.x >= links && woche.x <= rechts)
            maler.drawLine(woche.x, kopf, woche.x, unten);

    maler.setRenderHint(QPainter::Antialiasing);
    for (int z = 0; z < anzahl; ++z) {
        const auto balken = g.balken(z);
        if (!balken) {
            // Said in the row, so an empty row is not taken for a bar scrolled out of sight.
            maler.setPen(QColor(130, 130, 130));
            QFont kursiv = font();
            kursiv.setItalic(true);
            maler.setFont(kursiv);
            maler.drawText(g.zeile(z).adjusted(links - g.zeile(z).left() + 6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           QStringLiteral("ohne Termin"));
            continue;
        }
        if (balken->right() < links || balken->left() > rechts)
            continue;
        const QColor farbe = RangFarbe(z < int(m_raenge.size()) ? m_raenge[size_t(z)] : QVariant(), m_hoechsterRang);
        maler.setPen(QPen(farbe.darker(140), 1));
        maler.setBrush(farbe);
        maler.drawRoundedRect(QRectF(*balken).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    maler.setRenderHint(QPainter::Antialiasing, false);

    maler.setPen(QPen(Heutefarbe, 2));
    maler.drawLine(g.heuteX(), kopf, g.heuteX(), unten);
    maler.restore();
}

void TTerminplanAnsicht::kopfZeichnen(QPainter& maler) const
{
    const TTerminplanGeometrie& g = m_geometrie;
    const int kopf = g.masse().kopfHoehe;
    const int zeile = kopf / 3;
    const int h = horizontalScrollBar()->value();
    const int links = h;
    const int rechts = h + viewport()->width() - NamensBreite;
    maler.save();
    maler.setClipRect(QRect(NamensBreite, 0, viewport()->width() - NamensBreite, kopf));
    maler.fillRect(QRect(NamensBreite, 0, viewport()->width(), kopf), Kopffarbe);
    maler.translate(NamensBreite - h, 0);

    const auto beschriften = [&](const std::vector<TSkalenBeschriftung>& liste, int oben, const QFont& schrift) {
        maler.setFont(schrift);
        const QFontMetrics metrik(schrift);
        for (const TSkalenBeschriftung& b : liste) {
            if (b.x + b.breite < links || b.x > rechts)
                continue;
            // The label stays readable at the left edge while its month or week scrolls by.
            const int anfang = std::max(b.x, links);
            const QRect platz(anfang + 3, oben, b.x + b.breite - anfang - 6, zeile);
            maler.setPen(Qt::black);
            maler.drawText(platz, Qt::AlignLeft | Qt::AlignVCenter, metrik.elidedText(b.text, Qt::ElideRight, platz.width()));
            maler.setPen(Linienfarbe.darker(130));
            maler.drawLine(b.x, oben, b.x, oben + zeile);
        }
    };
    beschriften(g.monate(), 0, Oberflaechenschrift(8, true));
    beschriften(g.wochen(), zeile, Oberflaechenschrift(8));

    // Day numbers, weekends shaded as in the rows, today in red.
    const int ppt = g.masse().pixelProTag;
    const QFont tagSchrift = Oberflaechenschrift(7);
    maler.setFont(tagSchrift);
    for (QDate tag = g.tagBei(links); tag <= g.letzterTag() && g.x(tag) <= rechts; tag = tag.addDays(1)) {
        const QRect zelle(g.x(tag), 2 * zeile, ppt, kopf - 2 * zeile);
        if (tag.dayOfWeek() >= 6)
            maler.fillRect(zelle, Wochenendfarbe);
        maler.setPen(tag == g.heute() ? Heutefarbe : QColor(60, 60, 60));
        maler.drawText(zelle, Qt::AlignCenter, QString::number(tag.day()));
    }
    maler.setPen(QPen(Heutefarbe, 2));
    maler.drawLine(g.heuteX(), 2 * zeile, g.heuteX(), kopf);
    maler.restore();
}

void TTerminplanAnsicht::namenZeichnen(QPainter& maler) const
{
    const TTerminplanGeometrie& g = m_geometrie;
    const int kopf = g.masse().kopfHoehe;
    const int v = verticalScrollBar()->value();
    maler.save();
    maler.setClipRect(QRect(0, kopf, NamensBreite, viewport()->height() - kopf));
    maler.fillRect(QRect(0, kopf, NamensBreite, viewport()->height()), palette().color(QPalette::Base));
    maler.translate(0, -v);
    for (int z = 0; z < int(g.eintraege().size()); ++z) {
        const QRect zeile(0, g.zeile(z).top(), NamensBreite, g.zeile(z).height());
        if (zeile.bottom() < v + kopf || zeile.top() > v + viewport()->height())
            continue;
        if (z == m_aktuelleZeile)
            maler.fillRect(zeile, m_markierfarbe);
        else if (z % 2 == 0)
            maler.fillRect(zeile, FarbeAusCode(ZeilenfarbeCode));
        const QRect text = zeile.adjusted(4, 0, -4, 0);
        maler.setFont(z == m_aktuelleZeile ? Oberflaechenschrift(8, true) : font());
        maler.setPen(Qt::black);
        maler.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                       QFontMetrics(maler.font()).elidedText(g.eintraege()[size_t(z)].text, Qt::ElideRight, text.width()));
    }
    maler.restore();
}
