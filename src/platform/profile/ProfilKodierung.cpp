#include "ProfilKodierung.h"

namespace Kodierung {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes Windows leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control character of the same value,
// as Windows' own conversion does, so every byte survives a round trip.
constexpr char16_t g_bereich80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> byteFuer1252(char16_t zeichen)
{
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF))
        return static_cast<char>(zeichen);
    for (int i = 0; i < 32; ++i) {
        if (g_bereich80[i] == zeichen)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

bool istGueltigesUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int folge;
        char32_t wert, minimum;
        if ((c & 0xE0) == 0xC0) {
            folge = 1; wert = c & 0x1F; minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            folge = 2; wert = c & 0x0F; minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            folge = 3; wert = c & 0x07; minimum = 0x10000;
        } else {
            return false;
        }
        if (i + folge >= n)
            return false;
        for (int k = 1; k <= folge; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            wert = (wert << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if (wert < minimum || wert > 0x10FFFF || (wert >= 0xD800 && wert <= 0xDFFF))
            return false;
        i += folge + 1;
    }
    return true;
}

ProfilKodierung erkennen(const QByteArray& dateiInhalt)
{
    return istGueltigesUtf8(dateiInhalt) ? ProfilKodierung::Utf8 : ProfilKodierung::Windows1252;
}

QString dekodieren(const char* bytes, qsizetype laenge, ProfilKodierung kodierung)
{
    if (kodierung == ProfilKodierung::Utf8)
        return QString::fromUtf8(bytes, laenge);
    QString text(laenge, Qt::Uninitialized);
    for (qsizetype i = 0; i < laenge; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? g_bereich80[b - 0x80] : char16_t(b));
    }
    return text;
}

std::optional<QByteArray> kodieren(const QString& text, ProfilKodierung kodierung)
{
    if (kodierung == ProfilKodierung::Utf8) {
        // Lone surrogates have no UTF-8 form; Qt would silently write a replacement.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                return std::nullopt;
        }
        return text.toUtf8();
    }
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto b = byteFuer1252(c.unicode());
        if (!b)
            return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

QString name(ProfilKodierung kodierung)
{
    return kodierung == ProfilKodierung::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

} // namespace Kodierung
