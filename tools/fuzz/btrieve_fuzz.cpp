// libFuzzer target: any bytes as a Btrieve file. Loading, walking every key, reading every entry
// and searching must end in a status (Defekt), never in a crash, a sanitizer report or a hang.

#include "Datei.h"
#include "Format.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    auto quelle = std::make_shared<btrieve::Speicherquelle>(daten, groesse);
    std::unique_ptr<btrieve::Datei> datei;
    try {
        datei = btrieve::Datei::laden(quelle);
    } catch (const btrieve::Defekt&) {
        return 0;
    }
    std::vector<uint8_t> satz;
    for (const btrieve::Schluessel& k : datei->schluessel()) {
        try {
            const btrieve::Folge& f = datei->folge(k);
            for (size_t i = 0; i < f.groesse(); ++i)
                datei->eintragLesen(k, f, i, satz);
            if (f.groesse() > 0) {
                datei->suchen(k, f, f.wert(f.groesse() / 2));
                std::vector<uint8_t> fehlt(k.laenge, 0xFE);
                datei->suchen(k, f, fehlt.data());
            }
        } catch (const btrieve::Defekt&) {
        }
    }
    return 0;
}
