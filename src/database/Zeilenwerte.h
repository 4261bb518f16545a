#pragma once

#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// The values of one row, held in one compact block: text as UTF-8, numbers and dates in eight
/// bytes, an empty value in none, instead of 32 bytes per value and a heap block per text. Tens
/// of thousands of projects of some fifty columns each then take a fifth of the memory.
///
/// A value comes out as it went in: of the same type and equal, a null text still null, a
/// typed empty value still typed. Kinds the block has no place for are kept aside as they are.
/// Reading value i walks the values before it (from the one read last, when that came before).
class Zeilenwerte
{
public:
    Zeilenwerte() = default;
    explicit Zeilenwerte(const std::vector<QVariant>& werte);
    Zeilenwerte(const Zeilenwerte& andere);
    Zeilenwerte& operator=(const Zeilenwerte& andere);
    Zeilenwerte(Zeilenwerte&& andere) noexcept { *this = std::move(andere); }
    Zeilenwerte& operator=(Zeilenwerte&& andere) noexcept;
    ~Zeilenwerte() = default;

    size_t size() const { return m_anzahl; }

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

    std::vector<QVariant> alle() const { return erste(m_anzahl); }
    std::vector<QVariant> erste(size_t anzahl) const;

    /// Appends value `i` as it is held (its kind, then its bytes) to `aus`: equal values of one
    /// kind give equal bytes, so a value is recognised again without making it. False (nothing
    /// appended) for a value kept aside, which has no bytes of its own.
    bool rohAnhaengen(size_t i, std::string& aus) const;
    /// The same for the values `aufsteigend` (ascending indices), in one pass over the row.
    bool rohAnhaengen(const std::vector<int>& aufsteigend, std::string& aus) const;

    /// Bytes the row takes beside the object itself (the block and the values kept aside).
    size_t speicher() const;

private:
    friend class Zeilenbau;
    size_t versatz(size_t i) const;
    void neuBauen(const std::vector<QVariant>& werte);

    std::unique_ptr<unsigned char[]> m_daten;  // the kinds, two to a byte, then the values
    uint32_t m_groesse = 0;
    uint32_t m_anzahl = 0;
    std::unique_ptr<std::vector<QVariant>> m_beiseite;  // values of other kinds
    // Where the last value asked for begins (after the kind bytes): reading the fields of a
    // row one after the other then walks the row once.
    mutable uint32_t m_merkIndex = 0;
    mutable uint32_t m_merkVersatz = 0;
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
