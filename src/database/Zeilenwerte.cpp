#include "Zeilenwerte.h"

#include <QDate>
#include <QDateTime>
#include <cstring>
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

// A block holds the kinds of its values two to a byte (the first in the low half), then the
// values' bytes; the builders gather one kind byte per value and pack them when done.
static_assert(NichtGelesen < 16, "a kind takes half a byte");

size_t kopfGroesse(size_t anzahl)
{
    return (anzahl + 1) / 2;
}

Art artBei(const unsigned char* block, size_t i)
{
    return Art(block[i / 2] >> (i % 2 * 4) & 0x0f);
}

void artSetzen(unsigned char* block, size_t i, Art art)
{
    const int schiebung = int(i % 2 * 4);
    block[i / 2] = static_cast<unsigned char>((block[i / 2] & ~(0x0f << schiebung)) | (art << schiebung));
}

// The block of `anzahl` values gathered in `puffer` (a kind byte per value, then the values),
// and its size.
std::unique_ptr<unsigned char[]> packen(const Puffer& puffer, size_t anzahl, uint32_t& groesse)
{
    const size_t kopf = kopfGroesse(anzahl);
    groesse = uint32_t(kopf + puffer.size() - anzahl);
    if (groesse == 0)
        return nullptr;
    auto block = std::make_unique_for_overwrite<unsigned char[]>(groesse);
    std::memset(block.get(), 0, kopf);
    for (size_t i = 0; i < anzahl; ++i)
        artSetzen(block.get(), i, Art(puffer[i]));
    if (puffer.size() > anzahl)
        std::memcpy(block.get() + kopf, puffer.data() + anzahl, puffer.size() - anzahl);
    return block;
}

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

// Appends the bytes of `wert` to `aus` and gives its kind; a value of another kind goes to
// `beiseite` (at `platz` when it had a place there already).
Art kodieren(const QVariant& wert, Puffer& aus, std::unique_ptr<std::vector<QVariant>>& beiseite, int platz = -1)
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
        festAnhaengen<qint64>(aus, *static_cast<const qlonglong*>(wert.constData()));
        return Ganz64;
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
        beiseite = std::make_unique<std::vector<QVariant>>();
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

QVariant dekodieren(Art art, const unsigned char* p, const std::vector<QVariant>* beiseite)
{
    switch (art) {
    case Leer: return QVariant();
    case TypLeer: return QVariant(QMetaType(festLesen<int32_t>(p)));
    case Ganz64: return QVariant(qlonglong(festLesen<qint64>(p)));
    case Ganz32: return QVariant(int(festLesen<int32_t>(p)));
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
    : m_groesse(andere.m_groesse)
    , m_anzahl(andere.m_anzahl)
{
    if (m_groesse > 0) {
        m_daten = std::make_unique_for_overwrite<unsigned char[]>(m_groesse);
        std::memcpy(m_daten.get(), andere.m_daten.get(), m_groesse);
    }
    if (andere.m_beiseite)
        m_beiseite = std::make_unique<std::vector<QVariant>>(*andere.m_beiseite);
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
    // The row moved from is left empty, not holding counts without a block.
    m_daten = std::move(andere.m_daten);
    m_beiseite = std::move(andere.m_beiseite);
    m_groesse = std::exchange(andere.m_groesse, 0);
    m_anzahl = std::exchange(andere.m_anzahl, 0);
    m_merkIndex = std::exchange(andere.m_merkIndex, 0);
    m_merkVersatz = std::exchange(andere.m_merkVersatz, 0);
    return *this;
}

void Zeilenwerte::neuBauen(const std::vector<QVariant>& werte)
{
    thread_local Puffer daten;
    daten.assign(werte.size(), Leer);
    std::unique_ptr<std::vector<QVariant>> beiseite;
    for (size_t i = 0; i < werte.size(); ++i)
        daten[i] = kodieren(werte[i], daten, beiseite);
    m_anzahl = uint32_t(werte.size());
    m_daten = packen(daten, werte.size(), m_groesse);
    m_beiseite = std::move(beiseite);
    m_merkIndex = m_merkVersatz = 0;
}

size_t Zeilenwerte::versatz(size_t i) const
{
    const size_t kopf = kopfGroesse(m_anzahl);
    const unsigned char* anfang = m_daten.get() + kopf;
    size_t j = 0;
    const unsigned char* p = anfang;
    if (i >= m_merkIndex) {
        j = m_merkIndex;
        p += m_merkVersatz;
    }
    for (; j < i; ++j)
        p += laengeVon(artBei(m_daten.get(), j), p);
    m_merkIndex = uint32_t(i);
    m_merkVersatz = uint32_t(p - anfang);
    return kopf + size_t(p - anfang);
}

const QVariant Zeilenwerte::operator[](size_t i) const
{
    if (i >= m_anzahl)
        return QVariant();
    return dekodieren(artBei(m_daten.get(), i), m_daten.get() + versatz(i), m_beiseite.get());
}

bool Zeilenwerte::istNull(size_t i) const
{
    if (i >= m_anzahl)
        return true;
    const Art art = artBei(m_daten.get(), i);
    if (art == Beiseite)
        return (*this)[i].isNull();
    return art == Leer || art == TypLeer || art == NichtGelesen;
}

bool Zeilenwerte::gelesen(size_t i) const
{
    return i >= m_anzahl || artBei(m_daten.get(), i) != NichtGelesen;
}

void Zeilenwerte::setzen(size_t i, const QVariant& wert)
{
    if (i >= m_anzahl)
        resize(i + 1);
    const Art alt = artBei(m_daten.get(), i);
    const size_t anfang = versatz(i);
    const size_t ende = anfang + laengeVon(alt, m_daten.get() + anfang);
    const int platz = alt == Beiseite ? festLesen<int32_t>(m_daten.get() + anfang) : -1;

    thread_local Puffer neu;
    neu.clear();
    const Art art = kodieren(wert, neu, m_beiseite, platz);
    const size_t groesse = m_groesse - (ende - anfang) + neu.size();
    auto daten = std::make_unique_for_overwrite<unsigned char[]>(groesse);
    std::memcpy(daten.get(), m_daten.get(), anfang);
    if (!neu.empty())
        std::memcpy(daten.get() + anfang, neu.data(), neu.size());
    std::memcpy(daten.get() + anfang + neu.size(), m_daten.get() + ende, m_groesse - ende);
    artSetzen(daten.get(), i, art);
    m_daten = std::move(daten);
    m_groesse = uint32_t(groesse);
    m_merkIndex = m_merkVersatz = 0;
}

void Zeilenwerte::setzenAb(size_t erste, const std::vector<QVariant>& werte)
{
    const size_t ende = erste + werte.size();
    if (erste <= m_anzahl && ende >= m_anzahl) {
        // The values before `erste` keep their bytes; only the rest is made anew (the derived
        // values at the end of a row, for every row a grid shows).
        const size_t kopfAlt = kopfGroesse(m_anzahl);
        const size_t vorne = versatz(erste) - kopfAlt;
        thread_local Puffer arten;
        thread_local Puffer hinten;
        arten.clear();
        hinten.clear();
        for (const QVariant& wert : werte)
            arten.push_back(kodieren(wert, hinten, m_beiseite));
        const size_t kopf = kopfGroesse(ende);
        const size_t groesse = kopf + vorne + hinten.size();
        auto daten = std::make_unique_for_overwrite<unsigned char[]>(groesse);
        std::memset(daten.get(), 0, kopf);
        for (size_t i = 0; i < erste; ++i)
            artSetzen(daten.get(), i, artBei(m_daten.get(), i));
        for (size_t i = 0; i < arten.size(); ++i)
            artSetzen(daten.get(), erste + i, Art(arten[i]));
        if (vorne > 0)
            std::memcpy(daten.get() + kopf, m_daten.get() + kopfAlt, vorne);
        if (!hinten.empty())
            std::memcpy(daten.get() + kopf + vorne, hinten.data(), hinten.size());
        m_daten = std::move(daten);
        m_groesse = uint32_t(groesse);
        m_anzahl = uint32_t(ende);
        m_merkIndex = m_merkVersatz = 0;
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
    if (anzahl == m_anzahl)
        return;
    std::vector<QVariant> alle = erste(std::min<size_t>(anzahl, m_anzahl));
    alle.resize(anzahl);
    neuBauen(alle);
}

std::vector<QVariant> Zeilenwerte::erste(size_t anzahl) const
{
    anzahl = std::min<size_t>(anzahl, m_anzahl);
    std::vector<QVariant> werte;
    werte.reserve(anzahl);
    const unsigned char* p = m_daten.get() + kopfGroesse(m_anzahl);
    for (size_t i = 0; i < anzahl; ++i) {
        const Art art = artBei(m_daten.get(), i);
        werte.push_back(dekodieren(art, p, m_beiseite.get()));
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
    const unsigned char* p = m_daten.get() + kopfGroesse(m_anzahl);
    size_t j = 0;
    for (const int index : aufsteigend) {
        const size_t i = size_t(index);
        if (i >= m_anzahl) {
            aus.push_back(char(Leer));
            continue;
        }
        for (; j < i; ++j)
            p += laengeVon(artBei(m_daten.get(), j), p);
        const Art art = artBei(m_daten.get(), i);
        if (art == Beiseite)
            return false;
        aus.push_back(char(art));
        aus.append(reinterpret_cast<const char*>(p), laengeVon(art, p));
    }
    return true;
}

size_t Zeilenwerte::speicher() const
{
    size_t summe = m_groesse;
    if (m_beiseite)
        summe += sizeof(std::vector<QVariant>) + m_beiseite->capacity() * sizeof(QVariant);
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
    festAnhaengen<qint64>(m_daten, wert);
    m_daten[m_naechster++] = Ganz64;
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
    Zeilenwerte zeile;
    zeile.m_anzahl = uint32_t(m_anzahl);
    zeile.m_daten = packen(m_daten, m_anzahl, zeile.m_groesse);
    zeile.m_beiseite = std::move(m_beiseite);
    beginnen(m_anzahl, m_gehalten);
    return zeile;
}
