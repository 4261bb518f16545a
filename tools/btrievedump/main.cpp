// btrievedump: shows what a Btrieve data file holds, for checking an ERP file before an import.
//   btrievedump [-k Schlüssel] [-n Anzahl] [--nur-kopf] <Datei>
// Prints format, page size, record length and count, the key descriptions and the records in the
// order of the chosen key (hex and text, text in DOS code page 850).

#include "Btrieve.h"
#include "Cp850.h"
#include "Datei.h"
#include "Format.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace btrieve;

namespace {

const char* formatName(Format f)
{
    switch (f) {
    case Format::Vor6: return "vor 6.x";
    case Format::V6: return "6.x";
    case Format::V7: return "7.x";
    }
    return "?";
}

std::string flagText(uint16_t f)
{
    static const struct { uint16_t bit; const char* name; } namen[] = {
        {flag::Duplikate, "Duplikate"}, {flag::Aenderbar, "änderbar"}, {flag::Binaer, "binär"},
        {flag::NullAlle, "Nullwert (alle Segmente)"}, {flag::Segmentiert, "segmentiert"},
        {flag::Acs, "Sortierfolge"}, {flag::Absteigend, "absteigend"},
        {flag::Wiederholend, "wiederholte Duplikate"}, {flag::Erweitert, "erweiterter Typ"},
        {flag::NullEines, "Nullwert (ein Segment)"}, {flag::OhneGross, "ohne Groß-/Kleinschreibung"}};
    std::string text;
    for (const auto& n : namen)
        if (f & n.bit) {
            if ((n.bit == flag::OhneGross) && (f & flag::Acs))
                continue;
            text += text.empty() ? "" : ", ";
            text += n.name;
        }
    return text.empty() ? "-" : text;
}

void hexText(const std::vector<uint8_t>& daten)
{
    for (size_t zeile = 0; zeile < daten.size(); zeile += 16) {
        std::printf("  %04zx ", zeile);
        for (size_t i = zeile; i < zeile + 16; ++i) {
            if (i < daten.size())
                std::printf(" %02x", daten[i]);
            else
                std::printf("   ");
        }
        std::string text;
        for (size_t i = zeile; i < zeile + 16 && i < daten.size(); ++i) {
            const uint8_t b = daten[i];
            const char32_t c = cp850::zeichen(b);
            if (b < 0x20 || b == 0x7F || (c >= 0x2500 && c <= 0x25FF))
                text += '.';
            else
                text += cp850::nachUtf8(std::string(1, char(b)));
        }
        std::printf("  |%s|\n", text.c_str());
    }
}

int benutzung()
{
    std::fprintf(stderr, "Aufruf: btrievedump [-k Schlüssel] [-n Anzahl] [--nur-kopf] <Datei>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int schluessel = -1;
    long hoechstens = -1;
    bool nurKopf = false;
    const char* pfad = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-k") && i + 1 < argc)
            schluessel = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-n") && i + 1 < argc)
            hoechstens = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--nur-kopf"))
            nurKopf = true;
        else if (argv[i][0] == '-' || pfad)
            return benutzung();
        else
            pfad = argv[i];
    }
    if (!pfad)
        return benutzung();

    int16_t st = status::Ok;
    std::shared_ptr<Quelle> quelle = Dateiquelle::oeffnen(pfad, st);
    if (!quelle) {
        std::printf("Datei: %s\nStatus %d: Datei nicht zu öffnen\n", pfad, st);
        return 1;
    }
    try {
        std::unique_ptr<Datei> datei = Datei::laden(quelle);
        const Kopf& k = datei->kopf();
        std::printf("Datei: %s\n", pfad);
        std::printf("Format: %s (Versionswort 0x%04X)\n", formatName(k.format), k.versionswort);
        std::printf("Seitengröße: %u\n", k.seitengroesse);
        std::printf("Satzlänge: %u (Satzplatz %u, davon %u vor dem Satz)%s\n", k.satzlaenge, k.slotlaenge,
                    k.slotkopf, k.variabel ? ", variable Satzlänge" : "");
        std::printf("Sätze: %u\n", k.saetze);
        std::printf("Seiten: %u\n", k.seiten);
        std::printf("Dateiflags: 0x%04X\n", k.dateiflags);
        if (!k.acsName.empty())
            std::printf("Sortierfolge: %s\n", k.acsName.c_str());
        std::printf("Schlüssel: %zu\n", datei->schluessel().size());
        for (const Schluessel& s : datei->schluessel()) {
            std::printf("Schlüssel %d: Länge %u, %s, %u Werte\n", s.nummer, s.laenge, flagText(s.flags).c_str(), s.werte);
            int n = 0;
            for (const Segment& g : s.segmente)
                std::printf("  Segment %d: Offset %u (Position %u), Länge %u, %s, %s%s\n", ++n, g.position,
                            g.position + 1u, g.laenge, typName(g.typ), flagText(g.flags).c_str(),
                            g.vergleichbar ? "" : " (Vergleich nur byteweise)");
        }
        if (nurKopf || datei->schluessel().empty())
            return 0;

        const Schluessel* s = schluessel < 0 ? &datei->schluessel().front() : datei->schluesselNr(schluessel);
        if (!s) {
            std::printf("Status %d: Schlüssel %d gibt es nicht\n", status::UngueltigeSchluesselnummer, schluessel);
            return 1;
        }
        const Folge& f = datei->folge(*s);
        std::printf("\nSätze nach Schlüssel %d: %zu\n", s->nummer, f.groesse());
        std::vector<uint8_t> satz;
        for (size_t i = 0; i < f.groesse() && (hoechstens < 0 || long(i) < hoechstens); ++i) {
            datei->eintragLesen(*s, f, i, satz);
            std::printf("\nSatz %zu, Adresse 0x%08X, %zu Bytes\n", i + 1, f.adressen[i], satz.size());
            hexText(satz);
        }
    } catch (const Defekt& fehler) {
        std::printf("Status %d: %s\n", fehler.status(), fehler.what());
        return 1;
    }
    return 0;
}
