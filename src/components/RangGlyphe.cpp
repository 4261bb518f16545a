#include "RangGlyphe.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QtMath>

namespace {

QPixmap zeichnen(bool gefuellt, int groesse)
{
    QPixmap bild(groesse, groesse);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);

    // A five-pointed star inside the square with a small margin.
    const double mitte = groesse / 2.0;
    const double aussen = groesse / 2.0 - qMax(1.0, groesse / 16.0);
    const double innen = aussen * 0.45;
    QPainterPath stern;
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2 == 0) ? aussen : innen;
        const double winkel = -M_PI / 2 + i * M_PI / 5;
        const QPointF punkt(mitte + radius * qCos(winkel), mitte + 0.08 * groesse + radius * qSin(winkel));
        i == 0 ? stern.moveTo(punkt) : stern.lineTo(punkt);
    }
    stern.closeSubpath();

    const QColor rand = gefuellt ? QColor(196, 120, 0) : QColor(150, 150, 150);
    maler.setPen(QPen(rand, qMax(1.0, groesse / 16.0)));
    maler.setBrush(gefuellt ? RangGlyphe::FuellungVoll : RangGlyphe::FuellungLeer);
    maler.drawPath(stern);
    return bild;
}

} // namespace

namespace RangGlyphe {

QPixmap bild(bool gefuellt, int groesse)
{
    // Drawn once per kind and size; the grid paints many of them per repaint.
    const QString schluessel = QStringLiteral("RangGlyphe-%1-%2").arg(gefuellt ? 1 : 0).arg(groesse);
    QPixmap bild;
    if (!QPixmapCache::find(schluessel, &bild)) {
        bild = zeichnen(gefuellt, groesse);
        QPixmapCache::insert(schluessel, bild);
    }
    return bild;
}

} // namespace RangGlyphe
