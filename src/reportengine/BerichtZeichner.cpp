#include "BerichtZeichner.h"

#include "BerichtSeiten.h"
#include "Fehler.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace {

void textZeichnen(QPainter& maler, const TBerichtObjekt& o, const QRectF& feld, const QString& text,
                  const QPaintDevice* geraet)
{
    if (text.isEmpty())
        return;
    QTextLayout layout(text, o.Schrift, const_cast<QPaintDevice*>(geraet));
    QTextOption option(o.Ausrichtung);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    double y = 0;
    int sichtbar = 0;
    for (;;) {
        QTextLine zeile = layout.createLine();
        if (!zeile.isValid())
            break;
        zeile.setLineWidth(feld.width());
        // What does not fit the object's height is left out; the first line always shows.
        if (sichtbar > 0 && y + zeile.height() > feld.height() + 0.01)
            break;
        zeile.setPosition(QPointF(0, y));
        y += zeile.height();
        ++sichtbar;
    }
    layout.endLayout();
    maler.setFont(o.Schrift);
    for (int i = 0; i < sichtbar; ++i)
        layout.lineAt(i).draw(&maler, feld.topLeft());
}

} // namespace

void BerichtSeiteZeichnen(QPainter& maler, const TBerichtSeiten& seiten, int index, const QPaintDevice* geraet,
                          double punkteProMm)
{
    maler.save();
    maler.setPen(QPen(Qt::black, 0));
    for (const TSeitenElement& e : seiten.Seite(index).elemente) {
        const TBerichtObjekt& o = *e.objekt;
        const double x = (e.bandLinks + o.Links) * punkteProMm;
        const double y = (e.bandOben + o.Oben) * punkteProMm;
        if (o.art == TBerichtObjekt::Art::Linie) {
            maler.drawLine(QPointF(x, y), QPointF(x + o.Breite * punkteProMm, y));
            continue;
        }
        const QRectF feld(x, y, o.Breite * punkteProMm, o.Hoehe * punkteProMm);
        textZeichnen(maler, o, feld, seiten.Text(e, index), geraet);
    }
    maler.restore();
}

void BerichtPdfSchreiben(const TBerichtSeiten& seiten, const QString& pfad)
{
    const auto fehler = [&] {
        return Fehler(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(pfad)));
    };
    if (!QFileInfo(QFileInfo(pfad).absolutePath()).isDir())
        throw fehler();
    QPdfWriter schreiber(pfad);
    const TBerichtDefinition& d = seiten.Definition();
    schreiber.setPageLayout(QPageLayout(d.Papier, d.Ausrichtung, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    schreiber.setTitle(d.Name);
    schreiber.setCreator(QStringLiteral("Projektverwaltung"));
    QPainter maler;
    if (!maler.begin(&schreiber))
        throw fehler();
    const double punkteProMm = schreiber.resolution() / 25.4;
    for (int i = 0; i < seiten.Anzahl(); ++i) {
        if (i > 0)
            schreiber.newPage();
        BerichtSeiteZeichnen(maler, seiten, i, &schreiber, punkteProMm);
    }
    if (!maler.end())
        throw fehler();
}
