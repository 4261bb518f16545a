// The engine behind BTRCALLID: open files by position block, a cursor per file, the operations.

#include "Btrieve.h"
#include "Datei.h"
#include "Format.h"

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

namespace btrieve {
namespace {

constexpr char Kennung[4] = {'P', 'V', 'B', 'T'};
constexpr int MaxNeuLaden = 3;

using ClientId = std::array<uint8_t, ClientIdLaenge>;

struct Cursor
{
    bool positioniert = false;
    bool amEnde = false;   // Get First found no record: Get Next answers end of file
    int schluessel = -1;
    size_t index = 0;
    uint32_t adresse = 0;
    std::vector<uint8_t> wert;
};

struct OffeneDatei
{
    std::shared_ptr<Datei> datei;
    ClientId client{};
    Cursor cursor;
};

struct Engine
{
    std::mutex sperre;
    std::map<uint32_t, OffeneDatei> offen;
    uint32_t naechsteNummer = 1;
};

Engine& engine()
{
    static Engine e;
    return e;
}

ClientId clientAus(const void* id)
{
    ClientId c{};
    if (id)
        std::memcpy(c.data(), id, c.size());
    return c;
}

// The position block holds our mark and the number of the open file; nothing else.
OffeneDatei* offeneDatei(Engine& e, const void* positionsblock)
{
    if (!positionsblock)
        return nullptr;
    const uint8_t* p = static_cast<const uint8_t*>(positionsblock);
    if (std::memcmp(p, Kennung, 4) != 0)
        return nullptr;
    auto it = e.offen.find(u32(p + 4));
    return it == e.offen.end() ? nullptr : &it->second;
}

int16_t oeffnen(Engine& e, void* positionsblock, const void* schluesselpuffer, uint8_t schluessellaenge,
                const void* clientId)
{
    if (!positionsblock)
        return status::UngueltigeOperation;
    if (!schluesselpuffer)
        return status::UngueltigerDateiname;
    const char* name = static_cast<const char*>(schluesselpuffer);
    const size_t laenge = strnlen(name, schluessellaenge);
    if (laenge == schluessellaenge)   // no terminating zero within the key buffer
        return status::UngueltigerDateiname;
    int16_t st = status::Ok;
    std::shared_ptr<Quelle> quelle = Dateiquelle::oeffnen(std::string(name, laenge), st);
    if (!quelle)
        return st;
    OffeneDatei o;
    o.datei = Datei::laden(quelle);
    o.client = clientAus(clientId);
    const uint32_t nummer = e.naechsteNummer++;
    e.offen.emplace(nummer, std::move(o));
    uint8_t* p = static_cast<uint8_t*>(positionsblock);
    std::memset(p, 0, PositionsblockLaenge);
    std::memcpy(p, Kennung, 4);
    for (int i = 0; i < 4; ++i)
        p[4 + i] = uint8_t(nummer >> (8 * i));
    return status::Ok;
}

// Rereads a file another program has written since; the cursor finds its record again.
void aktualisieren(OffeneDatei& o)
{
    if (!o.datei->veraendert())
        return;
    o.datei = Datei::laden(o.datei->quelle());
}

// Position in the key's order after the cursor's record. After a reread the record is found by
// its address and value (an address alone may now hold another record); failing that, the walk
// goes on at the next greater value.
size_t naechsterIndex(const Schluessel& k, const Folge& f, const Cursor& c)
{
    if (c.amEnde)
        return f.groesse();
    auto derselbe = [&](size_t i) { return f.adressen[i] == c.adresse && k.gleich(f.wert(i), c.wert.data()); };
    if (c.index < f.groesse() && derselbe(c.index))
        return c.index + 1;
    for (size_t i = 0; i < f.groesse(); ++i)
        if (derselbe(i))
            return i + 1;
    for (size_t i = 0; i < f.groesse(); ++i)
        if (k.vergleichen(f.wert(i), c.wert.data()) > 0)
            return i;
    return f.groesse();
}

int16_t satzLiefern(OffeneDatei& o, const Schluessel& k, const Folge& f, size_t i, void* datenpuffer,
                    uint32_t* datenlaenge, void* schluesselpuffer)
{
    std::vector<uint8_t> satz;
    o.datei->eintragLesen(k, f, i, satz);
    o.cursor.positioniert = true;
    o.cursor.amEnde = false;
    o.cursor.schluessel = k.nummer;
    o.cursor.index = i;
    o.cursor.adresse = f.adressen[i];
    o.cursor.wert = k.wertAus(satz.data());
    std::memcpy(schluesselpuffer, o.cursor.wert.data(), k.laenge);
    const uint32_t platz = *datenlaenge;
    const size_t n = satz.size() < platz ? satz.size() : platz;
    if (n)
        std::memcpy(datenpuffer, satz.data(), n);
    *datenlaenge = uint32_t(n);
    return n < satz.size() ? status::DatenpufferZuKurz : status::Ok;
}

int16_t lesen(Engine& e, uint16_t operation, void* positionsblock, void* datenpuffer, uint32_t* datenlaenge,
              void* schluesselpuffer, uint8_t schluessellaenge, int8_t schluesselnummer)
{
    OffeneDatei* o = offeneDatei(e, positionsblock);
    if (!o)
        return status::DateiNichtOffen;
    if (!datenlaenge || (!datenpuffer && *datenlaenge > 0))
        return status::DatenpufferZuKurz;

    for (int versuch = 0;; ++versuch) {
        try {
            aktualisieren(*o);
            Datei& d = *o->datei;
            const int nummer = operation == NaechsterLesen ? o->cursor.schluessel : schluesselnummer;
            if (operation == NaechsterLesen) {
                if (!o->cursor.positioniert)
                    return status::UngueltigePositionierung;
                if (schluesselnummer != o->cursor.schluessel)
                    return status::AndereSchluesselnummer;
            }
            const Schluessel* k = d.schluesselNr(nummer);
            if (!k || nummer < 0)
                return status::UngueltigeSchluesselnummer;
            if (!schluesselpuffer || schluessellaenge < k->laenge)
                return status::SchluesselpufferZuKurz;
            const Folge& f = d.folge(*k);

            size_t i = 0;
            if (operation == ErsterLesen) {
                if (f.groesse() == 0) {
                    o->cursor = Cursor{};
                    o->cursor.positioniert = o->cursor.amEnde = true;
                    o->cursor.schluessel = k->nummer;
                    return status::Dateiende;
                }
            } else if (operation == NaechsterLesen) {
                i = naechsterIndex(*k, f, o->cursor);
                if (i >= f.groesse())
                    return status::Dateiende;
            } else {
                const long gefunden = d.suchen(*k, f, static_cast<const uint8_t*>(schluesselpuffer));
                if (gefunden < 0)
                    return status::SchluesselNichtGefunden;
                i = size_t(gefunden);
            }
            return satzLiefern(*o, *k, f, i, datenpuffer, datenlaenge, schluesselpuffer);
        } catch (const Defekt& fehler) {
            // A file written while we read it looks damaged for a moment: read it afresh.
            if (versuch + 1 >= MaxNeuLaden || !o->datei->veraendert())
                return fehler.status();
        }
    }
}

} // namespace
} // namespace btrieve

int16_t BTRCALLID(uint16_t operation, void* positionBlock, void* dataBuffer, uint32_t* dataLength,
                  void* keyBuffer, uint8_t keyLength, int8_t keyNumber, const void* clientId)
{
    using namespace btrieve;
    Engine& e = engine();
    std::lock_guard<std::mutex> lock(e.sperre);
    try {
        switch (operation) {
        case Oeffnen:
            return oeffnen(e, positionBlock, keyBuffer, keyLength, clientId);
        case Schliessen: {
            OffeneDatei* o = offeneDatei(e, positionBlock);
            if (!o)
                return status::DateiNichtOffen;
            e.offen.erase(u32(static_cast<const uint8_t*>(positionBlock) + 4));
            std::memset(positionBlock, 0, PositionsblockLaenge);
            return status::Ok;
        }
        case GleichLesen:
        case NaechsterLesen:
        case ErsterLesen:
            return lesen(e, operation, positionBlock, dataBuffer, dataLength, keyBuffer, keyLength, keyNumber);
        case Beenden: {
            // Releases every file of this client; their position blocks are no longer valid.
            const ClientId client = clientAus(clientId);
            for (auto it = e.offen.begin(); it != e.offen.end();)
                it = it->second.client == client ? e.offen.erase(it) : std::next(it);
            return status::Ok;
        }
        default:
            return status::UngueltigeOperation;
        }
    } catch (const Defekt& fehler) {
        return fehler.status();
    } catch (const std::bad_alloc&) {
        return status::ZuWenigSpeicher;
    } catch (...) {
        return status::EinAusgabeFehler;
    }
}
