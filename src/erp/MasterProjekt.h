#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <optional>

// One ERP project record as the engine returns it, the layout of its fields and the conversion
// of its DOS-encoded texts.

enum class TFeldart
{
    Text,          // length byte n, then n characters (DOS code page 850)
    Datumstext,    // a text holding a date in the short date format
    Ganzzahl8,     // signed 8-bit
    Ganzzahl32,    // signed 32-bit, little-endian
    OleDatum,      // 8-byte double, days since 30.12.1899; 0 or less: no date
};

struct TMasterFeld
{
    const char* Feld;      // the field of table Projekt the import fills
    int Offset;
    int Spanne;            // room of the field: for a text at most Spanne - 1 characters
    TFeldart Art;
    bool OemNachAnsi;      // the text is converted from the DOS code page
    const char* Spalte;    // caption of the search grid's column showing it, or nullptr
};

// Every field that is read, in record order.
const std::array<TMasterFeld, 40>& MasterFelder();
// The field filling the Projekt field of that name; nullptr if there is none.
const TMasterFeld* MasterFeld(const QString& feld);

struct TMasterProjekt
{
    static constexpr int Laenge = 2184;
    std::array<uint8_t, Laenge> Daten{};

    // The raw characters of a text field; a length byte beyond the field's room is cut to it.
    QByteArray text(const TMasterFeld& feld) const;
    // The same characters where they stand in the record, without a copy.
    QByteArrayView textAnsicht(const TMasterFeld& feld) const;
    // The value as the import takes it: QString for texts (converted where the field says so)
    // and date texts, int for numbers, QDateTime for OLE dates or an invalid QVariant for none.
    QVariant wert(const TMasterFeld& feld) const;
    QVariant wert(const QString& feld) const;
};

// DOS code page to Windows-1252, one byte at a time: nine letters and signs are replaced,
// every other byte passes unchanged. Same length as the input.
QByteArray OemNachAnsi(const QByteArray& text);
// The way back for a project number shown after OemNachAnsi, so it is found again in the file.
QByteArray AnsiNachOem(const QByteArray& text);

// Windows-1252 bytes as text, and back (characters outside the code page become '?').
QString AnsiNachUnicode(const QByteArray& ansi);
QByteArray UnicodeNachAnsi(const QString& text);

// An OLE date as date and time; none for 0, negative values and values outside the calendar.
std::optional<QDateTime> OleDatumNachDatum(double tage);
// A date text in the short date format (dd.MM.yyyy, also d.M.yy); none when it does not convert.
std::optional<QDate> KurzdatumNachDatum(const QString& text);
