#include "BerichtDefinition.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>

TBerichtObjekt TBerichtObjekt::Text(const QString& name, double links, double oben, double breite, double hoehe,
                                   const QFont& schrift, const QString& ausdruck, Qt::Alignment ausrichtung)
{
    TBerichtObjekt o;
    o.Name = name;
    o.art = Art::Text;
    o.Links = links;
    o.Oben = oben;
    o.Breite = breite;
    o.Hoehe = hoehe;
    o.Schrift = schrift;
    o.Ausrichtung = ausrichtung;
    o.Ausdruck = TBerichtAusdruck(ausdruck);
    return o;
}

TBerichtObjekt TBerichtObjekt::Linie(const QString& name, double links, double oben, double breite)
{
    TBerichtObjekt o;
    o.Name = name;
    o.art = Art::Linie;
    o.Links = links;
    o.Oben = oben;
    o.Breite = breite;
    return o;
}

namespace {

// Wine's Tahoma has the metrics of the original; fontconfig would take a wider sans otherwise.
QString tahomaFamilie()
{
    static const QString familie = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
            return QStringLiteral("Tahoma");
        QString gefunden;
        for (const char* datei : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            if (!QFile::exists(QLatin1String(datei)))
                continue;
            const QStringList familien = QFontDatabase::applicationFontFamilies(
                QFontDatabase::addApplicationFont(QLatin1String(datei)));
            if (gefunden.isEmpty() && !familien.isEmpty())
                gefunden = familien.first();
        }
        return gefunden.isEmpty() ? QStringLiteral("Liberation Sans") : gefunden;
    }();
    return familie;
}

} // namespace

QFont BerichtSchrift(const QString& familie, double punkt, bool fett)
{
    QString name = familie;
    if (familie.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        name = tahomaFamilie();
    else if (familie.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0
             && !QFontDatabase::hasFamily(QStringLiteral("Arial")))
        name = QStringLiteral("Liberation Sans");
    QFont schrift(name);
    schrift.setPointSizeF(punkt);
    schrift.setBold(fett);
    schrift.setStyleStrategy(QFont::PreferOutline);
    return schrift;
}

QSizeF TBerichtDefinition::PapierMm() const
{
    const QSizeF hoch = Papier.size(QPageSize::Millimeter);
    return Ausrichtung == QPageLayout::Landscape ? hoch.transposed() : hoch;
}

const TBerichtBand* TBerichtDefinition::Band(TBandArt art) const
{
    for (const TBerichtBand& b : Baender)
        if (b.art == art)
            return &b;
    return nullptr;
}
