#include "Oberflaechenschrift.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <QtEndian>

namespace {

const QString TahomaDatei = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
const QString TahomaFettDatei = QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf");

// Start of a table in a TrueType file, or -1 when the file has no such table of that length.
qsizetype tabelle(const QByteArray& schrift, const char* kennung, qsizetype mindestlaenge)
{
    if (schrift.size() < 12)
        return -1;
    const auto* d = reinterpret_cast<const uchar*>(schrift.constData());
    const int anzahl = qFromBigEndian<quint16>(d + 4);
    for (int i = 0; i < anzahl; ++i) {
        const qsizetype eintrag = 12 + 16 * qsizetype(i);
        if (eintrag + 16 > schrift.size())
            return -1;
        if (schrift.mid(eintrag, 4) != QByteArray(kennung, 4))
            continue;
        const qsizetype anfang = qFromBigEndian<quint32>(d + eintrag + 8);
        const qsizetype laenge = qFromBigEndian<quint32>(d + eintrag + 12);
        if (laenge < mindestlaenge || anfang + laenge > schrift.size())
            return -1;
        return anfang;
    }
    return -1;
}

// Wine's bold Tahoma has bold widths and bold bitmaps for small sizes, but its outlines are those
// of the regular face; drawn smoothed, bold text would come out regular and merely spaced wider.
// Marked as semi-bold, the face is still chosen for bold text, and the font engine then thickens
// its outlines itself as it does for a family without a bold face.
QByteArray fettZumVerdickenMarkiert(QByteArray schrift)
{
    const qsizetype os2 = tabelle(schrift, "OS/2", 64);
    const qsizetype kopf = tabelle(schrift, "head", 46);
    if (os2 < 0 || kopf < 0)
        return {};
    auto* d = reinterpret_cast<uchar*>(schrift.data());
    qToBigEndian<quint16>(600, d + os2 + 4);                                               // usWeightClass
    qToBigEndian<quint16>(qFromBigEndian<quint16>(d + os2 + 62) & ~0x20u, d + os2 + 62);   // fsSelection: bold
    qToBigEndian<quint16>(qFromBigEndian<quint16>(d + kopf + 44) & ~0x01u, d + kopf + 44); // macStyle: bold
    return schrift;
}

QString familieLaden(int id)
{
    const QStringList familien = QFontDatabase::applicationFontFamilies(id);
    return familien.isEmpty() ? QString() : familien.first();
}

} // namespace

QString OberflaechenSchriftfamilie()
{
    static const QString familie = [] {
        if (!QFile::exists(TahomaDatei))
            return QStringLiteral("Liberation Sans");
        const QString gefunden = familieLaden(QFontDatabase::addApplicationFont(TahomaDatei));
        if (gefunden.isEmpty())
            return QStringLiteral("Liberation Sans");
        // Without the bold file the engine thickens the regular face, at its narrower widths.
        QFile fett(TahomaFettDatei);
        if (fett.open(QIODevice::ReadOnly)) {
            const QByteArray aufbereitet = fettZumVerdickenMarkiert(fett.readAll());
            if (!aufbereitet.isEmpty())
                QFontDatabase::addApplicationFontFromData(aufbereitet);
        }
        return gefunden;
    }();
    return familie;
}

QFont Oberflaechenschrift(int punkt, bool fett)
{
    QFont schrift(OberflaechenSchriftfamilie());
    schrift.setPointSize(punkt);
    schrift.setBold(fett);
    return schrift;
}
