#include "Schluessel.h"

#include <algorithm>
#include <cstring>

namespace btrieve {

const char* typName(uint8_t t)
{
    switch (t) {
    case typ::String: return "string";
    case typ::Integer: return "integer";
    case typ::Float: return "float";
    case typ::Date: return "date";
    case typ::Time: return "time";
    case typ::Decimal: return "decimal";
    case typ::Money: return "money";
    case typ::Logical: return "logical";
    case typ::Numeric: return "numeric";
    case typ::BFloat: return "bfloat";
    case typ::LString: return "lstring";
    case typ::ZString: return "zstring";
    case typ::UnsignedBinary: return "unsigned binary";
    case typ::Autoinc: return "autoincrement";
    case 17: return "numeric STS";
    case 18: return "numeric SA";
    case 19: return "currency";
    case 20: return "timestamp";
    case 25: return "wstring";
    case 26: return "wzstring";
    default: return "?";
    }
}

namespace {

int vorzeichen(long long d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

int64_t mitVorzeichen(const uint8_t* p, int n)
{
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | p[i];
    if (n < 8 && (p[n - 1] & 0x80))
        v |= ~uint64_t(0) << (8 * n);
    return int64_t(v);
}

int ohneVorzeichenVergleichen(const uint8_t* a, const uint8_t* b, int n)
{
    for (int i = n - 1; i >= 0; --i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

double gleitkomma(const uint8_t* p, int n)
{
    if (n == 4) {
        float f;
        std::memcpy(&f, p, 4);
        return f;
    }
    double d;
    std::memcpy(&d, p, 8);
    return d;
}

} // namespace

int Segment::vergleichen(const uint8_t* a, const uint8_t* b, bool roh) const
{
    const bool umsetzen = !roh && (acs || (flags & (flag::OhneGross | flag::Acs)) == flag::OhneGross);
    auto zeichen = [&](uint8_t c) -> uint8_t {
        if (!umsetzen)
            return c;
        if (acs)
            return (*acs)[c];
        return (c >= 'a' && c <= 'z') ? uint8_t(c - 32) : c;
    };
    // Texts: byte by byte through the collating sequence; a prefix sorts first.
    auto texte = [&](const uint8_t* x, size_t nx, const uint8_t* y, size_t ny) {
        const size_t n = nx < ny ? nx : ny;
        for (size_t i = 0; i < n; ++i) {
            const uint8_t cx = zeichen(x[i]), cy = zeichen(y[i]);
            if (cx != cy)
                return cx < cy ? -1 : 1;
        }
        return vorzeichen((long long)nx - (long long)ny);
    };

    int r = 0;
    const int n = laenge;
    switch (typ) {
    case typ::String:
        r = texte(a, n, b, n);
        break;
    case typ::LString: {
        const size_t grenze = n > 0 ? size_t(n - 1) : 0;
        const size_t na = a[0] < grenze ? a[0] : grenze;
        const size_t nb = b[0] < grenze ? b[0] : grenze;
        r = texte(a + 1, na, b + 1, nb);
        break;
    }
    case typ::ZString:
        r = texte(a, strnlen(reinterpret_cast<const char*>(a), size_t(n)), b,
                  strnlen(reinterpret_cast<const char*>(b), size_t(n)));
        break;
    case typ::Integer:
    case typ::Autoinc:
        if (n == 1 || n == 2 || n == 4 || n == 8) {
            const int64_t x = mitVorzeichen(a, n), y = mitVorzeichen(b, n);
            r = x < y ? -1 : (x > y ? 1 : 0);
        } else {
            r = std::memcmp(a, b, size_t(n));
        }
        break;
    case typ::UnsignedBinary:
    case typ::Logical:
        r = ohneVorzeichenVergleichen(a, b, n);
        break;
    case typ::Date:   // day, month, year (16 bit)
        if (n == 4) {
            const uint8_t x[4] = {a[0], a[1], a[2], a[3]}, y[4] = {b[0], b[1], b[2], b[3]};
            r = ohneVorzeichenVergleichen(x, y, 4);   // little-endian order already is day < month < year
        } else {
            r = std::memcmp(a, b, size_t(n));
        }
        break;
    case typ::Time:   // hundredths, seconds, minutes, hours
        r = n == 4 ? ohneVorzeichenVergleichen(a, b, 4) : std::memcmp(a, b, size_t(n));
        break;
    case typ::Float:
        if (n == 4 || n == 8) {
            const double x = gleitkomma(a, n), y = gleitkomma(b, n);
            if (x < y || x > y || x == y)
                r = x < y ? -1 : (x > y ? 1 : 0);
            else   // NaN: the order is unknown, keep it stable
                r = std::memcmp(a, b, size_t(n)) < 0 ? -1 : (std::memcmp(a, b, size_t(n)) > 0 ? 1 : 0);
        } else {
            r = std::memcmp(a, b, size_t(n));
        }
        break;
    default:
        r = std::memcmp(a, b, size_t(n));
        r = r < 0 ? -1 : (r > 0 ? 1 : 0);
        break;
    }
    return (flags & flag::Absteigend) ? -r : r;
}

void Schluessel::wertAus(const uint8_t* satz, uint8_t* ziel) const
{
    for (const Segment& s : segmente) {
        std::memcpy(ziel, satz + s.position, s.laenge);
        ziel += s.laenge;
    }
}

std::vector<uint8_t> Schluessel::wertAus(const uint8_t* satz) const
{
    std::vector<uint8_t> wert(laenge);
    wertAus(satz, wert.data());
    return wert;
}

int Schluessel::vergleichen(const uint8_t* a, const uint8_t* b) const
{
    for (const Segment& s : segmente) {
        const int r = s.vergleichen(a, b);
        if (r != 0)
            return r;
        a += s.laenge;
        b += s.laenge;
    }
    return 0;
}

bool Schluessel::gleich(const uint8_t* a, const uint8_t* b) const
{
    for (const Segment& s : segmente) {
        if (s.vergleichen(a, b, !s.vergleichbar) != 0)
            return false;
        a += s.laenge;
        b += s.laenge;
    }
    return true;
}

bool Schluessel::passt(const uint8_t* a, const uint8_t* b) const
{
    for (const Segment& s : segmente) {
        if (s.vergleichen(a, b, !s.vergleichbar) != 0) {
            if (!(s.flags & (flag::OhneGross | flag::Acs)))
                return false;
            size_t von = 0, na = s.laenge, nb = s.laenge;
            if (s.typ == typ::LString) {
                von = 1;
                na = 1 + std::min<size_t>(a[0], s.laenge - 1u);
                nb = 1 + std::min<size_t>(b[0], s.laenge - 1u);
            } else if (s.typ == typ::ZString) {
                na = strnlen(reinterpret_cast<const char*>(a), s.laenge);
                nb = strnlen(reinterpret_cast<const char*>(b), s.laenge);
            }
            if (na != nb)
                return false;
            for (size_t i = von; i < na; ++i) {
                const uint8_t x = a[i], y = b[i];
                const bool gleicherBuchstabe = (x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' && (x | 0x20) <= 'z';
                if (x != y && !gleicherBuchstabe && !(x >= 0x80 && y >= 0x80))
                    return false;
            }
        }
        a += s.laenge;
        b += s.laenge;
    }
    return true;
}

} // namespace btrieve
