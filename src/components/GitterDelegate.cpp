#include "GitterDelegate.h"

#include "DatenGitter.h"
#include "DatumEdit.h"
#include "RangGlyphe.h"
#include "Textform.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTimer>
#include <cmath>

namespace {

// The field's own value; models without that role give their edit value.
QVariant rohwert(const QModelIndex& index)
{
    const QVariant wert = index.data(GitterRolle::Rohwert);
    return wert.isValid() ? wert : index.data(Qt::EditRole);
}

bool istLeer(const QVariant& wert)
{
    return !wert.isValid() || wert.isNull() || (wert.typeId() == QMetaType::QString && wert.toString().isEmpty());
}

// The percentage a progress cell shows: an empty value (and one that is no number, such as a
// division by zero upstream) counts as 0.
double fortschrittWert(const QVariant& wert)
{
    if (istLeer(wert))
        return 0.0;
    const double prozent = wert.toDouble();
    return std::isfinite(prozent) ? prozent : 0.0;
}

// Values whose digits must stay whole: numbers and dates.
bool istZahlOderDatum(const QVariant& wert)
{
    switch (wert.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return true;
    default:
        return false;
    }
}

// Room left and right of a one-line cell text.
constexpr int TextRand = 2;

const QColor RahmenGrau(128, 128, 128);
const QColor RahmenSilber(192, 192, 192);

} // namespace

TGitterDelegate::TGitterDelegate(TDatenGitter* gitter)
    : QStyledItemDelegate(gitter)
    , m_gitter(gitter)
{
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
        if (editor == m_offenerEditor)
            m_offenerEditor = nullptr;
    });
}

QColor TGitterDelegate::fortschrittFarbe(double wert, double obereGrenze, double untereGrenze)
{
    if (wert >= obereGrenze)
        return FarbeAusCode(0x00008000);
    if (wert > untereGrenze)
        return FarbeAusCode(0x00A6CAF0);
    return FarbeAusCode(0x000000FF);
}

QRect TGitterDelegate::fortschrittInnen(const QRect& zelle, bool verlauf)
{
    // Margin around the border, then the one-pixel border itself.
    const int rand = verlauf ? 3 : 1;
    return zelle.adjusted(rand + 1, rand + 1, -rand - 1, -rand - 1);
}

bool TGitterDelegate::angehakt(const QVariant& wert, const TGitterSpalte& spalte)
{
    // The column's own text for "checked" counts besides the yes every field knows.
    if (wert.typeId() == QMetaType::QString && wert.toString().compare(spalte.textAn(), Qt::CaseInsensitive) == 0)
        return true;
    return Textform::istJa(wert);
}

QString TGitterDelegate::fortschrittText(const QVariant& wert)
{
    const double prozent = fortschrittWert(wert);
    return QStringLiteral("%1%").arg(static_cast<long long>(std::llround(prozent)));
}

void TGitterDelegate::paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    TGitterSpalte* spalte = m_gitter->spalte(index.column());
    if (!spalte) {
        QStyledItemDelegate::paint(maler, option, index);
        return;
    }
    const auto bild = m_gitter->zellbild(index, option.state & QStyle::State_Selected);

    maler->save();
    maler->fillRect(option.rect, bild.hintergrund);
    // The last pixel column and row belong to the grid lines.
    const QRect zelle = option.rect.adjusted(0, 0, -1, -1);
    maler->setFont(zellSchrift(*spalte, bild.fett));
    maler->setPen(bild.text);
    maler->setClipRect(zelle);

    switch (spalte->art()) {
    case TSpaltenArt::Text:
    case TSpaltenArt::Datum:
    case TSpaltenArt::Lookup:
        zeichneText(maler, zelle, sichtbarerText(index, zelle, bild.fett), spalte->ausrichtung());
        break;
    case TSpaltenArt::Memo:
        zeichneMemo(maler, zelle, index.data(Qt::DisplayRole).toString(), spalte->ausrichtung());
        break;
    case TSpaltenArt::CheckBox:
        zeichneCheckBox(maler, zelle, angehakt(rohwert(index), *spalte), spalte->ausrichtung());
        break;
    case TSpaltenArt::Fortschritt:
        zeichneFortschritt(maler, zelle, rohwert(index), *spalte, bild.text);
        break;
    case TSpaltenArt::Rang:
        zeichneRang(maler, zelle, rohwert(index), *spalte);
        break;
    }

    maler->setClipping(false);
    maler->setPen(bild.gitter);
    maler->drawLine(option.rect.topRight(), option.rect.bottomRight());
    maler->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    maler->restore();
}

QFont TGitterDelegate::zellSchrift(const TGitterSpalte& spalte, bool fett) const
{
    // Every attribute set explicitly: the painter would otherwise take unset ones (the weight of
    // a regular column font) from the grid's bold font.
    QFont schrift = spalte.schrift();
    schrift.setWeight(fett ? QFont::Bold : schrift.weight());
    schrift.setItalic(schrift.italic());
    schrift.setUnderline(schrift.underline());
    schrift.setStrikeOut(schrift.strikeOut());
    return schrift;
}

QString TGitterDelegate::passenderText(const QString& text, bool zahlOderDatum, const QFontMetrics& metrik,
                                       int breite)
{
    if (text.isEmpty() || metrik.horizontalAdvance(text) <= breite)
        return text;
    if (!zahlOderDatum)
        return metrik.elidedText(text, Qt::ElideRight, breite);
    // As a spreadsheet does: as many "#" as fit, at most three.
    QString raute = QStringLiteral("###");
    while (!raute.isEmpty() && metrik.horizontalAdvance(raute) > breite)
        raute.chop(1);
    return raute;
}

QString TGitterDelegate::sichtbarerText(const QModelIndex& index, const QRect& zelle) const
{
    const bool markiert = m_gitter->selectionModel() && m_gitter->selectionModel()->isSelected(index);
    return sichtbarerText(index, zelle, m_gitter->zellbild(index, markiert).fett);
}

QString TGitterDelegate::sichtbarerText(const QModelIndex& index, const QRect& zelle, bool fett) const
{
    const TGitterSpalte* spalte = m_gitter->spalte(index.column());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!spalte)
        return text;
    const QFontMetrics metrik(zellSchrift(*spalte, fett));
    const bool zahlOderDatum = spalte->art() == TSpaltenArt::Datum
                               || (spalte->art() == TSpaltenArt::Text && istZahlOderDatum(rohwert(index)));
    return passenderText(text, zahlOderDatum, metrik, zelle.width() - 2 * TextRand);
}

void TGitterDelegate::zeichneText(QPainter* maler, const QRect& zelle, const QString& text,
                                  Qt::Alignment ausrichtung) const
{
    const Qt::Alignment waagrecht = ausrichtung & Qt::AlignHorizontal_Mask;
    maler->drawText(zelle.adjusted(TextRand, 0, -TextRand, 0),
                    static_cast<int>(waagrecht | Qt::AlignVCenter) | Qt::TextSingleLine, text);
}

QStringList TGitterDelegate::memoZeilen(const QString& text, const QFont& schrift, int breite, int hoehe)
{
    const QFontMetrics metrik(schrift);
    const int platz = hoehe >= metrik.height() ? 1 + (hoehe - metrik.height()) / metrik.lineSpacing() : 0;
    QStringList zeilen;
    if (platz <= 0 || breite <= 0 || text.isEmpty())
        return zeilen;
    QString umbrochen = text;
    umbrochen.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator)).replace(QChar('\n'), QChar::LineSeparator);
    umbrochen.remove(QChar('\r'));
    QTextLayout satz(umbrochen, schrift);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    satz.setTextOption(option);
    satz.beginLayout();
    for (QTextLine zeile = satz.createLine(); zeile.isValid(); zeile = satz.createLine()) {
        zeile.setLineWidth(breite);
        if (zeilen.size() + 1 == platz) {
            // The last line there is room for takes the rest of the text, cut if need be.
            QString rest = umbrochen.mid(zeile.textStart());
            rest.replace(QChar::LineSeparator, QChar(' '));
            zeilen << metrik.elidedText(rest.trimmed(), Qt::ElideRight, breite);
            break;
        }
        QString teil = umbrochen.mid(zeile.textStart(), zeile.textLength());
        teil.remove(QChar::LineSeparator);
        while (teil.endsWith(QChar(' ')))
            teil.chop(1);
        zeilen << teil;
    }
    satz.endLayout();
    return zeilen;
}

void TGitterDelegate::zeichneMemo(QPainter* maler, const QRect& zelle, const QString& text,
                                  Qt::Alignment ausrichtung) const
{
    const Qt::Alignment waagrecht = ausrichtung & Qt::AlignHorizontal_Mask;
    const QRect innen = zelle.adjusted(TextRand, 1, -TextRand, -1);
    const QFontMetrics metrik(maler->font());
    const QStringList zeilen = memoZeilen(text, maler->font(), innen.width(), innen.height());
    for (int i = 0; i < zeilen.size(); ++i)
        maler->drawText(QRect(innen.left(), innen.top() + i * metrik.lineSpacing(), innen.width(), metrik.height()),
                        static_cast<int>(waagrecht | Qt::AlignTop) | Qt::TextSingleLine, zeilen.at(i));
}

void TGitterDelegate::zeichneCheckBox(QPainter* maler, const QRect& zelle, bool an, Qt::Alignment ausrichtung) const
{
    const int seite = qMin(13, qMin(zelle.width(), zelle.height()) - 2);
    if (seite < 5)
        return;
    int x = zelle.left() + (zelle.width() - seite) / 2;
    if (ausrichtung & Qt::AlignLeft)
        x = zelle.left() + 2;
    else if (ausrichtung & Qt::AlignRight)
        x = zelle.right() - seite - 1;
    const QRect kasten(x, zelle.top() + (zelle.height() - seite) / 2, seite, seite);
    maler->setRenderHint(QPainter::Antialiasing, false);
    maler->fillRect(kasten, Qt::white);
    maler->setPen(QColor(28, 81, 128));
    maler->drawRect(kasten.adjusted(0, 0, -1, -1));
    if (an) {
        maler->setRenderHint(QPainter::Antialiasing, true);
        maler->setPen(QPen(QColor(33, 161, 33), 2));
        const QRectF k = QRectF(kasten).adjusted(2.5, 2.5, -2.5, -2.5);
        const QPointF haken[] = {{k.left(), k.center().y()},
                                 {k.left() + k.width() * 0.4, k.bottom()},
                                 {k.right(), k.top()}};
        maler->drawPolyline(haken, 3);
    }
}

void TGitterDelegate::zeichneFortschritt(QPainter* maler, const QRect& zelle, const QVariant& wert,
                                         const TGitterSpalte& spalte, const QColor& textfarbe) const
{
    const bool verlauf = spalte.fortschrittStil() == TFortschrittStil::Verlauf;
    const double prozent = fortschrittWert(wert);
    const QRect innen = fortschrittInnen(zelle, verlauf);
    if (innen.width() <= 0 || innen.height() <= 0)
        return;
    const QRect rahmen = innen.adjusted(-1, -1, 1, 1);
    const QColor farbe = fortschrittFarbe(prozent, spalte.obereGrenze(), spalte.untereGrenze());

    maler->setRenderHint(QPainter::Antialiasing, true);
    const double anteil = qBound(0.0, prozent, 100.0) / 100.0;
    const int laenge = static_cast<int>(std::lround(innen.width() * anteil));
    if (laenge > 0) {
        const QRectF balken(innen.left(), innen.top(), laenge, innen.height());
        QPainterPath pfad;
        pfad.addRoundedRect(balken, 2, 2);
        if (verlauf) {
            QLinearGradient v(balken.topLeft(), balken.bottomLeft());
            v.setColorAt(0, farbe.lighter(160));
            v.setColorAt(0.5, farbe);
            v.setColorAt(1, farbe.darker(115));
            maler->fillPath(pfad, v);
        } else {
            maler->fillPath(pfad, farbe);
        }
    }
    maler->setPen(QPen(verlauf ? RahmenSilber : RahmenGrau, 1));
    maler->setBrush(Qt::NoBrush);
    maler->drawRoundedRect(QRectF(rahmen).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);

    QFont schrift = maler->font();
    if (!verlauf)
        schrift.setBold(true);
    maler->setFont(schrift);
    maler->setPen(textfarbe);
    maler->drawText(rahmen, Qt::AlignCenter | Qt::TextSingleLine, fortschrittText(wert));
}

void TGitterDelegate::zeichneRang(QPainter* maler, const QRect& zelle, const QVariant& wert,
                                  const TGitterSpalte& spalte) const
{
    const int anzahl = spalte.maximum();
    const int groesse = spalte.glyphGroesse();
    if (anzahl <= 0)
        return;
    const int erreicht = static_cast<int>(std::lround(qBound(0.0, fortschrittWert(wert), 1000.0)));
    const int gesamt = anzahl * groesse;
    int x = zelle.left() + (zelle.width() - gesamt) / 2;
    if (spalte.ausrichtung() & Qt::AlignLeft)
        x = zelle.left() + 1;
    else if (spalte.ausrichtung() & Qt::AlignRight)
        x = zelle.right() - gesamt;
    const int y = zelle.top() + (zelle.height() - groesse) / 2;
    for (int i = 1; i <= anzahl; ++i, x += groesse) {
        const QRect quadrat(x, y, groesse, groesse);
        if (spalte.glyphenDeckend())
            maler->fillRect(quadrat, RangGlyphe::Grund);
        maler->drawPixmap(quadrat.topLeft(), RangGlyphe::bild(i <= erreicht, groesse));
    }
}

QWidget* TGitterDelegate::createEditor(QWidget* eltern, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    TGitterSpalte* spalte = m_gitter->spalte(index.column());
    if (!spalte)
        return QStyledItemDelegate::createEditor(eltern, option, index);

    switch (spalte->art()) {
    case TSpaltenArt::Datum: {
        auto* edit = new TDatumEdit(eltern);
        edit->setAutoFillBackground(true);
        // The cell's own font, not the grid's (which may be bold for other columns).
        edit->setFont(spalte->schrift());
        // Choosing a date (or "Heute", "Ohne") ends the edit; closing the calendar without a
        // choice leaves the cell editor open for typing.
        auto fertig = [this, edit] {
            emit const_cast<TGitterDelegate*>(this)->commitData(edit);
            emit const_cast<TGitterDelegate*>(this)->closeEditor(edit, QAbstractItemDelegate::NoHint);
        };
        connect(edit, &TDatumEdit::auswahlBeendet, this, fertig);
        connect(edit->eingabe(), &QLineEdit::returnPressed, this, fertig);
        QTimer::singleShot(0, edit, &TDatumEdit::aufklappen);
        return merken(edit);
    }
    case TSpaltenArt::Lookup: {
        auto* liste = new QComboBox(eltern);
        liste->setMaxVisibleItems(spalte->lookupZeilen());
        const QVariantList eintraege = index.data(GitterRolle::Auswahlliste).toList();
        for (const QVariant& eintrag : eintraege) {
            const QVariantList paar = eintrag.toList();
            if (paar.size() == 2)
                liste->addItem(paar.at(1).toString(), paar.at(0));
        }
        connect(liste, &QComboBox::activated, this, [this, liste] {
            emit const_cast<TGitterDelegate*>(this)->commitData(liste);
            emit const_cast<TGitterDelegate*>(this)->closeEditor(liste, QAbstractItemDelegate::NoHint);
        });
        QTimer::singleShot(0, liste, &QComboBox::showPopup);
        return merken(liste);
    }
    case TSpaltenArt::Text:
    case TSpaltenArt::Memo: {
        auto* edit = new QLineEdit(eltern);
        const int breite = index.data(GitterRolle::Feldbreite).toInt();
        if (breite > 0)
            edit->setMaxLength(breite);
        return merken(edit);
    }
    case TSpaltenArt::CheckBox:  // toggled by a click, no editor
    case TSpaltenArt::Fortschritt:
    case TSpaltenArt::Rang:
        return nullptr;
    }
    return nullptr;
}

QWidget* TGitterDelegate::merken(QWidget* editor) const
{
    m_offenerEditor = editor;
    return editor;
}

void TGitterDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* edit = qobject_cast<TDatumEdit*>(editor)) {
        edit->setDatum(rohwert(index).toDate());
    } else if (auto* liste = qobject_cast<QComboBox*>(editor)) {
        liste->setCurrentIndex(liste->findData(rohwert(index)));
    } else if (auto* zeile = qobject_cast<QLineEdit*>(editor)) {
        zeile->setText(rohwert(index).toString());
    } else {
        QStyledItemDelegate::setEditorData(editor, index);
    }
}

void TGitterDelegate::setModelData(QWidget* editor, QAbstractItemModel* modell, const QModelIndex& index) const
{
    if (auto* edit = qobject_cast<TDatumEdit*>(editor)) {
        edit->eingabeUebernehmen();
        // "Ohne" stores no date.
        modell->setData(index, edit->datum().isValid() ? QVariant(edit->datum()) : QVariant(), Qt::EditRole);
    } else if (auto* liste = qobject_cast<QComboBox*>(editor)) {
        if (liste->currentIndex() >= 0)
            modell->setData(index, liste->currentData(), Qt::EditRole);
    } else if (auto* zeile = qobject_cast<QLineEdit*>(editor)) {
        modell->setData(index, zeile->text(), Qt::EditRole);
    } else {
        QStyledItemDelegate::setModelData(editor, modell, index);
    }
}

void TGitterDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    Q_UNUSED(index);
    QRect flaeche = option.rect.adjusted(0, 0, -1, -1);
    // A date edit narrower than its date would show only its end: it reaches beyond a narrow
    // cell, to the left where the grid ends.
    if (const auto* edit = qobject_cast<const TDatumEdit*>(editor)) {
        flaeche.setWidth(qMax(flaeche.width(), edit->sizeHint().width()));
        const int rechterRand = editor->parentWidget() ? editor->parentWidget()->width() : flaeche.right() + 1;
        if (flaeche.right() >= rechterRand)
            flaeche.moveRight(qMax(rechterRand - 1, flaeche.width() - 1));
    }
    editor->setGeometry(flaeche);
}

bool TGitterDelegate::editorEvent(QEvent* ereignis, QAbstractItemModel* modell, const QStyleOptionViewItem& option,
                                  const QModelIndex& index)
{
    TGitterSpalte* spalte = m_gitter->spalte(index.column());
    if (!spalte || spalte->art() != TSpaltenArt::CheckBox || !(modell->flags(index) & Qt::ItemIsEditable))
        return QStyledItemDelegate::editorEvent(ereignis, modell, option, index);

    bool umschalten = false;
    switch (ereignis->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* maus = static_cast<QMouseEvent*>(ereignis);
        umschalten = maus->button() == Qt::LeftButton && option.rect.contains(maus->position().toPoint());
        break;
    }
    case QEvent::MouseButtonDblClick:
        return true;  // a double click is two toggles, not an editor
    case QEvent::KeyPress: {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        umschalten = taste == Qt::Key_Space || taste == Qt::Key_Select;
        break;
    }
    default:
        break;
    }
    if (!umschalten)
        return false;
    return modell->setData(index, !angehakt(rohwert(index), *spalte), Qt::EditRole);
}
