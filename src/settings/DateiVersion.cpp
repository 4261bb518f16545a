// Reads the fixed version record of a program file from disk: from the version resource of a
// Windows program file (PE), or from the record section of our own ELF executable.
#include "FesteVersionsInfo.h"
#include "IniRecord.h"

#include "Fehler.h"

#include <QFile>
#include <QtEndian>
#include <optional>

namespace {

// Bounds-checked reads from the file's bytes; every offset comes from the file itself.
class Bytes
{
public:
    Bytes(const uchar* daten, qint64 groesse, bool bigEndian = false)
        : m_daten(daten), m_groesse(groesse), m_bigEndian(bigEndian)
    {
    }

    qint64 groesse() const { return m_groesse; }
    Bytes mitBigEndian(bool be) const { return Bytes(m_daten, m_groesse, be); }

    bool enthaelt(uint64_t pos, uint64_t laenge) const
    {
        return pos <= uint64_t(m_groesse) && laenge <= uint64_t(m_groesse) - pos;
    }
    const uchar* zeiger(uint64_t pos) const { return m_daten + pos; }

    template <class T>
    std::optional<T> zahl(uint64_t pos) const
    {
        if (!enthaelt(pos, sizeof(T)))
            return std::nullopt;
        return m_bigEndian ? qFromBigEndian<T>(m_daten + pos) : qFromLittleEndian<T>(m_daten + pos);
    }
    std::optional<uint16_t> u16(uint64_t pos) const { return zahl<uint16_t>(pos); }
    std::optional<uint32_t> u32(uint64_t pos) const { return zahl<uint32_t>(pos); }
    std::optional<uint64_t> u64(uint64_t pos) const { return zahl<uint64_t>(pos); }

private:
    const uchar* m_daten;
    qint64 m_groesse;
    bool m_bigEndian;
};

struct Produktversion
{
    uint32_t ms;
    uint32_t ls;
};

// The record at pos, if it carries the signature.
std::optional<Produktversion> festeInfo(const Bytes& b, uint64_t pos, uint64_t verfuegbar)
{
    if (verfuegbar < sizeof(FesteVersionsInfo) || !b.enthaelt(pos, sizeof(FesteVersionsInfo)))
        return std::nullopt;
    if (b.u32(pos + offsetof(FesteVersionsInfo, dwSignature)) != VersionsSignatur)
        return std::nullopt;
    return Produktversion{*b.u32(pos + offsetof(FesteVersionsInfo, dwProductVersionMS)),
                          *b.u32(pos + offsetof(FesteVersionsInfo, dwProductVersionLS))};
}

// ---- Windows program files

constexpr uint32_t RT_VERSION = 16;
constexpr uint32_t VS_VERSION_INFO = 1;
constexpr uint32_t Unterverzeichnis = 0x80000000u;

class PeDatei
{
public:
    explicit PeDatei(const Bytes& b) : m_b(b) {}

    std::optional<Produktversion> version()
    {
        if (!m_b.enthaelt(0, 2) || m_b.zeiger(0)[0] != 'M' || m_b.zeiger(0)[1] != 'Z')
            return std::nullopt;
        const auto pe = m_b.u32(0x3C);
        if (!pe || m_b.u32(*pe) != 0x00004550u)   // "PE\0\0"
            return std::nullopt;
        const uint64_t coff = uint64_t(*pe) + 4;
        const auto anzahl = m_b.u16(coff + 2);
        const auto optGroesse = m_b.u16(coff + 16);
        const uint64_t opt = coff + 20;
        const auto magic = m_b.u16(opt);
        if (!anzahl || !optGroesse || !magic)
            return std::nullopt;
        uint64_t verzeichnisse;   // data directories within the optional header
        if (*magic == 0x10B)
            verzeichnisse = 96;
        else if (*magic == 0x20B)
            verzeichnisse = 112;
        else
            return std::nullopt;
        const auto rvaAnzahl = m_b.u32(opt + verzeichnisse - 4);
        if (!rvaAnzahl || *rvaAnzahl <= 2 || verzeichnisse + 3 * 8 > *optGroesse)
            return std::nullopt;
        const auto ressourcenRva = m_b.u32(opt + verzeichnisse + 2 * 8);
        m_abschnitte = opt + *optGroesse;
        m_abschnittAnzahl = *anzahl;
        if (!ressourcenRva || *ressourcenRva == 0)
            return std::nullopt;
        const auto basis = dateiPosition(*ressourcenRva);
        if (!basis)
            return std::nullopt;
        m_ressourcen = *basis;

        // Type, name, language: the version resource is type 16, name 1 (some tools use another
        // name; then the first one counts), any language.
        const auto typ = eintrag(0, RT_VERSION);
        if (!typ || !(*typ & Unterverzeichnis))
            return std::nullopt;
        auto name = eintrag(*typ & ~Unterverzeichnis, VS_VERSION_INFO);
        if (!name)
            name = eintrag(*typ & ~Unterverzeichnis, std::nullopt);
        if (!name || !(*name & Unterverzeichnis))
            return std::nullopt;
        const auto sprache = eintrag(*name & ~Unterverzeichnis, std::nullopt);
        if (!sprache || (*sprache & Unterverzeichnis))
            return std::nullopt;
        const auto datenRva = m_b.u32(m_ressourcen + *sprache);
        const auto datenGroesse = m_b.u32(m_ressourcen + *sprache + 4);
        if (!datenRva || !datenGroesse)
            return std::nullopt;
        const auto daten = dateiPosition(*datenRva);
        if (!daten || !m_b.enthaelt(*daten, *datenGroesse))
            return std::nullopt;
        return versionsBlock(*daten, *datenGroesse);
    }

private:
    // The file position of a relative virtual address, through the section table.
    std::optional<uint64_t> dateiPosition(uint32_t rva) const
    {
        for (uint32_t i = 0; i < m_abschnittAnzahl; ++i) {
            const uint64_t s = m_abschnitte + uint64_t(i) * 40;
            const auto virtGroesse = m_b.u32(s + 8);
            const auto virtAdresse = m_b.u32(s + 12);
            const auto rohGroesse = m_b.u32(s + 16);
            const auto rohPosition = m_b.u32(s + 20);
            if (!virtGroesse || !virtAdresse || !rohGroesse || !rohPosition)
                return std::nullopt;
            const uint64_t umfang = std::max(*virtGroesse, *rohGroesse);
            if (rva >= *virtAdresse && rva - *virtAdresse < umfang) {
                const uint64_t versatz = rva - *virtAdresse;
                if (versatz >= *rohGroesse)
                    return std::nullopt;
                return uint64_t(*rohPosition) + versatz;
            }
        }
        return std::nullopt;
    }

    // The data field of the entry with the given id in a resource directory (or of its first
    // entry when no id is given).
    std::optional<uint32_t> eintrag(uint32_t verzeichnis, std::optional<uint32_t> id) const
    {
        const uint64_t v = m_ressourcen + verzeichnis;
        const auto benannt = m_b.u16(v + 12);
        const auto nummeriert = m_b.u16(v + 14);
        if (!benannt || !nummeriert)
            return std::nullopt;
        const uint32_t gesamt = uint32_t(*benannt) + *nummeriert;
        for (uint32_t i = id ? *benannt : 0; i < gesamt; ++i) {
            const uint64_t e = v + 16 + uint64_t(i) * 8;
            const auto name = m_b.u32(e);
            const auto daten = m_b.u32(e + 4);
            if (!name || !daten)
                return std::nullopt;
            if (!id || *name == *id)
                return daten;
        }
        return std::nullopt;
    }

    // VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO" in UTF-16, padding
    // to 32 bits, then the fixed record.
    std::optional<Produktversion> versionsBlock(uint64_t pos, uint32_t groesse) const
    {
        static constexpr char16_t schluessel[] = u"VS_VERSION_INFO";
        const auto laenge = m_b.u16(pos);
        const auto wertLaenge = m_b.u16(pos + 2);
        if (!laenge || !wertLaenge || *laenge > groesse)
            return std::nullopt;
        for (size_t i = 0; i < std::size(schluessel); ++i) {
            if (m_b.u16(pos + 6 + 2 * i) != schluessel[i])
                return std::nullopt;
        }
        const uint64_t wert = (6 + sizeof(schluessel) + 3) & ~uint64_t(3);
        if (wert + *wertLaenge > *laenge)
            return std::nullopt;
        return festeInfo(m_b, pos + wert, *wertLaenge);
    }

    Bytes m_b;
    uint64_t m_abschnitte = 0;
    uint32_t m_abschnittAnzahl = 0;
    uint64_t m_ressourcen = 0;
};

// ---- ELF executables: the record lies in its own section

std::optional<Produktversion> ausElf(const Bytes& roh)
{
    if (!roh.enthaelt(0, 16) || roh.zeiger(0)[0] != 0x7F || roh.zeiger(0)[1] != 'E' || roh.zeiger(0)[2] != 'L'
        || roh.zeiger(0)[3] != 'F')
        return std::nullopt;
    const uchar klasse = roh.zeiger(0)[4];
    const uchar daten = roh.zeiger(0)[5];
    if ((klasse != 1 && klasse != 2) || (daten != 1 && daten != 2))
        return std::nullopt;
    const Bytes b = roh.mitBigEndian(daten == 2);
    const bool breit = klasse == 2;
    const auto adresse = [&](uint64_t pos) -> std::optional<uint64_t> {
        if (breit)
            return b.u64(pos);
        const auto w = b.u32(pos);
        return w ? std::optional<uint64_t>(*w) : std::nullopt;
    };

    const auto tabelle = adresse(breit ? 0x28 : 0x20);
    const auto eintragGroesse = b.u16(breit ? 0x3A : 0x2E);
    const auto anzahl16 = b.u16(breit ? 0x3C : 0x30);
    const auto namenIndex16 = b.u16(breit ? 0x3E : 0x32);
    if (!tabelle || !eintragGroesse || !anzahl16 || !namenIndex16 || *tabelle == 0)
        return std::nullopt;
    std::optional<uint64_t> anzahl = *anzahl16;
    std::optional<uint32_t> namenIndex = *namenIndex16;
    if (*eintragGroesse < (breit ? 64u : 40u))
        return std::nullopt;
    const auto abschnitt = [&](uint64_t i) { return *tabelle + i * *eintragGroesse; };
    const auto position = [&](uint64_t i) { return adresse(abschnitt(i) + (breit ? 0x18 : 0x10)); };
    const auto groesse = [&](uint64_t i) { return adresse(abschnitt(i) + (breit ? 0x20 : 0x14)); };
    // Many sections: the real counts are in the first section header.
    if (*anzahl == 0)
        anzahl = groesse(0);
    if (*namenIndex == 0xFFFF)
        namenIndex = b.u32(abschnitt(0) + (breit ? 0x28 : 0x18));
    if (!anzahl || !namenIndex || *anzahl > uint64_t(b.groesse()) / *eintragGroesse || *namenIndex >= *anzahl)
        return std::nullopt;

    const auto namenPos = position(*namenIndex);
    const auto namenGroesse = groesse(*namenIndex);
    if (!namenPos || !namenGroesse || !b.enthaelt(*namenPos, *namenGroesse))
        return std::nullopt;
    const QByteArray gesucht(VersionsAbschnitt, sizeof(VersionsAbschnitt));   // with its NUL
    for (uint64_t i = 0; i < *anzahl; ++i) {
        const auto name = b.u32(abschnitt(i));
        const auto typ = b.u32(abschnitt(i) + 4);
        if (!name || !typ || *typ == 8 /* no bits in the file */ || *name >= *namenGroesse)
            continue;
        const uint64_t rest = *namenGroesse - *name;
        if (rest < uint64_t(gesucht.size())
            || memcmp(b.zeiger(*namenPos + *name), gesucht.constData(), gesucht.size()) != 0)
            continue;
        const auto pos = position(i);
        const auto laenge = groesse(i);
        if (!pos || !laenge || !b.enthaelt(*pos, *laenge))
            return std::nullopt;
        return festeInfo(b, *pos, *laenge);
    }
    return std::nullopt;
}

} // namespace

QString DateiVersion(const QString& Dateiname)
{
    const auto keineVersion = [] { return Fehler(QStringLiteral("File contains no version information")); };
    QFile datei(Dateiname);
    if (!datei.open(QIODevice::ReadOnly) || datei.size() <= 0)
        throw keineVersion();
    QByteArray gelesen;
    const uchar* daten = datei.map(0, datei.size());
    if (!daten) {
        gelesen = datei.readAll();
        daten = reinterpret_cast<const uchar*>(gelesen.constData());
    }
    const Bytes b(daten, daten == reinterpret_cast<const uchar*>(gelesen.constData()) ? gelesen.size() : datei.size());
    auto version = PeDatei(b).version();
    if (!version)
        version = ausElf(b);
    if (!version)
        throw keineVersion();
    return QString::asprintf("%u.%u.%u.%u", version->ms >> 16, version->ms & 0xFFFF, version->ls >> 16,
                             version->ls & 0xFFFF);
}
