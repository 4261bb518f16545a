#pragma once

#include <QStyledItemDelegate>

#include <QPointer>

class QFontMetrics;

class TDatenGitter;
class TGitterSpalte;

// Draws and edits the cells of a data grid by the kind of their column.
class TGitterDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit TGitterDelegate(TDatenGitter* gitter);

    void paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* eltern, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modell, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The cell editor open now, if any.
    QWidget* offenerEditor() const { return m_offenerEditor; }

    // The painting rules, open to the grid for cells it draws itself and to tests.
    static QColor fortschrittFarbe(double wert, double obereGrenze, double untereGrenze);
    static QRect fortschrittInnen(const QRect& zelle, bool verlauf);
    static bool angehakt(const QVariant& wert, const TGitterSpalte& spalte);
    // The text over a progress bar: the value rounded half away from zero, then "%"; empty is 0.
    static QString fortschrittText(const QVariant& wert);
    // The text of a one-line cell as it fits the width: whole when it fits, otherwise cut at the
    // right and ended with "…". A number or a date is never cut (a cut one reads as another
    // value): it shows "###" when it does not fit.
    static QString passenderText(const QString& text, bool zahlOderDatum, const QFontMetrics& metrik, int breite);
    // The text drawn in the cell of a text, date or lookup column, in the cell's rectangle
    // without its grid lines.
    QString sichtbarerText(const QModelIndex& index, const QRect& zelle) const;
    // The lines of a memo cell: wrapped at words, only as many as fit the height whole; the last
    // one ends with "…" when text is left over.
    static QStringList memoZeilen(const QString& text, const QFont& schrift, int breite, int hoehe);

protected:
    bool editorEvent(QEvent* ereignis, QAbstractItemModel* modell, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void zeichneText(QPainter* maler, const QRect& zelle, const QString& text, Qt::Alignment ausrichtung) const;
    QFont zellSchrift(const TGitterSpalte& spalte, bool fett) const;
    QString sichtbarerText(const QModelIndex& index, const QRect& zelle, bool fett) const;
    void zeichneMemo(QPainter* maler, const QRect& zelle, const QString& text, Qt::Alignment ausrichtung) const;
    void zeichneCheckBox(QPainter* maler, const QRect& zelle, bool an, Qt::Alignment ausrichtung) const;
    void zeichneFortschritt(QPainter* maler, const QRect& zelle, const QVariant& wert, const TGitterSpalte& spalte,
                            const QColor& textfarbe) const;
    void zeichneRang(QPainter* maler, const QRect& zelle, const QVariant& wert, const TGitterSpalte& spalte) const;

    QWidget* merken(QWidget* editor) const;

    TDatenGitter* m_gitter;
    mutable QPointer<QWidget> m_offenerEditor;
};
