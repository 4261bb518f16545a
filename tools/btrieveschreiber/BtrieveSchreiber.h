#pragma once

#include "Schluessel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Writes genuine Btrieve 6.x data files with fixed-length records and their key indexes, for
// tests and the demo. The file is written in one go: control record pair, page allocation tables,
// data pages and one B-tree per key, as the 6.x engine lays them out.
namespace btrieveschreiber {

struct Segment
{
    uint16_t offset = 0;                    // in the record
    uint16_t laenge = 0;
    uint8_t typ = btrieve::typ::String;     // extended key type
    uint16_t flags = 0;                     // per segment: Absteigend, OhneGross, Acs
};

struct Schluessel
{
    std::vector<Segment> segmente;
    bool duplikate = false;      // linked duplicates (one entry per value, records chained)
    bool wiederholend = false;   // with duplikate: one entry per record (needs version 0x0610)
    bool aenderbar = false;
};

struct Optionen
{
    uint16_t seitengroesse = 4096;
    uint16_t version = 0x0600;
    // Stale copies of data pages and junk pages that no table refers to: only a reader that
    // scans physical pages would find them.
    bool veralteteSeiten = false;
    // Physical pages in the reverse order of their logical numbers.
    bool physischUmgekehrt = false;
    std::optional<btrieve::Acs> acs;        // collating sequence for segments with flag Acs
    uint32_t zaehler = 2;                   // usage count of the control record in use (> 1)
    std::string acsName = "UPPER";
};

// Where the writer put things, for tests that damage a file on purpose.
struct Lageplan
{
    uint32_t seitengroesse = 0;
    uint32_t fcrSeite = 1;                          // physical page of the control record in use
    std::vector<uint32_t> physisch;                 // by logical page (index 0 unused)
    std::vector<uint32_t> patSeiten;                // physical page of the table copy in use, by table
    std::vector<uint32_t> wurzeln;                  // logical root page by key
    std::vector<std::vector<uint32_t>> indexseiten; // logical index pages by key
    std::vector<uint32_t> datenseiten;              // logical data pages
    std::vector<uint32_t> adressen;                 // record address by record (0 for deleted ones)

    uint64_t dateiposition(uint32_t logischeSeite) const { return uint64_t(physisch.at(logischeSeite)) * seitengroesse; }
};

class Schreiber
{
public:
    Schreiber(uint16_t satzlaenge, std::vector<Schluessel> schluessel, Optionen optionen = {});

    // Adds a record (satzlaenge bytes); a deleted one takes a slot that is marked free.
    void satz(const std::vector<uint8_t>& daten, bool geloescht = false);
    size_t anzahl() const { return m_geloescht.size(); }

    std::vector<uint8_t> bytes(Lageplan* plan = nullptr) const;
    // Writes the file; false with a German reason on failure.
    bool schreiben(const std::string& pfad, std::string& fehler, Lageplan* plan = nullptr) const;

private:
    using Senke = std::function<void(uint64_t physischeSeite, const uint8_t* seite)>;
    void erzeugen(const Senke& senke, Lageplan& plan) const;

    uint16_t m_satzlaenge;
    std::vector<Schluessel> m_schluessel;
    Optionen m_optionen;
    std::vector<uint8_t> m_saetze;
    std::vector<bool> m_geloescht;
};

} // namespace btrieveschreiber
