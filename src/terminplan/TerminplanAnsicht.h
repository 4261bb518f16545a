#pragma once

#include "TerminplanGeometrie.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QVariant>
#include <vector>

class TDataSource;
class TKADaoTable;

// The "Terminplan" page: the tasks of a dataset (the current project's) as bars on a day scale,
// one row per task in the dataset's order, the task texts in a column at the left that stays
// in place while the scale scrolls, weeks and months labelled above, weekends shaded, today
// marked by a red line. A bar is coloured by the rank of its task's status; a task without
// dates has its row without a bar. The view follows the dataset's changes and its current row;
// a click on a row makes that task the dataset's current row.
class TTerminplanAnsicht : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TTerminplanAnsicht(QWidget* parent = nullptr);
    ~TTerminplanAnsicht() override;

    // The dataset's fields "Bezeichnung", "Datum_von", "Datum_bis" and, when it has one, "Rang".
    void setDatenquelle(TDataSource* quelle);
    // The rank of the last stage; a bar of that rank is drawn in the colour of "done".
    void setHoechsterRang(int rang);
    // The background of the current task's row.
    void setMarkierfarbe(const QColor& farbe);
    // The day drawn as today; the system date unless set.
    void setHeute(const QDate& heute);

    const TTerminplanGeometrie& geometrie() const { return m_geometrie; }
    int namensBreite() const { return NamensBreite; }
    // Where a point of the geometry (x on the scale, y in the rows) lies in the viewport now.
    QPoint ansichtsPunkt(const QPoint& geometriePunkt) const;
    // Scrolls the scale so that this day stands at the left, a week of context before it.
    void tagZeigen(const QDate& tag);

    static constexpr int NamensBreite = 200;

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;
    bool viewportEvent(QEvent* ereignis) override;

private:
    TKADaoTable* datenmenge() const;
    // Reads the rows again now when shown, else when next shown.
    void aendern();
    void neuLesen();
    void bereicheSetzen();
    QDate mindestBis() const;
    // The row under a point of the viewport; -1 over the header or below the rows.
    int zeileBei(const QPoint& punkt) const;
    QString tipp(int zeile) const;

    void kopfZeichnen(QPainter& maler) const;
    void zeilenZeichnen(QPainter& maler) const;
    void namenZeichnen(QPainter& maler) const;

    QPointer<TDataSource> m_quelle;
    TTerminplanGeometrie m_geometrie;
    std::vector<QVariant> m_raenge;
    int m_hoechsterRang = 4;
    int m_aktuelleZeile = -1;
    QColor m_markierfarbe;
    QDate m_heute;
    bool m_veraltet = true;
    bool m_heuteZeigen = true;   // after new rows: the scale shows today
};
