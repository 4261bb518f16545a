#include "MasterProjekt.h"

#include <QRegularExpression>
#include <QtEndian>
#include <QTime>

#include <cmath>
#include <cstring>

namespace {

using enum TFeldart;

const std::array<TMasterFeld, 40> Felder = {{
    {"Konto", 0, 16, Text, false, nullptr},
    {"Kommnr", 16, 11, Text, true, "PROJEKT"},
    {"RechnNr", 27, 11, Text, false, nullptr},
    {"AngebotsNr", 38, 11, Text, false, nullptr},
    {"AuftragsNr", 49, 19, Text, false, nullptr},
    {"Bezeichn", 68, 31, Text, true, "KUNDE"},
    {"Datum", 99, 11, Datumstext, false, nullptr},
    {"Anrede", 110, 31, Text, true, nullptr},
    {"Branche", 141, 31, Text, true, nullptr},
    {"Postfach", 172, 31, Text, false, nullptr},
    {"Strasse", 203, 31, Text, true, nullptr},
    {"Ort", 234, 31, Text, true, nullptr},
    {"U_Zchn", 265, 16, Text, true, nullptr},
    {"I_Zchn", 281, 16, Text, true, nullptr},
    {"Betreff1", 297, 51, Text, true, "BETREFF"},
    {"Betreff2", 348, 51, Text, true, nullptr},
    {"Betreff3", 399, 51, Text, true, nullptr},
    {"Betreff4", 450, 51, Text, true, nullptr},
    {"Betreff5", 501, 51, Text, true, nullptr},
    {"TRechNr", 1160, 1, Ganzzahl8, false, nullptr},
    {"Baustelle", 1250, 21, Text, true, "BAUSTELLE"},
    {"Bauherr", 1271, 21, Text, true, nullptr},
    {"Architekt", 1292, 21, Text, true, nullptr},
    {"BOrt", 1313, 21, Text, true, nullptr},
    {"BStrasse", 1334, 21, Text, true, nullptr},
    {"BTel", 1355, 16, Text, true, nullptr},
    {"ATel", 1371, 16, Text, true, nullptr},
    {"UTel", 1387, 28, Text, true, nullptr},
    {"Baubegin", 1415, 9, Datumstext, false, nullptr},
    {"Termin", 1424, 9, Datumstext, false, nullptr},
    {"Faellig", 1433, 9, Datumstext, false, nullptr},
    {"Bemerkung", 1442, 53, Text, true, nullptr},
    {"KundenKey", 1495, 67, Text, true, nullptr},
    {"GutSchrNr", 1562, 11, Text, true, nullptr},
    {"Kostenstelle", 1573, 4, Ganzzahl32, false, nullptr},
    {"RechDate", 1930, 8, OleDatum, false, nullptr},
    {"AngDate", 1938, 8, OleDatum, false, nullptr},
    {"AuftrDate", 1946, 8, OleDatum, false, nullptr},
    {"GutschrDate", 1954, 8, OleDatum, false, nullptr},
    {"MontageDate", 1975, 8, OleDatum, false, nullptr},
}};

// The nine DOS bytes that are replaced, and what they become.
constexpr uint8_t Oem[9] = {129, 132, 142, 148, 153, 154, 225, 252, 253};
constexpr uint8_t Ansi[9] = {252, 228, 196, 246, 214, 220, 223, 179, 178};

// Code points of the Windows-1252 bytes 0x80 to 0x9F; the rest is ISO 8859-1.
constexpr char16_t Ansi80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QByteArray umsetzen(const QByteArray& text, const uint8_t (&von)[9], const uint8_t (&nach)[9])
{
    QByteArray ergebnis = text;
    for (char& c : ergebnis)
        for (int i = 0; i < 9; ++i)
            if (uint8_t(c) == von[i]) {
                c = char(nach[i]);
                break;   // each byte is looked up once: a replacement is never replaced again
            }
    return ergebnis;
}

} // namespace

const std::array<TMasterFeld, 40>& MasterFelder() { return Felder; }

const TMasterFeld* MasterFeld(const QString& feld)
{
    for (const TMasterFeld& f : Felder)
        if (feld == QLatin1String(f.Feld))
            return &f;
    return nullptr;
}

QByteArray TMasterProjekt::text(const TMasterFeld& feld) const
{
    return textAnsicht(feld).toByteArray();
}

QByteArrayView TMasterProjekt::textAnsicht(const TMasterFeld& feld) const
{
    const int n = std::min<int>(Daten[size_t(feld.Offset)], feld.Spanne - 1);
    return QByteArrayView(reinterpret_cast<const char*>(Daten.data()) + feld.Offset + 1, n);
}

QVariant TMasterProjekt::wert(const TMasterFeld& feld) const
{
    const uint8_t* p = Daten.data() + feld.Offset;
    switch (feld.Art) {
    case TFeldart::Text:
        return AnsiNachUnicode(feld.OemNachAnsi ? OemNachAnsi(text(feld)) : text(feld));
    case TFeldart::Datumstext:
        return AnsiNachUnicode(text(feld));
    case TFeldart::Ganzzahl8:
        return int(int8_t(p[0]));
    case TFeldart::Ganzzahl32: {
        int32_t z;
        std::memcpy(&z, p, 4);
        return int(qFromLittleEndian(z));
    }
    case TFeldart::OleDatum: {
        double tage;
        std::memcpy(&tage, p, 8);
        const std::optional<QDateTime> datum = OleDatumNachDatum(tage);
        return datum ? QVariant(*datum) : QVariant();
    }
    }
    return {};
}

QVariant TMasterProjekt::wert(const QString& feld) const
{
    const TMasterFeld* f = MasterFeld(feld);
    return f ? wert(*f) : QVariant();
}

QByteArray OemNachAnsi(const QByteArray& text) { return umsetzen(text, Oem, Ansi); }
QByteArray AnsiNachOem(const QByteArray& text) { return umsetzen(text, Ansi, Oem); }

QString AnsiNachUnicode(const QByteArray& ansi)
{
    QString text;
    text.reserve(ansi.size());
    for (char c : ansi) {
        const uint8_t b = uint8_t(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(Ansi80[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray UnicodeNachAnsi(const QString& text)
{
    QByteArray ansi;
    ansi.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        int b = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            b = u;
        for (int i = 0; i < 32 && b < 0; ++i)
            if (Ansi80[i] == u)
                b = 0x80 + i;
        ansi += char(b < 0 ? '?' : b);
    }
    return ansi;
}

std::optional<QDateTime> OleDatumNachDatum(double tage)
{
    // 2958466 is 1 January 10000, beyond the calendar of the ERP system.
    if (!(tage > 0.0) || tage >= 2958466.0)
        return std::nullopt;
    qint64 ganz = qint64(std::floor(tage));
    qint64 ms = std::llround((tage - double(ganz)) * 86400000.0);
    if (ms >= 86400000) {
        ++ganz;
        ms -= 86400000;
    }
    return QDateTime(QDate(1899, 12, 30).addDays(ganz), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

std::optional<QDate> KurzdatumNachDatum(const QString& text)
{
    static const QRegularExpression muster(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})$"));
    const QRegularExpressionMatch m = muster.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int jahr = m.captured(3).toInt();
    if (m.captured(3).size() == 2)   // two-digit years as Windows reads them: 1930 to 2029
        jahr += jahr < 30 ? 2000 : 1900;
    const QDate datum(jahr, m.captured(2).toInt(), m.captured(1).toInt());
    if (!datum.isValid())
        return std::nullopt;
    return datum;
}
