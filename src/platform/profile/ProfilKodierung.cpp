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

bool istAscii(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

ProfilKodierung erkennen(const QByteArray& dateiInhalt)
{
    if (dateiInhalt.startsWith("\xFF\xFE"))
        return ProfilKodierung::Utf16LE;
    if (dateiInhalt.startsWith("\xFE\xFF"))
        return ProfilKodierung::Utf16BE;
    if (!istAscii(dateiInhalt) && istGueltigesUtf8(dateiInhalt))
        return ProfilKodierung::Utf8;
    return ProfilKodierung::Windows1252;
}

bool istUtf16(ProfilKodierung kodierung)
{
    return kodierung == ProfilKodierung::Utf16LE || kodierung == ProfilKodierung::Utf16BE;
}

ProfilKodierung innere(ProfilKodierung kodierung)
{
    return istUtf16(kodierung) ? ProfilKodierung::Utf8 : kodierung;
}

QByteArray utf16NachUtf8(const char* bytes, qsizetype laenge, bool bigEndian)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto einheit = [&](qsizetype i) -> char32_t {
        return bigEndian ? char32_t(p[2 * i] << 8 | p[2 * i + 1]) : char32_t(p[2 * i + 1] << 8 | p[2 * i]);
    };
    const qsizetype anzahl = laenge / 2;
    QByteArray utf8;
    utf8.reserve(anzahl + anzahl / 2);
    for (qsizetype i = 0; i < anzahl; ++i) {
        char32_t c = einheit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < anzahl) {
            const char32_t tief = einheit(i + 1);
            if (tief >= 0xDC00 && tief < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (tief - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            utf8.append(char(c));
        } else if (c < 0x800) {
            utf8.append(char(0xC0 | c >> 6));
            utf8.append(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            utf8.append(char(0xE0 | c >> 12));
            utf8.append(char(0x80 | (c >> 6 & 0x3F)));
            utf8.append(char(0x80 | (c & 0x3F)));
        } else {
            utf8.append(char(0xF0 | c >> 18));
            utf8.append(char(0x80 | (c >> 12 & 0x3F)));
            utf8.append(char(0x80 | (c >> 6 & 0x3F)));
            utf8.append(char(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

QByteArray utf8NachUtf16(const QByteArray& utf8, bool bigEndian)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.constData());
    const qsizetype n = utf8.size();
    QByteArray utf16;
    utf16.reserve(2 * n);
    const auto anhaengen = [&](char32_t einheit) {
        const char hoch = char(einheit >> 8), tief = char(einheit & 0xFF);
        utf16.append(bigEndian ? hoch : tief);
        utf16.append(bigEndian ? tief : hoch);
    };
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        const int folge = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
        char32_t wert = folge == 0 ? c : folge == 1 ? c & 0x1F : folge == 2 ? c & 0x0F : c & 0x07;
        // The text comes from utf16NachUtf8 and from encoded values, so it is well formed.
        for (int k = 1; k <= folge && i + k < n; ++k)
            wert = wert << 6 | (p[i + k] & 0x3F);
        i += folge + 1;
        if (wert >= 0x10000) {
            anhaengen(0xD800 + ((wert - 0x10000) >> 10));
            anhaengen(0xDC00 + ((wert - 0x10000) & 0x3FF));
        } else {
            anhaengen(wert);
        }
    }
    return utf16;
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
    switch (kodierung) {
    case ProfilKodierung::Utf8:
        return QStringLiteral("UTF-8");
    case ProfilKodierung::Windows1252:
        return QStringLiteral("Windows-1252");
    case ProfilKodierung::Utf16LE:
    case ProfilKodierung::Utf16BE:
        break;
    }
    return QStringLiteral("UTF-16");
}

} // namespace Kodierung
