#include "Datei.h"

#include "Btrieve.h"
#include "Format.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_set>

namespace btrieve {

namespace {

constexpr uint8_t TypDaten = 'D';
constexpr uint8_t TypVariabel = 'V';
constexpr uint8_t TypAcs = 'A';
constexpr uint8_t TypIndexVor6 = 0x80;   // marker for "index page" in the pre-6.x header check
constexpr int MaxTiefe = 40;             // far beyond any real tree; ends loops through child pointers
constexpr int MaxSchluessel = 119;
constexpr size_t DeskriptorLaenge = 30;

std::string zahl(uint64_t z) { return std::to_string(z); }
std::string hex(uint64_t z)
{
    static const char ziffern[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), ziffern[z & 15]);
        z >>= 4;
    } while (z);
    return "0x" + s;
}

[[noreturn]] void defekt(const std::string& grund) { throw Defekt(status::EinAusgabeFehler, grund); }
[[noreturn]] void abgelehnt(const std::string& grund) { throw Defekt(status::KeineBtrieveDatei, grund); }

bool segmentVergleichbar(const Segment& s)
{
    if ((s.flags & flag::Acs) && !s.acs)
        return false;
    switch (s.typ) {
    case typ::String: case typ::ZString: case typ::UnsignedBinary: case typ::Logical:
        return true;
    case typ::LString:
        return s.laenge >= 1;
    case typ::Integer: case typ::Autoinc:
        return s.laenge == 1 || s.laenge == 2 || s.laenge == 4 || s.laenge == 8;
    case typ::Date: case typ::Time:
        return s.laenge == 4;
    case typ::Float:
        return s.laenge == 4 || s.laenge == 8;
    default:
        return false;
    }
}

// One raw key segment descriptor.
struct Deskriptor
{
    uint32_t wurzel = Keine;
    uint8_t wurzelTyp = 0;
    uint32_t werte = 0;
    uint16_t flags = 0, laenge = 0, eintrag = 0, dupOffset = 0, position = 0, segmentLaenge = 0;
    uint8_t nummer = 0;
    uint32_t acsSeite = 0;
    uint8_t typ = 0, nullwert = 0;
};

Deskriptor deskriptorLesen(const uint8_t* d, Format format)
{
    Deskriptor x;
    if (format == Format::Vor6) {
        x.wurzel = ws32(d);
    } else {
        const SeitenRef r = seitenRef(d);
        x.wurzel = r.seite;
        x.wurzelTyp = r.typ;
    }
    x.werte = ws32(d + 4);
    x.flags = u16(d + 8);
    x.laenge = u16(d + 0x0A);
    x.eintrag = u16(d + 0x0C);
    x.dupOffset = u16(d + 0x12);
    x.position = u16(d + 0x14);
    x.segmentLaenge = u16(d + 0x16);
    x.nummer = d[0x18];
    x.acsSeite = uint32_t(d[0x19]) << 16 | u16(d + 0x1A);
    x.typ = d[0x1C];
    x.nullwert = d[0x1D];
    return x;
}

} // namespace

struct Datei::Lauf
{
    std::unordered_set<uint32_t> seiten;
    size_t grenze = 0;
    std::vector<uint8_t> slot;
};

Datei::Datei(std::shared_ptr<const Quelle> quelle)
    : m_quelle(std::move(quelle))
{
}

std::unique_ptr<Datei> Datei::laden(std::shared_ptr<const Quelle> quelle)
{
    std::unique_ptr<Datei> d(new Datei(std::move(quelle)));
    // The stamp is taken first: a write during reading shows as a change at the next call.
    d->m_stempel = d->m_quelle->stempel();
    d->m_dateigroesse = d->m_quelle->groesse();
    d->kopfLesen();
    d->ersteSaetzePruefen();
    return d;
}

std::array<uint8_t, 16> Datei::zaehlerLesen() const
{
    // Every write of the engine rewrites a control record with a higher usage count.
    std::array<uint8_t, 16> z{};
    const uint64_t ps = m_kopf.seitengroesse;
    try {
        m_quelle->lesen(0, z.data(), 8);
        if (m_kopf.format != Format::Vor6)
            m_quelle->lesen(ps, z.data() + 8, 8);
    } catch (const Defekt&) {
        z.fill(0xFF);   // shorter than before: certainly changed
    }
    return z;
}

bool Datei::veraendert() const
{
    if (m_quelle->stempel() != m_stempel)
        return true;
    return m_quelle->kuerzlichGeschrieben() && zaehlerLesen() != m_zaehler;
}

const Schluessel* Datei::schluesselNr(int nummer) const
{
    for (const Schluessel& k : m_schluessel)
        if (k.nummer == nummer)
            return &k;
    return nullptr;
}

void Datei::kopfLesen()
{
    if (m_dateigroesse < 0x110)
        abgelehnt("Datei ist zu kurz für einen Dateikopf (" + zahl(m_dateigroesse) + " Bytes)");
    uint8_t anfang[0x110];
    m_quelle->lesen(0, anfang, sizeof anfang);

    Kopf& k = m_kopf;
    const bool ab6 = std::memcmp(anfang, "FC\0\0", 4) == 0;
    if (!ab6 && u32(anfang) != 0)
        abgelehnt("keine Btrieve-Kennung am Dateianfang");

    if (ab6) {
        // 8.x and later keep the page size elsewhere: look at the version before trusting it.
        if (u16(anfang + 0x4A) >= 0x0800)
            abgelehnt("Dateiformat " + hex(u16(anfang + 0x4A)) + " (8.x oder neuer) wird nicht unterstützt");
    }
    auto gueltig = [](uint32_t ps) { return ps >= 512 && ps <= 4096 && ps % 512 == 0; };
    k.seitengroesse = u16(anfang + 8);
    if (ab6 && !gueltig(k.seitengroesse)) {
        // Page 0 may be the copy that was being written: find the other one at each possible size.
        for (uint32_t ps = 512; ps <= 4096 && !gueltig(k.seitengroesse); ps += 512) {
            uint8_t zweite[16];
            if (m_dateigroesse < 2ull * ps)
                break;
            m_quelle->lesen(ps, zweite, sizeof zweite);
            if (std::memcmp(zweite, "FC\0\0", 4) == 0 && u16(zweite + 8) == ps)
                k.seitengroesse = ps;
        }
    }
    if (!gueltig(k.seitengroesse))
        abgelehnt("ungültige Seitengröße " + zahl(u16(anfang + 8)));
    const uint32_t ps = k.seitengroesse;

    std::vector<uint8_t> fcr(ps);
    if (ab6) {
        // Two copies of the control record; the one written last has the larger usage count.
        if (m_dateigroesse < 4ull * ps)
            defekt("Datei ist kürzer als Dateikopf und Seitentabelle");
        std::vector<uint8_t> zweite(ps);
        m_quelle->lesen(0, fcr.data(), ps);
        m_quelle->lesen(ps, zweite.data(), ps);
        // The usage counts as read here tell later whether the file has been written since.
        std::memcpy(m_zaehler.data(), fcr.data(), 8);
        std::memcpy(m_zaehler.data() + 8, zweite.data(), 8);
        k.fcrSeite = 0;
        if (std::memcmp(zweite.data(), "FC\0\0", 4) == 0 && u32(zweite.data() + 4) > u32(fcr.data() + 4)) {
            fcr.swap(zweite);
            k.fcrSeite = 1;
        }
        k.fcrZaehler = u32(fcr.data() + 4);
        k.versionswort = u16(fcr.data() + 0x4A);
        switch (k.versionswort >> 8) {
        case 6: k.format = Format::V6; break;
        case 7: k.format = Format::V7; break;
        default:
            if (k.versionswort >= 0x0800)
                abgelehnt("Dateiformat " + hex(k.versionswort) + " (8.x oder neuer) wird nicht unterstützt");
            abgelehnt("unbekannte Formatversion " + hex(k.versionswort));
        }
        if (u16(fcr.data() + 8) != ps)
            defekt("die Kopien des Dateikopfs nennen verschiedene Seitengrößen");
        char name[9] = {};
        std::memcpy(name, fcr.data() + 0x3C, 8);
        for (char& c : name)
            if (c != 0 && (uint8_t(c) < 0x20 || uint8_t(c) > 0x7E))
                c = '?';
        k.acsName = name;
        while (!k.acsName.empty() && k.acsName.back() == ' ')
            k.acsName.pop_back();
    } else {
        if (m_dateigroesse < ps)
            defekt("Datei ist kürzer als ihr Dateikopf");
        m_quelle->lesen(0, fcr.data(), ps);
        std::memcpy(m_zaehler.data(), fcr.data(), 8);
        k.format = Format::Vor6;
        uint16_t v = u16(fcr.data() + 6);
        if (v & 0x8000)   // seen negated in files that carry an owner name
            v = uint16_t(-int16_t(v));
        k.versionswort = v;
        if ((v >> 8) < 3 || (v >> 8) > 5)
            abgelehnt("unbekannte Formatversion " + hex(u16(fcr.data() + 6)));
        if (u16(fcr.data() + 0x22) == 0xFFFF)
            defekt("die Datei ist als unvollständig geschrieben markiert (Wiederherstellung nötig)");
    }

    const uint8_t* f = fcr.data();
    k.satzlaenge = u16(f + 0x16);
    k.slotlaenge = u16(f + 0x18);
    k.saetze = ws32(f + 0x1A);
    k.seiten = ws32(f + 0x26);
    k.dateiflags = u16(f + 0x106);
    const uint8_t variabelKennung = f[0x38];
    if (k.dateiflags & 0x0008)
        abgelehnt("komprimierte Datensätze werden nicht unterstützt");
    if (k.dateiflags & 0x0010)
        abgelehnt("Dateien nur aus Schlüsseln (key-only) werden nicht unterstützt");
    if (k.dateiflags & 0x0800)
        abgelehnt("Dateien mit Tabellen für variable Satzteile (VAT) werden nicht unterstützt");
    if ((k.dateiflags & 0x0002) || variabelKennung == 0xFD)
        abgelehnt("Dateien mit Leerzeichenkürzung werden nicht unterstützt");
    k.variabel = variabelKennung == 0xFF || (k.dateiflags & 0x0001);
    if (k.satzlaenge == 0 || k.slotlaenge < k.satzlaenge || k.slotlaenge > ps - 6)
        defekt("Satzlänge " + zahl(k.satzlaenge) + " und Satzplatz " + zahl(k.slotlaenge)
               + " passen nicht zur Seitengröße " + zahl(ps));

    schluesselLesen(fcr);
}

void Datei::schluesselLesen(const std::vector<uint8_t>& fcr)
{
    Kopf& k = m_kopf;
    const uint8_t* f = fcr.data();
    const uint32_t ps = k.seitengroesse;
    const int anzahl = u16(f + 0x14);
    if (anzahl > MaxSchluessel)
        defekt("ungültige Schlüsselanzahl " + zahl(anzahl));

    // Where each key's first descriptor is: consecutive before 6.x, through the key table after.
    std::vector<size_t> anfaenge;
    size_t naechster = 0x110;
    if (k.format != Format::Vor6 && anzahl > 0) {
        const size_t kat = u16(f + 0x78);
        if (f[0x76] != anzahl)
            defekt("Schlüsseltabelle nennt " + zahl(f[0x76]) + " statt " + zahl(anzahl) + " Schlüssel");
        if (kat < 0x110 || kat + 2 * size_t(anzahl) > ps)
            defekt("Schlüsseltabelle liegt außerhalb des Dateikopfs");
        for (int i = 0; i < anzahl; ++i)
            anfaenge.push_back(u16(f + kat + 2 * i));
    }

    struct Roh
    {
        std::vector<Deskriptor> segmente;
        int nummer;
    };
    std::vector<Roh> roh;
    int verkettete = 0;
    for (int i = 0; i < anzahl; ++i) {
        size_t pos = anfaenge.empty() ? naechster : anfaenge[size_t(i)];
        Roh r;
        for (int segment = 0;; ++segment) {
            if (pos < 0x110 || pos + DeskriptorLaenge > ps || segment >= MaxSchluessel)
                defekt("Schlüsselbeschreibung " + zahl(i) + " liegt außerhalb des Dateikopfs");
            r.segmente.push_back(deskriptorLesen(f + pos, k.format));
            pos += DeskriptorLaenge;
            if (!(r.segmente.back().flags & flag::Segmentiert))
                break;
        }
        naechster = pos;
        const Deskriptor& erster = r.segmente.front();
        r.nummer = i;
        // 6.x descriptors carry their own number (0x80 + n); files may have gaps in numbering.
        if (k.format != Format::Vor6 && erster.nummer >= 0x80)
            r.nummer = erster.nummer - 0x80;
        if ((erster.flags & flag::Duplikate) && !(erster.flags & flag::Wiederholend))
            ++verkettete;
        roh.push_back(std::move(r));
    }

    // The slot: [usage count][system data][record][variable pointer][duplicate pointers].
    const uint32_t rest = uint32_t(k.satzlaenge) + (k.variabel ? 4u : 0u);
    if (k.format == Format::Vor6) {
        k.slotkopf = 0;
        if (k.slotlaenge < rest + 8u * uint32_t(verkettete))
            defekt("Satzplatz ist zu klein für Satz und Duplikatzeiger");
    } else {
        const int64_t kopf = int64_t(k.slotlaenge) - rest - 8 * int64_t(verkettete);
        const uint16_t dupAnfang = u16(f + 0x72);
        const int64_t kopfAusDup = dupAnfang ? int64_t(dupAnfang) - rest : kopf;
        if (kopfAusDup == 2 || (kopfAusDup == 10 && k.format == Format::V7))
            k.slotkopf = uint16_t(kopfAusDup);
        else
            abgelehnt("Aufbau der Satzplätze nicht erkannt (Satzplatz " + zahl(k.slotlaenge) + ", Satz "
                      + zahl(k.satzlaenge) + ")");
    }

    std::set<int> nummern;
    for (const Roh& r : roh) {
        const Deskriptor& d = r.segmente.front();
        Schluessel s;
        s.nummer = r.nummer;
        if (!nummern.insert(r.nummer).second)
            defekt("Schlüsselnummer " + zahl(r.nummer) + " kommt doppelt vor");
        s.seitentyp = uint8_t(0x80 + r.nummer);
        s.flags = d.flags;
        s.wurzel = d.wurzel;
        s.werte = d.werte;
        s.verkettet = (d.flags & flag::Duplikate) && !(d.flags & flag::Wiederholend);
        s.duplikatOffset = d.dupOffset;
        uint32_t summe = 0;
        for (const Deskriptor& x : r.segmente) {
            Segment seg;
            seg.flags = x.flags;
            seg.laenge = x.segmentLaenge;
            seg.typ = (x.flags & flag::Erweitert) ? x.typ : ((x.flags & flag::Binaer) ? typ::UnsignedBinary : typ::String);
            seg.nullwert = x.nullwert;
            if (x.position < k.slotkopf || uint32_t(x.position - k.slotkopf) + x.segmentLaenge > k.satzlaenge
                || x.segmentLaenge == 0)
                defekt("Schlüssel " + zahl(r.nummer) + ": Segment an Position " + zahl(x.position)
                       + " liegt nicht im Satz");
            seg.position = uint16_t(x.position - k.slotkopf);
            if (x.flags & flag::Acs) {
                if (k.format == Format::Vor6)
                    seg.acs = acsLesen(1);
                else if (x.acsSeite != 0)
                    seg.acs = acsLesen(x.acsSeite);
            }
            seg.vergleichbar = segmentVergleichbar(seg);
            s.vergleichbar = s.vergleichbar && seg.vergleichbar;
            summe += x.segmentLaenge;
            s.segmente.push_back(std::move(seg));
        }
        if (summe > 255 || (d.laenge != 0 && d.laenge != summe))
            defekt("Schlüssel " + zahl(r.nummer) + ": Schlüssellänge " + zahl(d.laenge) + " passt nicht zu den Segmenten");
        s.laenge = uint16_t(summe);
        s.eintragslaenge = uint16_t(summe + 8 + (s.verkettet ? 4 : 0));
        if (d.eintrag != s.eintragslaenge)
            defekt("Schlüssel " + zahl(r.nummer) + ": Indexeintrag hat " + zahl(d.eintrag) + " statt "
                   + zahl(s.eintragslaenge) + " Bytes");
        if (s.verkettet && (s.duplikatOffset < k.slotkopf + rest || s.duplikatOffset + 8u > k.slotlaenge))
            defekt("Schlüssel " + zahl(r.nummer) + ": Duplikatzeiger liegen außerhalb des Satzplatzes");
        if (k.format != Format::Vor6 && s.wurzel != Keine && d.wurzelTyp != s.seitentyp)
            defekt("Schlüssel " + zahl(r.nummer) + ": Wurzelseite hat den falschen Typ");
        m_schluessel.push_back(std::move(s));
    }
}

std::shared_ptr<const Acs> Datei::acsLesen(uint32_t seite)
{
    auto it = m_acs.find(seite);
    if (it != m_acs.end())
        return it->second;
    std::vector<uint8_t> p;
    seiteLesen(seite, TypAcs, p, 15 + 256);
    std::shared_ptr<const Acs> tabelle;
    // Only user-defined tables (0xAC) are stored in the file; locale and sort-rule sequences are not.
    if (p[6] == 0xAC) {
        auto t = std::make_shared<Acs>();
        std::memcpy(t->data(), p.data() + 15, 256);
        tabelle = t;
    } else if (p[6] != 0xAD && p[6] != 0xAE) {
        defekt("Sortierfolge auf Seite " + zahl(seite) + " hat eine unbekannte Kennung");
    }
    m_acs[seite] = tabelle;
    return tabelle;
}

uint32_t Datei::physisch(uint32_t logisch, uint8_t typ) const
{
    const uint32_t ps = m_kopf.seitengroesse;
    const uint64_t seiten = m_dateigroesse / ps;
    if (m_kopf.format == Format::Vor6) {
        if (logisch == 0 || logisch >= seiten)
            defekt("Seite " + zahl(logisch) + " liegt außerhalb der Datei");
        return logisch;
    }
    if (logisch == 0 || logisch > 0xFFFFFF)
        defekt("ungültige logische Seite " + zahl(logisch));
    const uint32_t proTabelle = ps / 4 - 2;
    const uint32_t tabelle = (logisch - 1) / proTabelle;
    const uint32_t eintrag = (logisch - 1) % proTabelle + 1;
    auto it = m_pat.find(tabelle);
    if (it == m_pat.end()) {
        // Page allocation tables come in pairs; the copy written last has the larger usage count.
        const uint64_t a = 2 + uint64_t(tabelle) * (ps / 4);
        std::vector<uint8_t> gewaehlt;
        for (uint64_t p = a; p < a + 2; ++p) {
            if ((p + 1) * ps > m_dateigroesse)
                continue;
            std::vector<uint8_t> t(ps);
            m_quelle->lesen(p * ps, t.data(), ps);
            if (t[0] != 'P' || t[1] != 'P')
                continue;
            if (gewaehlt.empty() || u32(t.data() + 4) > u32(gewaehlt.data() + 4))
                gewaehlt.swap(t);
        }
        if (gewaehlt.empty())
            defekt("Seitentabelle für logische Seite " + zahl(logisch) + " fehlt (physische Seite " + zahl(a) + ")");
        it = m_pat.emplace(tabelle, std::move(gewaehlt)).first;
    }
    const SeitenRef r = seitenRef(it->second.data() + 4 + 4 * eintrag);
    if (r.leer() || r.typ == 0)
        defekt("logische Seite " + zahl(logisch) + " ist nicht belegt");
    if (r.typ != typ)
        defekt("logische Seite " + zahl(logisch) + " hat den Typ " + hex(r.typ) + " statt " + hex(typ));
    const uint32_t p = r.seite;
    if (p < 2 || (p - 2) % (ps / 4) < 2 || p >= seiten)
        defekt("logische Seite " + zahl(logisch) + " zeigt auf die ungültige physische Seite " + zahl(p));
    return p;
}

void Datei::seiteLesen(uint32_t seite, uint8_t typ, std::vector<uint8_t>& puffer, size_t bis) const
{
    const uint32_t ps = m_kopf.seitengroesse;
    const uint32_t p = physisch(seite, typ);
    puffer.resize(bis);
    m_quelle->lesen(uint64_t(p) * ps, puffer.data(), bis);
    const bool datenseite = typ == TypDaten;
    const bool bit15 = u16(puffer.data() + 4) & 0x8000;
    if (m_kopf.format == Format::Vor6) {
        if (ws32(puffer.data()) != p || (typ != TypAcs && bit15 != datenseite))
            defekt("Seite " + zahl(p) + " trägt nicht den erwarteten Seitenkopf");
    } else {
        const SeitenRef eigen = seitenRef(puffer.data());
        if (eigen.typ != typ || eigen.seite != seite || bit15 != datenseite)
            defekt("physische Seite " + zahl(p) + " ist nicht die logische Seite " + zahl(seite) + " vom Typ " + hex(typ));
    }
}

size_t Datei::slotLesen(uint32_t adresse, std::vector<uint8_t>& puffer) const
{
    const uint32_t ps = m_kopf.seitengroesse;
    const uint32_t seite = adresse / ps;
    const uint32_t offset = adresse % ps;
    if (offset < 6 || (offset - 6) % m_kopf.slotlaenge != 0 || offset + m_kopf.slotlaenge > ps)
        defekt("Satzadresse " + hex(adresse) + " zeigt nicht auf einen Satzplatz");
    seiteLesen(seite, TypDaten, puffer, offset + m_kopf.slotlaenge);
    if (m_kopf.format != Format::Vor6 && u16(puffer.data() + offset) == 0)
        defekt("Satzplatz " + hex(adresse) + " ist frei, der Index nennt ihn aber");
    return offset;
}

void Datei::satzLesen(uint32_t adresse, std::vector<uint8_t>& satz) const
{
    static thread_local std::vector<uint8_t> puffer;
    const size_t slot = slotLesen(adresse, puffer) + m_kopf.slotkopf;
    satz.assign(puffer.begin() + long(slot), puffer.begin() + long(slot + m_kopf.satzlaenge));
    if (m_kopf.variabel) {
        uint8_t zeiger[4];
        std::memcpy(zeiger, puffer.data() + slot + m_kopf.satzlaenge, 4);
        variablenTeilLesen(zeiger, satz);
    }
}

void Datei::variablenTeilLesen(const uint8_t* zeiger, std::vector<uint8_t>& satz) const
{
    const uint32_t ps = m_kopf.seitengroesse;
    std::vector<uint8_t> seite;
    std::set<uint64_t> besucht;
    FragmentRef r = fragmentRef(zeiger);
    while (!r.leer()) {
        if (!besucht.insert(uint64_t(r.seite) << 8 | r.fragment).second)
            defekt("Schleife in der Kette des variablen Satzteils");
        seiteLesen(r.seite, TypVariabel, seite, ps);
        const uint32_t anzahl = u16(seite.data() + 10);
        if (12 + 2 * (anzahl + 1) > ps || r.fragment >= anzahl)
            defekt("Fragment " + zahl(r.fragment) + " fehlt auf Seite " + zahl(r.seite));
        auto verzeichnis = [&](uint32_t i) { return u16(seite.data() + ps - 2 * (i + 1)); };
        const uint16_t eintrag = verzeichnis(r.fragment);
        uint32_t ende = 0;
        bool endeGefunden = false;
        for (uint32_t j = r.fragment + 1u; j <= anzahl && !endeGefunden; ++j)
            if (verzeichnis(j) != 0xFFFF) {
                ende = verzeichnis(j) & 0x7FFF;
                endeGefunden = true;
            }
        uint32_t anfang = eintrag & 0x7FFF;
        if (eintrag == 0xFFFF || !endeGefunden || anfang < 12 || ende < anfang || ende > ps - 2 * (anzahl + 1))
            defekt("Fragment " + zahl(r.fragment) + " auf Seite " + zahl(r.seite) + " hat ungültige Grenzen");
        FragmentRef weiter;
        // 6.x fragments always begin with the pointer to the next one; before 6.x only when marked.
        if (m_kopf.format != Format::Vor6 || (eintrag & 0x8000)) {
            if (ende - anfang < 4)
                defekt("Fragment " + zahl(r.fragment) + " auf Seite " + zahl(r.seite) + " ist zu kurz");
            weiter = fragmentRef(seite.data() + anfang);
            anfang += 4;
        }
        if (satz.size() + (ende - anfang) > m_dateigroesse)
            defekt("variabler Satzteil ist länger als die Datei");
        satz.insert(satz.end(), seite.begin() + anfang, seite.begin() + ende);
        r = weiter;
    }
}

void Datei::indexseiteLesen(const Schluessel& k, uint32_t seite, std::vector<uint8_t>& puffer) const
{
    const uint32_t ps = m_kopf.seitengroesse;
    seiteLesen(seite, m_kopf.format == Format::Vor6 ? TypIndexVor6 : k.seitentyp, puffer, ps);
    const uint32_t anzahl = u16(puffer.data() + 6);
    if (12 + uint64_t(anzahl) * k.eintragslaenge > ps)
        defekt("Indexseite " + zahl(seite) + " nennt " + zahl(anzahl) + " Einträge, mehr als hineinpassen");
}

void Datei::abwaerts(const Schluessel& k, uint32_t seite, int tiefe, Lauf& lauf, Folge& f)
{
    if (tiefe > MaxTiefe)
        defekt("Index von Schlüssel " + zahl(k.nummer) + " ist tiefer als möglich (Schleife?)");
    if (!lauf.seiten.insert(seite).second)
        defekt("Indexseite " + zahl(seite) + " von Schlüssel " + zahl(k.nummer) + " wird zweimal erreicht");
    std::vector<uint8_t> s;
    indexseiteLesen(k, seite, s);

    auto kind = [&](const uint8_t* p) -> uint32_t {
        if (m_kopf.format == Format::Vor6)
            return ws32(p);
        const SeitenRef r = seitenRef(p);
        if (!r.leer() && r.typ != k.seitentyp)
            defekt("Indexseite " + zahl(seite) + " verweist auf eine Seite eines anderen Typs");
        return r.seite;
    };
    auto aufnehmen = [&](uint32_t adresse, const uint8_t* wert) {
        if (f.adressen.size() >= lauf.grenze)
            defekt("Index von Schlüssel " + zahl(k.nummer) + " nennt mehr Sätze als die Datei fassen kann");
        f.adressen.push_back(adresse);
        f.werte.insert(f.werte.end(), wert, wert + k.laenge);
    };

    const uint32_t anzahl = u16(s.data() + 6);
    for (uint32_t i = 0; i < anzahl; ++i) {
        const uint8_t* e = s.data() + 12 + size_t(i) * k.eintragslaenge;
        const uint32_t links = kind(e);
        if (links != Keine)
            abwaerts(k, links, tiefe + 1, lauf, f);
        const uint8_t* wert = e + 4;
        uint32_t adresse = ws32(e + 4 + k.laenge);
        if (!k.verkettet) {
            aufnehmen(adresse, wert);
            continue;
        }
        // Linked duplicates: one entry per value, the records chained in insertion order.
        const uint32_t letzte = ws32(e + 8 + k.laenge);
        for (;;) {
            aufnehmen(adresse, wert);
            const size_t slot = slotLesen(adresse, lauf.slot);
            const uint32_t naechste = ws32(lauf.slot.data() + slot + k.duplikatOffset + 4);
            if (naechste == Keine)
                break;
            adresse = naechste;
        }
        if (adresse != letzte)
            defekt("Duplikatkette von Schlüssel " + zahl(k.nummer) + " endet nicht beim letzten Satz ihres Eintrags");
    }
    const uint32_t rechts = kind(s.data() + 8);
    if (rechts != Keine)
        abwaerts(k, rechts, tiefe + 1, lauf, f);
}

const Folge& Datei::folge(const Schluessel& k)
{
    auto it = m_folgen.find(k.nummer);
    if (it != m_folgen.end())
        return it->second;
    Folge f;
    f.laenge = k.laenge;
    if (k.wurzel != Keine) {
        Lauf lauf;
        const uint64_t seiten = m_dateigroesse / m_kopf.seitengroesse;
        lauf.grenze = size_t(seiten * std::max<uint64_t>(1, (m_kopf.seitengroesse - 6) / m_kopf.slotlaenge) + 1);
        abwaerts(k, k.wurzel, 0, lauf, f);
        std::vector<uint32_t> sortiert = f.adressen;
        std::sort(sortiert.begin(), sortiert.end());
        if (std::adjacent_find(sortiert.begin(), sortiert.end()) != sortiert.end())
            defekt("Index von Schlüssel " + zahl(k.nummer) + " nennt einen Satz mehrfach");
    }
    f.geordnet = k.vergleichbar;
    for (size_t i = 1; f.geordnet && i < f.groesse(); ++i)
        if (k.vergleichen(f.wert(i - 1), f.wert(i)) > 0)
            f.geordnet = false;
    return m_folgen.emplace(k.nummer, std::move(f)).first->second;
}

long Datei::suchen(const Schluessel& k, const Folge& f, const uint8_t* wert) const
{
    if (f.geordnet) {
        size_t unten = 0, oben = f.groesse();
        while (unten < oben) {
            const size_t mitte = unten + (oben - unten) / 2;
            if (k.vergleichen(f.wert(mitte), wert) < 0)
                unten = mitte + 1;
            else
                oben = mitte;
        }
        return unten < f.groesse() && k.gleich(f.wert(unten), wert) ? long(unten) : -1;
    }
    // Our order is not the engine's here (unknown collation): look at every entry.
    for (size_t i = 0; i < f.groesse(); ++i)
        if (k.gleich(f.wert(i), wert))
            return long(i);
    return -1;
}

void Datei::eintragLesen(const Schluessel& k, const Folge& f, size_t i, std::vector<uint8_t>& satz) const
{
    satzLesen(f.adressen[i], satz);
    uint8_t wert[256];
    k.wertAus(satz.data(), wert);
    if (!k.passt(wert, f.wert(i)))
        defekt("Satz " + hex(f.adressen[i]) + " trägt nicht den Schlüsselwert seines Indexeintrags");
}

void Datei::ersteSaetzePruefen()
{
    // Each key's first record must carry the value its index entry holds. Where the structure is
    // sound but the records are not, they are encrypted under an owner name.
    std::vector<uint8_t> s, satz;
    for (const Schluessel& k : m_schluessel) {
        uint32_t seite = k.wurzel;
        for (int tiefe = 0; seite != Keine; ++tiefe) {
            if (tiefe > MaxTiefe)
                defekt("Index von Schlüssel " + zahl(k.nummer) + " ist tiefer als möglich (Schleife?)");
            indexseiteLesen(k, seite, s);
            const uint32_t anzahl = u16(s.data() + 6);
            const uint8_t* e = s.data() + 12;
            const uint8_t* kindZeiger = anzahl ? e : s.data() + 8;
            const uint32_t kind = m_kopf.format == Format::Vor6 ? ws32(kindZeiger) : seitenRef(kindZeiger).seite;
            if (kind != Keine) {
                seite = kind;
                continue;
            }
            if (anzahl) {
                satzLesen(ws32(e + 4 + k.laenge), satz);
                uint8_t wert[256];
                k.wertAus(satz.data(), wert);
                if (!k.passt(wert, e + 4))
                    throw Defekt(status::UngueltigerEigentuemer,
                                 "die Sätze passen nicht zu ihrem Index: die Datei ist mit einem Eigentümernamen verschlüsselt (oder beschädigt)");
            }
            break;
        }
    }
}

} // namespace btrieve
