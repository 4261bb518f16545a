#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A key (index) of a Btrieve file as its descriptors define it, and how two key values compare.
namespace btrieve {

namespace flag {
constexpr uint16_t Duplikate = 0x0001;
constexpr uint16_t Aenderbar = 0x0002;
constexpr uint16_t Binaer = 0x0004;          // old-style type "binary" (without Erweitert)
constexpr uint16_t NullAlle = 0x0008;
constexpr uint16_t Segmentiert = 0x0010;     // another segment follows
constexpr uint16_t Acs = 0x0020;             // alternate collating sequence
constexpr uint16_t Absteigend = 0x0040;
constexpr uint16_t Wiederholend = 0x0080;    // repeating duplicates: one index entry per record
constexpr uint16_t Erweitert = 0x0100;       // the extended type byte is valid
constexpr uint16_t NullEines = 0x0200;
constexpr uint16_t OhneGross = 0x0400;       // case-insensitive (without Acs)
}

namespace typ {
constexpr uint8_t String = 0, Integer = 1, Float = 2, Date = 3, Time = 4, Decimal = 5, Money = 6,
                  Logical = 7, Numeric = 8, BFloat = 9, LString = 10, ZString = 11,
                  UnsignedBinary = 14, Autoinc = 15;
}

const char* typName(uint8_t typ);

using Acs = std::array<uint8_t, 256>;

struct Segment
{
    uint16_t flags = 0;
    uint16_t position = 0;     // offset in the record (not in the slot)
    uint16_t laenge = 0;
    uint8_t typ = typ::String; // effective type; old-style keys map to String or UnsignedBinary
    uint8_t nullwert = 0;
    std::shared_ptr<const Acs> acs;   // translation table when the segment uses one we can read
    bool vergleichbar = true;         // our comparison reproduces the engine's order

    // <0, 0, >0. Roh ignores collating sequence and case folding (comparison of the stored bytes).
    int vergleichen(const uint8_t* a, const uint8_t* b, bool roh = false) const;
};

struct Schluessel
{
    int nummer = 0;                // the number the application passes
    uint8_t seitentyp = 0;         // type byte of this key's index pages (6.x: 0x80 + number)
    uint16_t flags = 0;            // flags of the first segment
    std::vector<Segment> segmente;
    uint16_t laenge = 0;           // total over all segments
    uint16_t eintragslaenge = 0;   // bytes of one index entry
    uint32_t wurzel = 0;           // root page of the B-tree (logical 6.x, physical before)
    uint32_t werte = 0;            // distinct values, as the descriptor says
    uint16_t duplikatOffset = 0;   // slot offset of the duplicate chain pair (linked duplicates)
    bool verkettet = false;        // duplicates linked through the records, one entry per value
    bool vergleichbar = true;      // every segment compares as the engine does

    std::vector<uint8_t> wertAus(const uint8_t* satz) const;
    void wertAus(const uint8_t* satz, uint8_t* ziel) const;
    // Order of two key values; follows the engine's order only when vergleichbar.
    int vergleichen(const uint8_t* a, const uint8_t* b) const;
    // Equality as Get Equal needs it; falls back to the stored bytes where the order is unknown.
    bool gleich(const uint8_t* a, const uint8_t* b) const;
    // Whether a record's key value can be the value of an index entry: equal, or where the
    // collation is only partly known (case-insensitive, collating sequence), equal but for letter
    // case and bytes beyond ASCII. Catches records that are not what the index means.
    bool passt(const uint8_t* a, const uint8_t* b) const;
};

} // namespace btrieve
