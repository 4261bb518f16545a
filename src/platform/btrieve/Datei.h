#pragma once

#include "Quelle.h"
#include "Schluessel.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One Btrieve data file as read at a moment: its control record, keys, page map and records.
// Everything that a file promises is checked before use; what does not hold throws Defekt.
namespace btrieve {

enum class Format { Vor6, V6, V7 };

struct Kopf
{
    Format format = Format::V6;
    uint16_t versionswort = 0;    // e.g. 0x0400, 0x0600, 0x0610, 0x0700
    uint32_t seitengroesse = 0;
    uint16_t satzlaenge = 0;      // fixed part of a record
    uint16_t slotlaenge = 0;      // bytes a record takes on a data page
    uint16_t slotkopf = 0;        // bytes in front of the record in its slot (usage count, system data)
    uint32_t saetze = 0;          // record count of the control record
    uint32_t seiten = 0;          // page count of the control record
    bool variabel = false;        // records have a variable-length part
    uint16_t dateiflags = 0;
    uint32_t fcrSeite = 0;        // physical page of the control record in use
    uint32_t fcrZaehler = 0;      // its usage count
    std::string acsName;          // name of the file's collating sequence, if any
};

// Index order of one key: record addresses as the B-tree holds them, with each entry's key value.
struct Folge
{
    std::vector<uint32_t> adressen;
    std::vector<uint8_t> werte;   // adressen.size() values of Schluessel::laenge bytes
    uint16_t laenge = 0;
    bool geordnet = false;        // non-decreasing under our comparison: Get Equal may bisect

    size_t groesse() const { return adressen.size(); }
    const uint8_t* wert(size_t i) const { return werte.data() + i * laenge; }
};

class Datei
{
public:
    // Reads the control record, keys and collating sequences; refuses what it cannot read.
    static std::unique_ptr<Datei> laden(std::shared_ptr<const Quelle> quelle);

    const Kopf& kopf() const { return m_kopf; }
    const std::vector<Schluessel>& schluessel() const { return m_schluessel; }
    const Schluessel* schluesselNr(int nummer) const;

    // The key's order by walking its own B-tree; built once and kept.
    const Folge& folge(const Schluessel& k);
    // Index of the first entry equal to wert, or -1.
    long suchen(const Schluessel& k, const Folge& f, const uint8_t* wert) const;

    // The whole record (fixed and variable part) at a record address; the slot must be in use.
    void satzLesen(uint32_t adresse, std::vector<uint8_t>& satz) const;
    // Entry i of a key's order: the record, checked to carry the key value its entry holds.
    void eintragLesen(const Schluessel& k, const Folge& f, size_t i, std::vector<uint8_t>& satz) const;

    // True when the file has been written since it was read.
    bool veraendert() const;
    const std::shared_ptr<const Quelle>& quelle() const { return m_quelle; }

    // Physical page of a logical page (6.x and later: through the page allocation table).
    uint32_t physisch(uint32_t logisch, uint8_t typ) const;

private:
    explicit Datei(std::shared_ptr<const Quelle> quelle);
    void kopfLesen();
    std::array<uint8_t, 16> zaehlerLesen() const;
    void schluesselLesen(const std::vector<uint8_t>& fcr);
    std::shared_ptr<const Acs> acsLesen(uint32_t seite);
    void ersteSaetzePruefen();

    // Reads the first bis bytes of a page and checks that its header is what the reference says.
    void seiteLesen(uint32_t seite, uint8_t typ, std::vector<uint8_t>& puffer, size_t bis) const;
    // The slot at a record address, in use; returns its offset in puffer.
    size_t slotLesen(uint32_t adresse, std::vector<uint8_t>& puffer) const;
    void variablenTeilLesen(const uint8_t* zeiger, std::vector<uint8_t>& satz) const;
    void indexseiteLesen(const Schluessel& k, uint32_t seite, std::vector<uint8_t>& puffer) const;

    struct Lauf;
    void abwaerts(const Schluessel& k, uint32_t seite, int tiefe, Lauf& lauf, Folge& f);

    std::shared_ptr<const Quelle> m_quelle;
    uint64_t m_stempel = 0;
    std::array<uint8_t, 16> m_zaehler{};   // head of both control record pages (usage counts)
    uint64_t m_dateigroesse = 0;
    Kopf m_kopf;
    std::vector<Schluessel> m_schluessel;
    std::map<uint32_t, std::shared_ptr<const Acs>> m_acs;
    mutable std::unordered_map<uint32_t, std::vector<uint8_t>> m_pat;   // by table number
    std::map<int, Folge> m_folgen;
};

} // namespace btrieve
