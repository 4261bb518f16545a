#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Little readers for the byte forms of Btrieve files, and the error that ends every damaged read.
namespace btrieve {

constexpr uint32_t Keine = 0xFFFFFFFFu;   // "no page", "no record", end of a chain

inline uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Many 32-bit values are stored high word first, each word little-endian.
inline uint32_t ws32(const uint8_t* p) { return uint32_t(u16(p)) << 16 | u16(p + 2); }

// 6.x page reference [A][T][B][C]: type byte T, page number A<<16 | C<<8 | B.
struct SeitenRef
{
    uint8_t typ = 0;
    uint32_t seite = Keine;
    bool leer() const { return seite == Keine; }
};
inline SeitenRef seitenRef(const uint8_t* p)
{
    if (u32(p) == Keine)
        return {};
    return {p[1], uint32_t(p[0]) << 16 | uint32_t(p[3]) << 8 | p[2]};
}

// Pointer to a fragment of a record's variable part [H][L][M][F]: page H<<16 | M<<8 | L, fragment F.
struct FragmentRef
{
    uint32_t seite = Keine;
    uint8_t fragment = 0;
    bool leer() const { return seite == Keine; }
};
inline FragmentRef fragmentRef(const uint8_t* p)
{
    if (u32(p) == Keine)
        return {};
    return {uint32_t(p[0]) << 16 | uint32_t(p[2]) << 8 | p[1], p[3]};
}

// Thrown wherever the file does not hold what its structures promise; carries the status the
// caller gets and a German reason for the dump tool.
class Defekt : public std::runtime_error
{
public:
    Defekt(int16_t status, const std::string& grund) : std::runtime_error(grund), m_status(status) {}
    int16_t status() const { return m_status; }

private:
    int16_t m_status;
};

} // namespace btrieve
