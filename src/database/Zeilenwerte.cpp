#include "Zeilenwerte.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

// The kind byte of a value; it tells how many bytes of the block belong to it.
enum Art : unsigned char {
    Leer,        // an empty value of no type
    TypLeer,     // an empty value of a type: its type number, 4 bytes
    Ganz64,      // 8 bytes
    Ganz32,      // 4 bytes
    Gleitkomma,  // 8 bytes
    Text,        // length, then UTF-8
    TextNull,    // a null text
    Bytes,       // length, then the bytes
    Datum,       // the day number, 8 bytes
    Zeitpunkt,   // milliseconds since 1970, local time, 8 bytes
    Wahr,
    Falsch,
    Beiseite,    // the place in the values kept aside, 4 bytes
    NichtGelesen,  // a value the row was read without
    Ganz64Kurz,  // a 64-bit whole number that fits in 4 bytes (keys, counts)
    DatumText,   // a text "YYYY-MM-DD" (as the file holds dates) by its day number, 4 bytes
};

using Puffer = std::vector<unsigned char>;

template <typename T>
void festAnhaengen(Puffer& aus, T wert)
{
    const size_t stelle = aus.size();
    aus.resize(stelle + sizeof(T));
    std::memcpy(aus.data() + stelle, &wert, sizeof(T));
}

template <typename T>
T festLesen(const unsigned char* p)
{
    T wert;
    std::memcpy(&wert, p, sizeof(T));
    return wert;
}

void laengeAnhaengen(Puffer& aus, size_t laenge)
{
    while (laenge >= 0x80) {
        aus.push_back(static_cast<unsigned char>(laenge | 0x80));
        laenge >>= 7;
    }
    aus.push_back(static_cast<unsigned char>(laenge));
}

size_t laengeLesen(const unsigned char*& p)
{
    size_t laenge = 0;
    int schiebung = 0;
    while (*p & 0x80) {
        laenge |= size_t(*p++ & 0x7f) << schiebung;
        schiebung += 7;
    }
    return laenge | size_t(*p++) << schiebung;
}

// A block begins with a word holding the number of values, its top bit set when the block also
// points to values kept aside (that pointer follows the word). A row read with only some of its
// columns has, next, a bit per value that says whether it was read (the next bit of the word
// says so): then only the values read have a kind. Then come the kinds two to a byte (the first
// in the low half), then the values' bytes. The builders gather one kind byte per value and
// pack them when done.
static_assert(DatumText < 16, "a kind takes half a byte");
static_assert(Zeilenwerte::MaxAnzahl <= 0x3fff, "the count leaves the top two bits of its word free");

using Beiseiteliste = std::vector<QVariant>;
constexpr uint16_t MitBeiseite = 0x8000;
constexpr uint16_t MitMaske = 0x4000;
constexpr uint16_t AnzahlBits = 0x3fff;

uint16_t wortVon(const unsigned char* block)
{
    return festLesen<uint16_t>(block);
}

size_t anzahlVon(const unsigned char* block)
{
    return block ? wortVon(block) & AnzahlBits : 0;
}

Beiseiteliste* beiseiteVon(const unsigned char* block)
{
    if (!block || !(wortVon(block) & MitBeiseite))
        return nullptr;
    return festLesen<Beiseiteliste*>(block + sizeof(uint16_t));
}

size_t maskenGroesse(size_t anzahl)
{
    return (anzahl + 7) / 8;
}

size_t kopfGroesse(size_t anzahl)
{
    return (anzahl + 1) / 2;
}

// Where what follows the word and the pointer to values kept aside begins.
const unsigned char* nachKopf(const unsigned char* block)
{
    return block + sizeof(uint16_t) + (wortVon(block) & MitBeiseite ? sizeof(Beiseiteliste*) : 0);
}

// The bits of the values read; null when every value has a kind.
const unsigned char* maskeVon(const unsigned char* block)
{
    return wortVon(block) & MitMaske ? nachKopf(block) : nullptr;
}

// How many values before value `i` have a kind: its place among the kinds and the values.
size_t rangVon(const unsigned char* block, size_t i)
{
    const unsigned char* maske = maskeVon(block);
    if (!maske)
        return i;
    size_t rang = 0;
    for (size_t b = 0; b < i / 8; ++b)
        rang += size_t(std::popcount(unsigned(maske[b])));
    if (i % 8 != 0)
        rang += size_t(std::popcount(unsigned(maske[i / 8] & ((1u << (i % 8)) - 1))));
    return rang;
}

const unsigned char* artenVon(const unsigned char* block)
{
    return nachKopf(block) + (wortVon(block) & MitMaske ? maskenGroesse(anzahlVon(block)) : 0);
}

Art artBei(const unsigned char* arten, size_t platz)
{
    return Art(arten[platz / 2] >> (platz % 2 * 4) & 0x0f);
}

// The kind of value `i` (< the count) of a block.
Art artVon(const unsigned char* block, size_t i)
{
    if (const unsigned char* maske = maskeVon(block); maske && !(maske[i / 8] >> (i % 8) & 1))
        return NichtGelesen;
    return artBei(artenVon(block), rangVon(block, i));
}

void artSetzen(unsigned char* arten, size_t platz, Art art)
{
    const int schiebung = int(platz % 2 * 4);
    arten[platz / 2] = static_cast<unsigned char>((arten[platz / 2] & ~(0x0f << schiebung)) | (art << schiebung));
}

// The block of `anzahl` values of the kinds `arten` (a byte each) and the bytes `werte`, with
// `beiseite` when it holds anything; null for no values.
unsigned char* packen(const unsigned char* arten, size_t anzahl, const unsigned char* werte, size_t laenge,
                      std::unique_ptr<Beiseiteliste> beiseite)
{
    if (anzahl == 0)
        return nullptr;
    if (anzahl > Zeilenwerte::MaxAnzahl)
        throw std::length_error("Zeilenwerte: zu viele Werte in einer Zeile");
    if (beiseite && beiseite->empty())
        beiseite.reset();
    const size_t gelesen = size_t(std::count_if(arten, arten + anzahl, [](unsigned char a) { return a != NichtGelesen; }));
    const bool mitMaske = maskenGroesse(anzahl) + kopfGroesse(gelesen) < kopfGroesse(anzahl);
    const size_t vorne = sizeof(uint16_t) + (beiseite ? sizeof(Beiseiteliste*) : 0);
    const size_t maske = mitMaske ? maskenGroesse(anzahl) : 0;
    const size_t kopf = kopfGroesse(mitMaske ? gelesen : anzahl);
    auto* block = new unsigned char[vorne + maske + kopf + laenge];
    const auto wort = uint16_t(anzahl | (beiseite ? MitBeiseite : 0) | (mitMaske ? MitMaske : 0));
    std::memcpy(block, &wort, sizeof wort);
    if (beiseite) {
        Beiseiteliste* liste = beiseite.release();
        std::memcpy(block + sizeof wort, &liste, sizeof liste);
    }
    unsigned char* bits = block + vorne;
    unsigned char* kinds = bits + maske;
    std::memset(bits, 0, maske + kopf);
    size_t platz = 0;
    for (size_t i = 0; i < anzahl; ++i) {
        if (mitMaske) {
            if (arten[i] == NichtGelesen)
                continue;
            bits[i / 8] = static_cast<unsigned char>(bits[i / 8] | 1u << (i % 8));
        }
        artSetzen(kinds, platz++, Art(arten[i]));
    }
    if (laenge > 0)
        std::memcpy(kinds + kopf, werte, laenge);
    return block;
}

// The block of `anzahl` values gathered in `puffer` (a kind byte per value, then the values).
unsigned char* packen(const Puffer& puffer, size_t anzahl, std::unique_ptr<Beiseiteliste> beiseite)
{
    return packen(puffer.data(), anzahl, puffer.data() + anzahl, puffer.size() - anzahl, std::move(beiseite));
}

// The values kept aside by `block`, moved out into a list of their own for the block that
// replaces it.
std::unique_ptr<Beiseiteliste> beiseiteUebernehmen(const unsigned char* block)
{
    Beiseiteliste* alt = beiseiteVon(block);
    return alt ? std::make_unique<Beiseiteliste>(std::move(*alt)) : nullptr;
}

// Where the value read last begins, so that reading the fields of a row one after the other
// walks the row once. One for all rows: a row's pointer is forgotten when its block goes.
struct Merkstelle
{
    const unsigned char* block = nullptr;
    size_t platz = 0;    // among the values that have a kind
    size_t versatz = 0;  // from the block's first value
};
thread_local Merkstelle t_merk;

// UTF-8 of `text` after its length; false (and nothing appended) for a lone surrogate, which
// UTF-8 cannot carry.
bool textAnhaengen(Puffer& aus, const QString& text)
{
    thread_local Puffer utf8;
    utf8.clear();
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = p[i];
        if (c < 0x80) {
            utf8.push_back(static_cast<unsigned char>(c));
        } else if (c < 0x800) {
            utf8.push_back(static_cast<unsigned char>(0xc0 | c >> 6));
            utf8.push_back(static_cast<unsigned char>(0x80 | (c & 0x3f)));
        } else if (c >= 0xd800 && c < 0xe000) {
            if (c >= 0xdc00 || i + 1 == n || p[i + 1] < 0xdc00 || p[i + 1] >= 0xe000)
                return false;
            const char32_t z = 0x10000 + ((c - 0xd800) << 10) + (p[++i] - 0xdc00);
            utf8.push_back(static_cast<unsigned char>(0xf0 | z >> 18));
            utf8.push_back(static_cast<unsigned char>(0x80 | (z >> 12 & 0x3f)));
            utf8.push_back(static_cast<unsigned char>(0x80 | (z >> 6 & 0x3f)));
            utf8.push_back(static_cast<unsigned char>(0x80 | (z & 0x3f)));
        } else {
            utf8.push_back(static_cast<unsigned char>(0xe0 | c >> 12));
            utf8.push_back(static_cast<unsigned char>(0x80 | (c >> 6 & 0x3f)));
            utf8.push_back(static_cast<unsigned char>(0x80 | (c & 0x3f)));
        }
    }
    laengeAnhaengen(aus, utf8.size());
    aus.insert(aus.end(), utf8.begin(), utf8.end());
    return true;
}

// The day of a text "YYYY-MM-DD" naming a valid date, which it is written as again; none for
// any other text.
std::optional<int32_t> tagVonDatumText(const char16_t* p, size_t laenge)
{
    if (laenge != 10 || p[4] != u'-' || p[7] != u'-')
        return std::nullopt;
    int teile[3] = {0, 0, 0};
    for (size_t i = 0, teil = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++teil;
            continue;
        }
        if (p[i] < u'0' || p[i] > u'9')
            return std::nullopt;
        teile[teil] = teile[teil] * 10 + (p[i] - u'0');
    }
    const QDate datum(teile[0], teile[1], teile[2]);
    if (!datum.isValid() || teile[0] < 1)
        return std::nullopt;
    return int32_t(datum.toJulianDay());
}

std::optional<int32_t> tagVonDatumText(const char* p, size_t laenge)
{
    if (laenge != 10)
        return std::nullopt;
    char16_t breit[10];
    for (size_t i = 0; i < 10; ++i)
        breit[i] = char16_t(static_cast<unsigned char>(p[i]));
    return tagVonDatumText(breit, laenge);
}

// A 64-bit whole number in four bytes when it fits, else in eight.
Art ganzAnhaengen(Puffer& aus, qint64 wert)
{
    if (wert >= std::numeric_limits<int32_t>::min() && wert <= std::numeric_limits<int32_t>::max()) {
        festAnhaengen<int32_t>(aus, int32_t(wert));
        return Ganz64Kurz;
    }
    festAnhaengen<qint64>(aus, wert);
    return Ganz64;
}

// Appends the bytes of `wert` to `aus` and gives its kind; a value of another kind goes to
// `beiseite` (at `platz` when it had a place there already).
Art kodieren(const QVariant& wert, Puffer& aus, std::unique_ptr<Beiseiteliste>& beiseite, int platz = -1)
{
    if (!wert.isValid())
        return Leer;
    const int typ = wert.metaType().id();
    if (wert.isNull()) {
        festAnhaengen<int32_t>(aus, typ);
        return TypLeer;
    }
    switch (typ) {
    case QMetaType::LongLong:
        return ganzAnhaengen(aus, *static_cast<const qlonglong*>(wert.constData()));
    case QMetaType::Int:
        festAnhaengen<int32_t>(aus, *static_cast<const int*>(wert.constData()));
        return Ganz32;
    case QMetaType::Double:
        festAnhaengen<double>(aus, *static_cast<const double*>(wert.constData()));
        return Gleitkomma;
    case QMetaType::Bool:
        return *static_cast<const bool*>(wert.constData()) ? Wahr : Falsch;
    case QMetaType::QString: {
        const QString& text = *static_cast<const QString*>(wert.constData());
        if (text.isNull())
            return TextNull;
        if (const auto tag = tagVonDatumText(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()))) {
            festAnhaengen<int32_t>(aus, *tag);
            return DatumText;
        }
        if (textAnhaengen(aus, text))
            return Text;
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray& bytes = *static_cast<const QByteArray*>(wert.constData());
        if (bytes.isNull())
            break;
        laengeAnhaengen(aus, size_t(bytes.size()));
        aus.insert(aus.end(), bytes.constBegin(), bytes.constEnd());
        return Bytes;
    }
    case QMetaType::QDate: {
        const QDate& datum = *static_cast<const QDate*>(wert.constData());
        if (!datum.isValid())
            break;
        festAnhaengen<qint64>(aus, datum.toJulianDay());
        return Datum;
    }
    case QMetaType::QDateTime: {
        const QDateTime& zeit = *static_cast<const QDateTime*>(wert.constData());
        if (!zeit.isValid() || zeit.timeSpec() != Qt::LocalTime)
            break;
        festAnhaengen<qint64>(aus, zeit.toMSecsSinceEpoch());
        return Zeitpunkt;
    }
    default:
        break;
    }
    if (!beiseite)
        beiseite = std::make_unique<Beiseiteliste>();
    if (platz < 0) {
        platz = int(beiseite->size());
        beiseite->push_back(wert);
    } else {
        (*beiseite)[size_t(platz)] = wert;
    }
    festAnhaengen<int32_t>(aus, platz);
    return Beiseite;
}

// Whether `p` holds well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF), so that it reads back byte for byte.
bool gueltigesUtf8(const unsigned char* p, size_t n)
{
    size_t i = 0;
    while (i < n) {
        // Plain ASCII eight bytes at a time.
        if (i + 8 <= n) {
            uint64_t acht;
            std::memcpy(&acht, p + i, 8);
            if ((acht & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t folge = 0;
        unsigned char min = 0x80;
        unsigned char max = 0xbf;
        if (c >= 0xc2 && c <= 0xdf) {
            folge = 1;
        } else if (c >= 0xe0 && c <= 0xef) {
            folge = 2;
            if (c == 0xe0)
                min = 0xa0;
            else if (c == 0xed)
                max = 0x9f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            folge = 3;
            if (c == 0xf0)
                min = 0x90;
            else if (c == 0xf4)
                max = 0x8f;
        } else {
            return false;
        }
        if (i + folge >= n)
            return false;
        if (p[i + 1] < min || p[i + 1] > max)
            return false;
        for (size_t k = 2; k <= folge; ++k)
            if ((p[i + k] & 0xc0) != 0x80)
                return false;
        i += folge + 1;
    }
    return true;
}

// Bytes of a value of kind `art` that starts at `p`.
size_t laengeVon(Art art, const unsigned char* p)
{
    switch (art) {
    case TypLeer:
    case Ganz32:
    case Ganz64Kurz:
    case DatumText:
    case Beiseite: return 4;
    case Ganz64:
    case Gleitkomma:
    case Datum:
    case Zeitpunkt: return 8;
    case Text:
    case Bytes: {
        const unsigned char* anfang = p;
        const size_t laenge = laengeLesen(p);
        return size_t(p - anfang) + laenge;
    }
    default: return 0;
    }
}

QVariant dekodieren(Art art, const unsigned char* p, const Beiseiteliste* beiseite)
{
    switch (art) {
    case Leer: return QVariant();
    case TypLeer: return QVariant(QMetaType(festLesen<int32_t>(p)));
    case Ganz64: return QVariant(qlonglong(festLesen<qint64>(p)));
    case Ganz32: return QVariant(int(festLesen<int32_t>(p)));
    case Ganz64Kurz: return QVariant(qlonglong(festLesen<int32_t>(p)));
    case DatumText: {
        char text[10];
        Zeilenwerte::datumText(festLesen<int32_t>(p), text);
        return QVariant(QString::fromLatin1(text, 10));
    }
    case Gleitkomma: return QVariant(festLesen<double>(p));
    case Wahr: return QVariant(true);
    case Falsch: return QVariant(false);
    case TextNull: return QVariant(QString());
    case Text: {
        const size_t laenge = laengeLesen(p);
        if (laenge == 0)
            return QVariant(QString(QLatin1String("")));
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(p), qsizetype(laenge)));
    }
    case Bytes: {
        const size_t laenge = laengeLesen(p);
        return QVariant(QByteArray(reinterpret_cast<const char*>(p), qsizetype(laenge)));
    }
    case Datum: return QVariant(QDate::fromJulianDay(festLesen<qint64>(p)));
    case Zeitpunkt: return QVariant(QDateTime::fromMSecsSinceEpoch(festLesen<qint64>(p)));
    case Beiseite: return (*beiseite)[size_t(festLesen<int32_t>(p))];
    case NichtGelesen: return QVariant();
    }
    return QVariant();
}

} // namespace

Zeilenwerte::Zeilenwerte(const std::vector<QVariant>& werte)
{
    neuBauen(werte);
}

Zeilenwerte::Zeilenwerte(const Zeilenwerte& andere)
{
    if (!andere.m_block)
        return;
    const size_t groesse = andere.groesse();
    auto block = std::make_unique_for_overwrite<unsigned char[]>(groesse);
    std::memcpy(block.get(), andere.m_block, groesse);
    if (const Beiseiteliste* liste = beiseiteVon(andere.m_block)) {
        auto kopie = std::make_unique<Beiseiteliste>(*liste);
        Beiseiteliste* zeiger = kopie.release();
        std::memcpy(block.get() + sizeof(uint16_t), &zeiger, sizeof zeiger);
    }
    m_block = block.release();
}

Zeilenwerte& Zeilenwerte::operator=(const Zeilenwerte& andere)
{
    if (this != &andere) {
        Zeilenwerte kopie(andere);
        *this = std::move(kopie);
    }
    return *this;
}

Zeilenwerte& Zeilenwerte::operator=(Zeilenwerte&& andere) noexcept
{
    // The row moved from is left empty.
    if (this != &andere) {
        freigeben(m_block);
        m_block = std::exchange(andere.m_block, nullptr);
    }
    return *this;
}

void Zeilenwerte::freigeben(unsigned char* block)
{
    if (!block)
        return;
    if (t_merk.block == block)
        t_merk.block = nullptr;
    delete beiseiteVon(block);
    delete[] block;
}

size_t Zeilenwerte::size() const
{
    return anzahlVon(m_block);
}

const unsigned char* Zeilenwerte::arten() const
{
    return artenVon(m_block);
}

const unsigned char* Zeilenwerte::werteAnfang() const
{
    return arten() + kopfGroesse(rangVon(m_block, size()));  // the kinds of the values read
}

const std::vector<QVariant>* Zeilenwerte::beiseite() const
{
    return beiseiteVon(m_block);
}

size_t Zeilenwerte::groesse() const
{
    return m_block ? versatz(size()) : 0;
}

void Zeilenwerte::neuBauen(const std::vector<QVariant>& werte)
{
    thread_local Puffer daten;
    daten.assign(werte.size(), Leer);
    std::unique_ptr<Beiseiteliste> beiseite;
    for (size_t i = 0; i < werte.size(); ++i)
        daten[i] = kodieren(werte[i], daten, beiseite);
    unsigned char* neu = packen(daten, werte.size(), std::move(beiseite));
    freigeben(m_block);
    m_block = neu;
}

// Where value `i` begins, from the start of the block; `i` may be the count, for the block's end.
// A value not read has no bytes: it begins where the next one does.
size_t Zeilenwerte::versatz(size_t i) const
{
    const size_t platz = rangVon(m_block, i);
    const unsigned char* kinds = arten();
    const unsigned char* anfang = werteAnfang();
    size_t k = 0;
    const unsigned char* p = anfang;
    if (t_merk.block == m_block && platz >= t_merk.platz) {
        k = t_merk.platz;
        p += t_merk.versatz;
    }
    for (; k < platz; ++k)
        p += laengeVon(artBei(kinds, k), p);
    t_merk = {m_block, platz, size_t(p - anfang)};
    return size_t(p - m_block);
}

const QVariant Zeilenwerte::operator[](size_t i) const
{
    if (i >= size())
        return QVariant();
    const Art art = artVon(m_block, i);
    if (art == NichtGelesen)
        return QVariant();
    return dekodieren(art, m_block + versatz(i), beiseite());
}

std::optional<std::string_view> Zeilenwerte::textAnsicht(size_t i) const
{
    if (i >= size() || artVon(m_block, i) != Text)
        return std::nullopt;
    const unsigned char* p = m_block + versatz(i);
    const size_t laenge = laengeLesen(p);
    return std::string_view(reinterpret_cast<const char*>(p), laenge);
}

std::optional<qint64> Zeilenwerte::datumTextTag(size_t i) const
{
    if (i >= size() || artVon(m_block, i) != DatumText)
        return std::nullopt;
    return festLesen<int32_t>(m_block + versatz(i));
}

void Zeilenwerte::datumText(qint64 tag, char (&aus)[10])
{
    int jahr = 0;
    int monat = 0;
    int tagImMonat = 0;
    QDate::fromJulianDay(tag).getDate(&jahr, &monat, &tagImMonat);
    const int ziffern[8] = {jahr / 1000, jahr / 100 % 10, jahr / 10 % 10, jahr % 10, monat / 10, monat % 10, tagImMonat / 10, tagImMonat % 10};
    const int stelle[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    aus[4] = aus[7] = '-';
    for (int k = 0; k < 8; ++k)
        aus[stelle[k]] = char('0' + ziffern[k]);
}

bool Zeilenwerte::istNull(size_t i) const
{
    if (i >= size())
        return true;
    const Art art = artVon(m_block, i);
    if (art == Beiseite)
        return (*this)[i].isNull();
    return art == Leer || art == TypLeer || art == NichtGelesen;
}

bool Zeilenwerte::gelesen(size_t i) const
{
    return i >= size() || artVon(m_block, i) != NichtGelesen;
}

void Zeilenwerte::setzen(size_t i, const QVariant& wert)
{
    if (i >= size())
        resize(i + 1);
    const size_t anzahl = size();
    const Art alt = artVon(m_block, i);
    const size_t anfang = versatz(i);
    const size_t ende = anfang + laengeVon(alt, m_block + anfang);
    const size_t groesse = this->groesse();
    const int platz = alt == Beiseite ? festLesen<int32_t>(m_block + anfang) : -1;

    thread_local Puffer daten;
    daten.clear();
    for (size_t k = 0; k < anzahl; ++k)
        daten.push_back(artVon(m_block, k));
    const size_t werte = size_t(werteAnfang() - m_block);
    daten.insert(daten.end(), m_block + werte, m_block + anfang);
    std::unique_ptr<Beiseiteliste> beiseite = beiseiteUebernehmen(m_block);
    daten[i] = kodieren(wert, daten, beiseite, platz);
    daten.insert(daten.end(), m_block + ende, m_block + groesse);
    unsigned char* neu = packen(daten, anzahl, std::move(beiseite));
    freigeben(m_block);
    m_block = neu;
}

void Zeilenwerte::setzenAb(size_t erste, const std::vector<QVariant>& werte)
{
    const size_t anzahl = size();
    const size_t ende = erste + werte.size();
    if (erste <= anzahl && ende >= anzahl) {
        // The values before `erste` keep their bytes; only the rest is made anew (the derived
        // values at the end of a row, for every row a grid shows).
        thread_local Puffer daten;
        daten.clear();
        for (size_t k = 0; k < erste; ++k)
            daten.push_back(m_block ? artVon(m_block, k) : Leer);
        daten.resize(ende, Leer);
        if (m_block)
            daten.insert(daten.end(), werteAnfang(), static_cast<const unsigned char*>(m_block + versatz(erste)));
        std::unique_ptr<Beiseiteliste> beiseite = beiseiteUebernehmen(m_block);
        for (size_t k = 0; k < werte.size(); ++k)
            daten[erste + k] = kodieren(werte[k], daten, beiseite);
        unsigned char* neu = packen(daten, ende, std::move(beiseite));
        freigeben(m_block);
        m_block = neu;
        return;
    }
    std::vector<QVariant> alle = this->alle();
    if (alle.size() < erste + werte.size())
        alle.resize(erste + werte.size());
    std::copy(werte.begin(), werte.end(), alle.begin() + qsizetype(erste));
    neuBauen(alle);
}

void Zeilenwerte::resize(size_t anzahl)
{
    if (anzahl == size())
        return;
    std::vector<QVariant> alle = erste(std::min<size_t>(anzahl, size()));
    alle.resize(anzahl);
    neuBauen(alle);
}

std::vector<QVariant> Zeilenwerte::erste(size_t anzahl) const
{
    anzahl = std::min<size_t>(anzahl, size());
    std::vector<QVariant> werte;
    werte.reserve(anzahl);
    if (anzahl == 0)
        return werte;
    const unsigned char* p = werteAnfang();
    for (size_t i = 0; i < anzahl; ++i) {
        const Art art = artVon(m_block, i);
        werte.push_back(dekodieren(art, p, beiseite()));
        p += laengeVon(art, p);
    }
    return werte;
}

bool Zeilenwerte::rohAnhaengen(size_t i, std::string& aus) const
{
    return rohAnhaengen(std::vector<int>{int(i)}, aus);
}

bool Zeilenwerte::rohAnhaengen(const std::vector<int>& aufsteigend, std::string& aus) const
{
    const size_t anzahl = size();
    for (const int index : aufsteigend) {
        const size_t i = size_t(index);
        if (i >= anzahl) {
            aus.push_back(char(Leer));
            continue;
        }
        const Art art = artVon(m_block, i);
        if (art == Beiseite)
            return false;
        aus.push_back(char(art));
        const unsigned char* p = m_block + versatz(i);  // ascending: the row is walked once
        aus.append(reinterpret_cast<const char*>(p), laengeVon(art, p));
    }
    return true;
}

size_t Zeilenwerte::speicher() const
{
    size_t summe = groesse();
    if (const Beiseiteliste* liste = beiseite())
        summe += sizeof(Beiseiteliste) + liste->capacity() * sizeof(QVariant);
    return summe;
}

void Zeilenbau::beginnen(size_t anzahl, const std::vector<bool>* gehalten)
{
    m_daten.assign(anzahl, Leer);
    m_anzahl = anzahl;
    m_naechster = 0;
    m_beiseite.reset();
    m_gehalten = gehalten && !gehalten->empty() ? gehalten : nullptr;
}

void Zeilenbau::zumNaechstenGehaltenen()
{
    if (!m_gehalten)
        return;
    while (m_naechster < m_gehalten->size() && !(*m_gehalten)[m_naechster])
        m_daten[m_naechster++] = NichtGelesen;
}

void Zeilenbau::leer()
{
    zumNaechstenGehaltenen();
    m_daten[m_naechster++] = Leer;
}

void Zeilenbau::ganzzahl(qint64 wert)
{
    zumNaechstenGehaltenen();
    m_daten[m_naechster++] = ganzAnhaengen(m_daten, wert);
}

void Zeilenbau::gleitkomma(double wert)
{
    zumNaechstenGehaltenen();
    festAnhaengen<double>(m_daten, wert);
    m_daten[m_naechster++] = Gleitkomma;
}

bool Zeilenbau::utf8(const char* text, size_t laenge)
{
    zumNaechstenGehaltenen();
    if (const auto tag = tagVonDatumText(text, laenge)) {
        festAnhaengen<int32_t>(m_daten, *tag);
        m_daten[m_naechster++] = DatumText;
        return true;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (!gueltigesUtf8(p, laenge))
        return false;
    laengeAnhaengen(m_daten, laenge);
    m_daten.insert(m_daten.end(), p, p + laenge);
    m_daten[m_naechster++] = Text;
    return true;
}

void Zeilenbau::wert(const QVariant& wert)
{
    zumNaechstenGehaltenen();
    const Art art = kodieren(wert, m_daten, m_beiseite);
    m_daten[m_naechster++] = art;
}

Zeilenwerte Zeilenbau::fertig()
{
    zumNaechstenGehaltenen();  // the columns not held after the last one given
    Zeilenwerte zeile(packen(m_daten, m_anzahl, std::move(m_beiseite)));
    beginnen(m_anzahl, m_gehalten);
    return zeile;
}
