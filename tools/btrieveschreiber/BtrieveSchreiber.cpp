#include "BtrieveSchreiber.h"

#include "Format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace btrieveschreiber {

using btrieve::Keine;

namespace {

constexpr uint8_t TypDaten = 'D';
constexpr uint8_t TypAcs = 'A';
constexpr uint16_t KatOffset4096 = 0x0F10;

void p16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void p32(uint8_t* p, uint32_t v)
{
    p16(p, v);
    p16(p + 2, v >> 16);
}
void pws32(uint8_t* p, uint32_t v)
{
    p16(p, v >> 16);
    p16(p + 2, v);
}
void pref(uint8_t* p, uint8_t typ, uint32_t seite)
{
    if (seite == Keine) {
        p32(p, Keine);
        return;
    }
    p[0] = uint8_t(seite >> 16);
    p[1] = typ;
    p[2] = uint8_t(seite);
    p[3] = uint8_t(seite >> 8);
}

[[noreturn]] void ungueltig(const std::string& grund) { throw std::invalid_argument(grund); }

// One index page while the tree is built: entries and children by page number in the key's list.
struct Knoten
{
    std::vector<size_t> eintraege;    // positions in the key's entry list
    std::vector<long> kinder;         // eintraege.size() + 1 children, -1 = none
};

struct Eintrag
{
    size_t wert;          // record whose key bytes the entry holds
    uint32_t adresse;
    uint32_t letzte;      // last record of a linked duplicate group
};

// Bottom-up bulk load: full pages, one separator between neighbours, separators form the level above.
long ebeneBauen(std::vector<size_t> eintraege, std::vector<long> kinder, size_t platz, std::vector<Knoten>& knoten)
{
    if (eintraege.size() <= platz) {
        knoten.push_back({std::move(eintraege), std::move(kinder)});
        return long(knoten.size() - 1);
    }
    const size_t n = eintraege.size();
    const size_t seiten = (n + 1 + platz) / (platz + 1);
    const size_t jeSeite = (n - (seiten - 1)) / seiten;
    const size_t rest = (n - (seiten - 1)) % seiten;
    std::vector<size_t> oben;
    std::vector<long> obenKinder;
    size_t i = 0;
    for (size_t s = 0; s < seiten; ++s) {
        const size_t anzahl = jeSeite + (s < rest ? 1 : 0);
        Knoten k;
        k.eintraege.assign(eintraege.begin() + long(i), eintraege.begin() + long(i + anzahl));
        k.kinder.assign(kinder.begin() + long(i), kinder.begin() + long(i + anzahl + 1));
        knoten.push_back(std::move(k));
        obenKinder.push_back(long(knoten.size() - 1));
        i += anzahl;
        if (s + 1 < seiten)
            oben.push_back(eintraege[i++]);
    }
    return ebeneBauen(std::move(oben), std::move(obenKinder), platz, knoten);
}

} // namespace

Schreiber::Schreiber(uint16_t satzlaenge, std::vector<Schluessel> schluessel, Optionen optionen)
    : m_satzlaenge(satzlaenge), m_schluessel(std::move(schluessel)), m_optionen(std::move(optionen))
{
}

void Schreiber::satz(const std::vector<uint8_t>& daten, bool geloescht)
{
    if (daten.size() != m_satzlaenge)
        ungueltig("Satz hat " + std::to_string(daten.size()) + " statt " + std::to_string(m_satzlaenge) + " Bytes");
    m_saetze.insert(m_saetze.end(), daten.begin(), daten.end());
    m_geloescht.push_back(geloescht);
}

void Schreiber::erzeugen(const Senke& senke, Lageplan& plan) const
{
    const Optionen& o = m_optionen;
    const uint32_t ps = o.seitengroesse;
    if (ps < 512 || ps > 4096 || ps % 512)
        ungueltig("ungültige Seitengröße");
    if (o.version < 0x0600 || o.version > 0x06FF)
        ungueltig("nur Format 6.x wird geschrieben");
    if (m_satzlaenge == 0)
        ungueltig("Satzlänge 0");
    if (o.zaehler < 2)
        ungueltig("Nutzungszähler muss größer als 1 sein");

    // Keys as the engine compares them, to sort the index entries.
    std::shared_ptr<const btrieve::Acs> acs = o.acs ? std::make_shared<btrieve::Acs>(*o.acs) : nullptr;
    std::vector<btrieve::Schluessel> vergleich;
    size_t verkettete = 0, segmente = 0;
    for (size_t k = 0; k < m_schluessel.size(); ++k) {
        const Schluessel& s = m_schluessel[k];
        if (s.segmente.empty())
            ungueltig("Schlüssel ohne Segment");
        if (s.wiederholend && (!s.duplikate || o.version < 0x0610))
            ungueltig("wiederholte Duplikate brauchen Duplikate und Version 6.1");
        btrieve::Schluessel v;
        v.nummer = int(k);
        for (const Segment& g : s.segmente) {
            if (g.laenge == 0 || g.offset + g.laenge > m_satzlaenge)
                ungueltig("Segment liegt nicht im Satz");
            if ((g.flags & btrieve::flag::Acs) && !acs)
                ungueltig("Segment mit Sortierfolge, aber keine Sortierfolge angegeben");
            btrieve::Segment x;
            x.flags = g.flags;
            x.position = g.offset;
            x.laenge = g.laenge;
            x.typ = g.typ;
            if (g.flags & btrieve::flag::Acs)
                x.acs = acs;
            v.segmente.push_back(x);
            v.laenge = uint16_t(v.laenge + g.laenge);
        }
        if (v.laenge > 255)
            ungueltig("Schlüssel länger als 255 Bytes");
        v.verkettet = s.duplikate && !s.wiederholend;
        v.eintragslaenge = uint16_t(v.laenge + 8 + (v.verkettet ? 4 : 0));
        if (v.verkettet)
            v.duplikatOffset = uint16_t(2 + m_satzlaenge + 8 * verkettete++);
        segmente += s.segmente.size();
        vergleich.push_back(std::move(v));
    }
    const size_t katOffset = ps == 4096 ? KatOffset4096 : 0x110 + 30 * segmente;
    if (0x110 + 30 * segmente > (ps == 4096 ? KatOffset4096 : ps) || katOffset + 2 * m_schluessel.size() > ps)
        ungueltig("zu viele Schlüsselsegmente für den Dateikopf");

    const uint32_t slot = uint32_t(2 + m_satzlaenge + 8 * verkettete);
    if (slot > ps - 6)
        ungueltig("Satz passt nicht auf eine Seite");
    const uint32_t jeSeite = (ps - 6) / slot;
    const size_t anzahl = m_geloescht.size();

    // Logical pages: collating sequence, data pages, then the index pages key by key.
    uint32_t logisch = 1;
    const uint32_t acsSeite = acs ? logisch++ : 0;
    const uint32_t datenseiten = std::max<uint32_t>(1, uint32_t((anzahl + jeSeite - 1) / jeSeite));
    plan = Lageplan{};
    plan.seitengroesse = ps;
    for (uint32_t d = 0; d < datenseiten; ++d)
        plan.datenseiten.push_back(logisch++);
    auto adresseVon = [&](size_t satz) {
        return plan.datenseiten[satz / jeSeite] * ps + 6 + uint32_t(satz % jeSeite) * slot;
    };
    plan.adressen.resize(anzahl);
    for (size_t i = 0; i < anzahl; ++i)
        plan.adressen[i] = m_geloescht[i] ? 0 : adresseVon(i);
    auto satzDaten = [&](size_t i) { return m_saetze.data() + i * m_satzlaenge; };

    // Index entries and trees.
    std::vector<std::vector<Eintrag>> eintraege(m_schluessel.size());
    std::vector<std::vector<Knoten>> baeume(m_schluessel.size());
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> ketten(m_schluessel.size());   // prev, next by record
    std::vector<uint32_t> werte(m_schluessel.size());
    for (size_t k = 0; k < m_schluessel.size(); ++k) {
        const btrieve::Schluessel& v = vergleich[k];
        std::vector<std::vector<uint8_t>> wert(anzahl);
        std::vector<size_t> lebend;
        for (size_t i = 0; i < anzahl; ++i)
            if (!m_geloescht[i]) {
                wert[i] = v.wertAus(satzDaten(i));
                lebend.push_back(i);
            }
        std::stable_sort(lebend.begin(), lebend.end(),
                         [&](size_t a, size_t b) { return v.vergleichen(wert[a].data(), wert[b].data()) < 0; });
        std::vector<Eintrag>& liste = eintraege[k];
        if (v.verkettet)
            ketten[k].assign(anzahl, {Keine, Keine});
        for (size_t j = 0; j < lebend.size(); ++j) {
            const size_t i = lebend[j];
            const bool gleichVorher = j > 0 && v.vergleichen(wert[lebend[j - 1]].data(), wert[i].data()) == 0;
            if (gleichVorher && !m_schluessel[k].duplikate)
                ungueltig("Schlüssel " + std::to_string(k) + ": doppelter Wert ohne Duplikate");
            if (!gleichVorher)
                ++werte[k];
            if (gleichVorher && v.verkettet) {
                // Chained in insertion order behind the group's first record.
                Eintrag& gruppe = liste.back();
                const size_t vorher = lebend[j - 1];
                ketten[k][vorher].second = plan.adressen[i];
                ketten[k][i].first = plan.adressen[vorher];
                gruppe.letzte = plan.adressen[i];
                continue;
            }
            liste.push_back({i, plan.adressen[i], plan.adressen[i]});
        }
        const size_t platz = (ps - 12) / v.eintragslaenge;
        std::vector<size_t> positionen(liste.size());
        std::iota(positionen.begin(), positionen.end(), 0);
        ebeneBauen(std::move(positionen), std::vector<long>(liste.size() + 1, -1), platz, baeume[k]);
        // The root is built last, so it gets the key's highest page number.
        plan.wurzeln.push_back(logisch + uint32_t(baeume[k].size() - 1));
        std::vector<uint32_t> seiten;
        for (size_t n = 0; n < baeume[k].size(); ++n)
            seiten.push_back(logisch + uint32_t(n));
        plan.indexseiten.push_back(seiten);
        logisch += uint32_t(baeume[k].size());
    }
    const uint32_t hoechste = logisch - 1;

    // Physical places: pages 0/1 control record, page allocation table pairs every ps/4 pages.
    enum Art { Logisch, Veraltet, Abfall };
    struct Platz { Art art; uint32_t logisch; };
    std::vector<Platz> folge;
    for (uint32_t l = 1; l <= hoechste; ++l) {
        folge.push_back({Logisch, l});
        const bool datenseite = l >= plan.datenseiten.front() && l <= plan.datenseiten.back();
        if (o.veralteteSeiten && datenseite) {
            folge.push_back({Veraltet, l});
            if (l % 3 == 0)
                folge.push_back({Abfall, l});
        }
    }
    if (o.physischUmgekehrt)
        std::reverse(folge.begin(), folge.end());
    const uint32_t paarAbstand = ps / 4;
    const uint32_t proTabelle = paarAbstand - 2;
    plan.physisch.assign(hoechste + 1, 0);
    std::vector<uint32_t> physischVon(folge.size());
    uint32_t p = 2;
    for (size_t i = 0; i < folge.size(); ++i) {
        while ((p - 2) % paarAbstand < 2)
            ++p;
        physischVon[i] = p;
        if (folge[i].art == Logisch)
            plan.physisch[folge[i].logisch] = p;
        ++p;
    }

    std::vector<uint8_t> seite(ps);
    auto neu = [&] { std::fill(seite.begin(), seite.end(), 0); };

    // Page allocation tables: the copy in use has the larger usage count, the other is older.
    const uint32_t tabellen = (hoechste - 1) / proTabelle + 1;
    for (uint32_t t = 0; t < tabellen; ++t) {
        const uint32_t erste = 2 + t * paarAbstand;
        for (uint32_t kopie = 0; kopie < 2; ++kopie) {
            neu();
            seite[0] = 'P';
            seite[1] = 'P';
            p16(&seite[2], t + 1);
            p32(&seite[4], kopie == 1 ? 2 : 1);
            if (kopie == 1)
                for (uint32_t e = 1; e <= proTabelle; ++e) {
                    const uint32_t l = t * proTabelle + e;
                    if (l > hoechste)
                        break;
                    uint8_t typ = TypDaten;
                    if (l == acsSeite)
                        typ = TypAcs;
                    for (size_t k = 0; k < plan.indexseiten.size(); ++k)
                        if (l >= plan.indexseiten[k].front() && l <= plan.indexseiten[k].back())
                            typ = uint8_t(0x80 + k);
                    pref(&seite[4 + 4 * e], typ, plan.physisch[l]);
                }
            senke(erste + kopie, seite.data());
        }
        plan.patSeiten.push_back(erste + 1);
    }

    // Free slots (deleted records and the rest of the last page) form a chain.
    std::vector<uint32_t> frei;
    for (size_t i = 0; i < size_t(datenseiten) * jeSeite; ++i)
        if (i >= anzahl || m_geloescht[i])
            frei.push_back(adresseVon(i));
    auto naechsterFreier = [&](uint32_t adresse) {
        auto it = std::upper_bound(frei.begin(), frei.end(), adresse);
        return it == frei.end() ? Keine : *it;
    };

    auto datenseiteFuellen = [&](uint32_t d, bool veraltet) {
        neu();
        pref(&seite[0], TypDaten, plan.datenseiten[d]);
        p16(&seite[4], 0x8001);
        for (uint32_t s = 0; s < jeSeite; ++s) {
            const size_t i = size_t(d) * jeSeite + s;
            uint8_t* platz = &seite[6 + s * slot];
            if (i < anzahl) {
                std::memcpy(platz + 2, satzDaten(i), m_satzlaenge);
                if (veraltet)   // an older state of the record
                    for (uint32_t b = 0; b < m_satzlaenge; ++b)
                        platz[2 + b] ^= 0x5A;
                size_t kette = 0;
                for (size_t k = 0; k < m_schluessel.size(); ++k)
                    if (vergleich[k].verkettet) {
                        const auto& paar = ketten[k][i];
                        pws32(platz + 2 + m_satzlaenge + 8 * kette, paar.first);
                        pws32(platz + 2 + m_satzlaenge + 8 * kette + 4, paar.second);
                        ++kette;
                    }
            }
            if (i < anzahl && (!m_geloescht[i] || veraltet)) {
                p16(platz, 1);
            } else {
                p16(platz, 0);
                pws32(platz + 2, naechsterFreier(adresseVon(i)));
            }
        }
    };

    for (size_t i = 0; i < folge.size(); ++i) {
        const uint32_t l = folge[i].logisch;
        const bool datenseite = l >= plan.datenseiten.front() && l <= plan.datenseiten.back();
        if (folge[i].art == Abfall) {
            neu();
            uint32_t z = 0x12345678u ^ l;
            for (uint8_t& b : seite) {
                z = z * 1103515245u + 12345u;
                b = uint8_t(z >> 16);
            }
            pref(&seite[0], TypDaten, plan.datenseiten.front());
            senke(physischVon[i], seite.data());
            continue;
        }
        if (datenseite) {
            datenseiteFuellen(l - plan.datenseiten.front(), folge[i].art == Veraltet);
        } else if (l == acsSeite) {
            neu();
            pref(&seite[0], TypAcs, l);
            seite[6] = 0xAC;
            std::string name = o.acsName.substr(0, 8);
            name.resize(8, ' ');
            std::memcpy(&seite[7], name.data(), 8);
            std::memcpy(&seite[15], o.acs->data(), 256);
        } else {
            size_t k = 0;
            while (!(l >= plan.indexseiten[k].front() && l <= plan.indexseiten[k].back()))
                ++k;
            const btrieve::Schluessel& v = vergleich[k];
            const Knoten& knoten = baeume[k][l - plan.indexseiten[k].front()];
            const uint8_t typ = uint8_t(0x80 + k);
            auto kindSeite = [&](long kind) { return kind < 0 ? Keine : plan.indexseiten[k].front() + uint32_t(kind); };
            neu();
            pref(&seite[0], typ, l);
            p16(&seite[4], uint32_t(knoten.eintraege.size()));
            p16(&seite[6], uint32_t(knoten.eintraege.size()));
            pref(&seite[8], typ, kindSeite(knoten.kinder.back()));
            for (size_t e = 0; e < knoten.eintraege.size(); ++e) {
                const Eintrag& x = eintraege[k][knoten.eintraege[e]];
                uint8_t* z = &seite[12 + e * v.eintragslaenge];
                pref(z, typ, kindSeite(knoten.kinder[e]));
                v.wertAus(satzDaten(x.wert), z + 4);
                pws32(z + 4 + v.laenge, x.adresse);
                if (v.verkettet)
                    pws32(z + 8 + v.laenge, x.letzte);
            }
        }
        senke(physischVon[i], seite.data());
    }

    // Control record, twice: page 1 is the copy in use, page 0 an older one of the empty file.
    size_t lebende = 0;
    for (bool g : m_geloescht)
        lebende += g ? 0 : 1;
    for (uint32_t kopie = 0; kopie < 2; ++kopie) {
        neu();
        std::memcpy(&seite[0], "FC\0\0", 4);
        p32(&seite[4], kopie == 1 ? o.zaehler : o.zaehler - 1);
        p16(&seite[8], ps);
        std::memset(&seite[0x0C], 0xFF, 8);
        p16(&seite[0x14], uint32_t(m_schluessel.size()));
        p16(&seite[0x16], m_satzlaenge);
        p16(&seite[0x18], slot);
        pws32(&seite[0x1A], kopie == 1 ? uint32_t(lebende) : 0);
        p16(&seite[0x22], 0xFFFF);
        p16(&seite[0x24], 1);
        pws32(&seite[0x26], hoechste + 1);
        if (acs) {
            std::string name = o.acsName.substr(0, 8);
            name.resize(8, ' ');
            std::memcpy(&seite[0x3C], name.data(), 8);
        }
        p16(&seite[0x4A], o.version);
        // Fields whose meaning is not known are written as freshly created files have them.
        std::memset(&seite[0x5A], 0xFF, 8);
        std::memset(&seite[0x63], 0xFF, 3);
        std::memset(&seite[0x98], 0xFF, 4);
        for (size_t b = 0xA0; b < 0xD4; b += 12) {
            std::memset(&seite[b + 1], 0xFF, 11);
        }
        p16(&seite[0x72], verkettete ? 2u + m_satzlaenge : 0u);
        p16(&seite[0x74], uint32_t(verkettete));
        seite[0x76] = uint8_t(m_schluessel.size());
        seite[0x77] = uint8_t(segmente);
        p16(&seite[0x78], uint32_t(katOffset));
        pws32(&seite[0x9C], kopie == 1 ? (frei.empty() ? Keine : frei.front()) : adresseVon(0));
        seite[0x10C] = 1;
        size_t pos = 0x110;
        for (size_t k = 0; k < m_schluessel.size(); ++k) {
            p16(&seite[katOffset + 2 * k], uint32_t(pos));
            const Schluessel& s = m_schluessel[k];
            const btrieve::Schluessel& v = vergleich[k];
            uint16_t flags = btrieve::flag::Erweitert;
            if (s.duplikate)
                flags |= btrieve::flag::Duplikate;
            if (s.wiederholend)
                flags |= btrieve::flag::Wiederholend;
            if (s.aenderbar)
                flags |= btrieve::flag::Aenderbar;
            for (size_t g = 0; g < s.segmente.size(); ++g, pos += 30) {
                uint8_t* d = &seite[pos];
                const Segment& x = s.segmente[g];
                const bool erstes = g == 0;
                const bool weitere = g + 1 < s.segmente.size();
                if (erstes) {
                    pref(d, uint8_t(0x80 + k), plan.wurzeln[k]);
                    pws32(d + 4, kopie == 1 ? werte[k] : 0);
                    p16(d + 0x0A, v.laenge);
                    p16(d + 0x0C, v.eintragslaenge);
                    const uint32_t platz = (ps - 12) / v.eintragslaenge;
                    p16(d + 0x0E, platz);
                    p16(d + 0x10, platz / 2);
                    p16(d + 0x12, v.duplikatOffset);
                    d[0x18] = uint8_t(0x80 + k);
                }
                p16(d + 8, uint32_t(flags | x.flags | (weitere ? btrieve::flag::Segmentiert : 0)));
                p16(d + 0x14, uint32_t(x.offset + 2));
                p16(d + 0x16, x.laenge);
                if (x.flags & btrieve::flag::Acs) {
                    d[0x19] = uint8_t(acsSeite >> 16);
                    p16(d + 0x1A, acsSeite);
                }
                d[0x1C] = x.typ;
            }
        }
        senke(kopie, seite.data());
    }
    plan.fcrSeite = 1;
}

std::vector<uint8_t> Schreiber::bytes(Lageplan* plan) const
{
    Lageplan eigen;
    std::vector<uint8_t> datei;
    const uint32_t ps = m_optionen.seitengroesse;
    erzeugen(
        [&](uint64_t p, const uint8_t* seite) {
            if (datei.size() < (p + 1) * ps)
                datei.resize((p + 1) * ps);
            std::memcpy(datei.data() + p * ps, seite, ps);
        },
        plan ? *plan : eigen);
    return datei;
}

bool Schreiber::schreiben(const std::string& pfad, std::string& fehler, Lageplan* plan) const
{
    Lageplan eigen;
    std::FILE* f = std::fopen(pfad.c_str(), "wb");
    if (!f) {
        fehler = "Datei " + pfad + " lässt sich nicht anlegen";
        return false;
    }
    bool gut = true;
    const uint32_t ps = m_optionen.seitengroesse;
    try {
        erzeugen(
            [&](uint64_t p, const uint8_t* seite) {
                gut = gut && fseeko(f, off_t(p * ps), SEEK_SET) == 0 && std::fwrite(seite, 1, ps, f) == ps;
            },
            plan ? *plan : eigen);
    } catch (const std::exception& e) {
        fehler = e.what();
        std::fclose(f);
        std::remove(pfad.c_str());
        return false;
    }
    gut = std::fclose(f) == 0 && gut;
    if (!gut) {
        fehler = "Schreibfehler in " + pfad;
        std::remove(pfad.c_str());
    }
    return gut;
}

} // namespace btrieveschreiber
