#pragma once

#include <QVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The values of one row, held in one compact block: text as UTF-8 (a date written "YYYY-MM-DD"
/// by its day), numbers and dates in eight bytes (whole numbers that fit in four), an empty
/// value in none, instead of 32 bytes per value
/// and a heap block per text. The row itself is one pointer; the block says how many values it
/// holds. Tens of thousands of projects of some fifty columns each then take a fraction of the
/// memory.
///
/// A value comes out as it went in: of the same type and equal, a null text still null, a
/// typed empty value still typed. Kinds the block has no place for are kept aside as they are.
/// Reading value i walks the values before it (from the one read last, when that was an earlier
/// value of the same row).
class Zeilenwerte
{
public:
    /// The most values a row holds (many times the columns the engine allows in a table).
    static constexpr size_t MaxAnzahl = 0x3fff;

    Zeilenwerte() = default;
    explicit Zeilenwerte(const std::vector<QVariant>& werte);
    Zeilenwerte(const Zeilenwerte& andere);
    Zeilenwerte& operator=(const Zeilenwerte& andere);
    Zeilenwerte(Zeilenwerte&& andere) noexcept : m_block(std::exchange(andere.m_block, nullptr)) {}
    Zeilenwerte& operator=(Zeilenwerte&& andere) noexcept;
    ~Zeilenwerte() { freigeben(m_block); }

    size_t size() const;

    /// Value `i` as a QVariant of its own; const, so that nobody takes it for a place to write.
    const QVariant operator[](size_t i) const;
    bool istNull(size_t i) const;
    /// False for a value the row was read without (see Zeilenbau); it reads as empty.
    bool gelesen(size_t i) const;
    void setzen(size_t i, const QVariant& wert);
    /// Sets the values `erste`, `erste` + 1, ... to `werte`, growing the row where needed.
    void setzenAb(size_t erste, const std::vector<QVariant>& werte);
    /// Takes away values beyond `anzahl`, or adds empty ones up to it.
    void resize(size_t anzahl);

    /// The UTF-8 of value `i` where the row holds it as text, without making a QString of it;
    /// none for a value of any other kind. Valid while the row stays as it is.
    std::optional<std::string_view> textAnsicht(size_t i) const;
    /// The day (Julian day number) of value `i` where the row holds a text "YYYY-MM-DD" by its
    /// day, as it does every such text naming a valid date; none otherwise.
    std::optional<qint64> datumTextTag(size_t i) const;
    /// The text "YYYY-MM-DD" of a day a row holds so.
    static void datumText(qint64 tag, char (&aus)[10]);

    std::vector<QVariant> alle() const { return erste(size()); }
    std::vector<QVariant> erste(size_t anzahl) const;

    /// Appends value `i` as it is held (its kind, then its bytes) to `aus`: equal values of one
    /// kind give equal bytes, so a value is recognised again without making it. False (nothing
    /// appended) for a value kept aside, which has no bytes of its own.
    bool rohAnhaengen(size_t i, std::string& aus) const;
    /// The same for the values `aufsteigend` (ascending indices), in one pass over the row.
    bool rohAnhaengen(const std::vector<int>& aufsteigend, std::string& aus) const;

    /// Bytes the row takes beside the pointer itself (the block and the values kept aside).
    size_t speicher() const;

private:
    friend class Zeilenbau;
    explicit Zeilenwerte(unsigned char* block) : m_block(block) {}
    static void freigeben(unsigned char* block);
    const unsigned char* arten() const;
    const unsigned char* werteAnfang() const;
    const std::vector<QVariant>* beiseite() const;
    size_t groesse() const;
    size_t versatz(size_t i) const;
    void neuBauen(const std::vector<QVariant>& werte);

    // The block: the count (with a mark for values kept aside), then where those are kept,
    // then the kinds two to a byte, then the values; null for a row of no values.
    unsigned char* m_block = nullptr;
};

/// Builds rows value by value, as a statement hands them out; text that comes as valid UTF-8
/// goes into the row as it is. One builder serves row after row.
class Zeilenbau
{
public:
    /// Starts a row of `anzahl` values; those not given stay empty. Where `gehalten` is given,
    /// only the values it marks true are given, in their order; the others are marked as not read.
    void beginnen(size_t anzahl, const std::vector<bool>* gehalten = nullptr);
    void leer();
    void ganzzahl(qint64 wert);
    void gleitkomma(double wert);
    /// Text as UTF-8; false (and nothing taken) when it is not valid UTF-8.
    bool utf8(const char* text, size_t laenge);
    void wert(const QVariant& wert);
    Zeilenwerte fertig();

private:
    void zumNaechstenGehaltenen();

    std::vector<unsigned char> m_daten;
    const std::vector<bool>* m_gehalten = nullptr;
    size_t m_anzahl = 0;
    size_t m_naechster = 0;
    std::unique_ptr<std::vector<QVariant>> m_beiseite;
};
