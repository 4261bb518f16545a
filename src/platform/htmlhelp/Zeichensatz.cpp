#include "Zeichensatz.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace Zeichensatz {

QByteArray ausSprache(quint32 sprache)
{
    switch (sprache & 0x3FF) {   // primary language
    case 0x05: case 0x0E: case 0x15: case 0x18: case 0x1A: case 0x1B: case 0x1C: case 0x24:
        return QByteArrayLiteral("windows-1250");
    case 0x02: case 0x19: case 0x22: case 0x23: case 0x2F:
        return QByteArrayLiteral("windows-1251");
    case 0x08: return QByteArrayLiteral("windows-1253");
    case 0x1F: return QByteArrayLiteral("windows-1254");
    case 0x0D: return QByteArrayLiteral("windows-1255");
    case 0x01: return QByteArrayLiteral("windows-1256");
    case 0x25: case 0x26: case 0x27: return QByteArrayLiteral("windows-1257");
    case 0x11: return QByteArrayLiteral("Shift_JIS");
    case 0x12: return QByteArrayLiteral("EUC-KR");
    case 0x04: return (sprache == 0x0404 || sprache == 0x0C04) ? QByteArrayLiteral("Big5")
                                                                : QByteArrayLiteral("GBK");
    default: return QByteArrayLiteral("windows-1252");
    }
}

QByteArray ausSeite(const QByteArray& html)
{
    static const QRegularExpression meta(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    // The tag stands in the head; the first few kilobytes are enough.
    const auto treffer = meta.match(QString::fromLatin1(html.left(4096)));
    return treffer.hasMatch() ? treffer.captured(1).toLatin1().toLower() : QByteArray();
}

namespace {

// 0x80–0x9F of Windows-1252; 0 where the code page leaves the byte undefined.
constexpr char16_t Tabelle1252[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QString windows1252(const QByteArray& bytes)
{
    QString text;
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t z = b;
        if (b >= 0x80 && b <= 0x9F)
            z = Tabelle1252[b - 0x80] ? Tabelle1252[b - 0x80] : char16_t(0xFFFD);
        text[i] = QChar(z);
    }
    return text;
}

} // namespace

QString dekodieren(const QByteArray& bytes, const QByteArray& zeichensatz)
{
    const QByteArray name = zeichensatz.toLower();
    if (name.isEmpty() || name == "windows-1252" || name == "cp1252" || name == "iso-8859-1"
        || name == "latin1" || name == "us-ascii")
        return windows1252(bytes);
    QStringDecoder dekodierer(name.constData());
    if (!dekodierer.isValid())
        return windows1252(bytes);
    return dekodierer.decode(bytes);
}

} // namespace Zeichensatz
