#include "Zeilenordnung.h"

#include "SqliteAnweisung.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <string_view>
#include <numeric>
#include <utility>

namespace {

// The engine's storage classes in their order.
int klasse(const QVariant& v)
{
    if (v.isNull())
        return 0;
    switch (v.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::Bool:
        return 1;
    case QMetaType::QString:
    case QMetaType::QDate:      // from a server; they sort as their ISO text does in a file
    case QMetaType::QDateTime:
        return 2;
    case QMetaType::QByteArray:
        return 3;
    default:
        return v.metaType() == QMetaType::fromType<RohText>() ? 2 : 3;
    }
}

template <typename T>
int dreiwege(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

char klein(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Text as the engine compares it: its UTF-8 bytes (NOCASE: with ASCII letters folded).
int textVergleichen(std::string_view a, std::string_view b, bool ohneGross)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = uchar(ohneGross ? klein(a[i]) : a[i]);
        const auto y = uchar(ohneGross ? klein(b[i]) : b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return dreiwege(a.size(), b.size());
}

int textVergleichen(const QByteArray& a, const QByteArray& b, bool ohneGross)
{
    return textVergleichen(std::string_view(a.constData(), size_t(a.size())),
                           std::string_view(b.constData(), size_t(b.size())), ohneGross);
}

QByteArray textBytes(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<RohText>())
        return v.value<RohText>().bytes;
    return v.toString().toUtf8();
}

// A value as the order compares it, taken out of a row once: its class, its number, or its
// bytes (in the row itself where it holds them as text, else in `eigene`).
// A date text the row holds by its day ("YYYY-MM-DD") is kept as that day.
struct Ordnungswert
{
    const char* bytes = nullptr;
    union {
        qint64 ganz = 0;
        double zahl;
    };
    uint32_t laenge = 0;
    uint8_t klasse = 0;
    bool gleitend = false;
    bool datum = false;

    std::string_view text(char (&puffer)[10]) const
    {
        if (!datum)
            return std::string_view(bytes, laenge);
        Zeilenwerte::datumText(ganz, puffer);
        return std::string_view(puffer, 10);
    }
};

Ordnungswert ordnungswert(const Zeilenwerte& zeile, size_t spalte, std::deque<QByteArray>& eigene)
{
    Ordnungswert w;
    if (const std::optional<qint64> tag = zeile.datumTextTag(spalte)) {
        w.klasse = 2;
        w.datum = true;
        w.ganz = *tag;
        return w;
    }
    if (const std::optional<std::string_view> text = zeile.textAnsicht(spalte)) {
        w.klasse = 2;
        w.bytes = text->data();
        w.laenge = uint32_t(text->size());
        return w;
    }
    const QVariant v = zeile[spalte];
    w.klasse = uint8_t(klasse(v));
    if (w.klasse == 1) {
        w.gleitend = v.metaType().id() == QMetaType::Double;
        if (w.gleitend)
            w.zahl = v.toDouble();
        else
            w.ganz = v.toLongLong();
    } else if (w.klasse >= 2) {
        eigene.push_back(w.klasse == 2 ? textBytes(v) : v.toByteArray());
        w.bytes = eigene.back().constData();
        w.laenge = uint32_t(eigene.back().size());
    }
    return w;
}

int ordnungswertVergleichen(const Ordnungswert& a, const Ordnungswert& b, bool ohneGross)
{
    if (a.klasse != b.klasse)
        return dreiwege(a.klasse, b.klasse);
    switch (a.klasse) {
    case 0:
        return 0;
    case 1:
        if (a.gleitend || b.gleitend)
            return dreiwege(a.gleitend ? a.zahl : double(a.ganz), b.gleitend ? b.zahl : double(b.ganz));
        return dreiwege(a.ganz, b.ganz);
    case 2: {
        // Two days compare as their texts do: those have four-digit years.
        if (a.datum && b.datum)
            return dreiwege(a.ganz, b.ganz);
        char pa[10];
        char pb[10];
        return textVergleichen(a.text(pa), b.text(pb), ohneGross);
    }
    default: {
        char pa[10];
        char pb[10];
        return textVergleichen(a.text(pa), b.text(pb), false);
    }
    }
}

} // namespace

Zeilenordnung::Zeilenordnung(std::vector<Spalte> spalten, int schluessel)
    : m_spalten(std::move(spalten))
    , m_schluessel(schluessel)
{
}

int Zeilenordnung::wertVergleichen(const QVariant& a, const QVariant& b, bool ohneGross)
{
    const int ka = klasse(a);
    const int kb = klasse(b);
    if (ka != kb)
        return dreiwege(ka, kb);
    switch (ka) {
    case 0:
        return 0;
    case 1:
        if (a.metaType().id() == QMetaType::Double || b.metaType().id() == QMetaType::Double)
            return dreiwege(a.toDouble(), b.toDouble());
        return dreiwege(a.toLongLong(), b.toLongLong());
    case 2:
        // Plain strings of ASCII letters, the common case, need no conversion.
        if (a.metaType().id() == QMetaType::QString && b.metaType().id() == QMetaType::QString) {
            const QString& x = *static_cast<const QString*>(a.constData());
            const QString& y = *static_cast<const QString*>(b.constData());
            const qsizetype n = std::min(x.size(), y.size());
            for (qsizetype i = 0; i < n; ++i) {
                char16_t cx = x[i].unicode();
                char16_t cy = y[i].unicode();
                if (cx >= 0x80 || cy >= 0x80)
                    return textVergleichen(textBytes(a), textBytes(b), ohneGross);
                if (ohneGross) {
                    cx = char16_t(klein(char(cx)));
                    cy = char16_t(klein(char(cy)));
                }
                if (cx != cy)
                    return cx < cy ? -1 : 1;
            }
            return dreiwege(x.size(), y.size());
        }
        return textVergleichen(textBytes(a), textBytes(b), ohneGross);
    default:
        return textVergleichen(a.toByteArray(), b.toByteArray(), false);
    }
}

int Zeilenordnung::vergleichen(const std::vector<QVariant>& a, const std::vector<QVariant>& b) const
{
    return vergleichenIn(a, b);
}

int Zeilenordnung::vergleichen(const Zeilenwerte& a, const Zeilenwerte& b) const
{
    return vergleichenIn(a, b);
}

template <typename Werte>
int Zeilenordnung::vergleichenIn(const Werte& a, const Werte& b) const
{
    for (const Spalte& s : m_spalten) {
        const int r = wertVergleichen(a[size_t(s.feld)], b[size_t(s.feld)], s.ohneGross);
        if (r != 0)
            return s.absteigend ? -r : r;
    }
    return dreiwege(a[size_t(m_schluessel)].toLongLong(), b[size_t(m_schluessel)].toLongLong());
}

std::vector<size_t> Zeilenordnung::reihenfolge(size_t anzahl, const std::function<const Zeilenwerte&(size_t)>& werteVon) const
{
    // Text stays in the rows; only values of other kinds that compare as bytes are copied.
    const size_t breite = m_spalten.size();
    std::vector<Ordnungswert> werte(anzahl * breite);
    std::deque<QByteArray> eigene;
    std::vector<qint64> schluessel(anzahl);
    for (size_t i = 0; i < anzahl; ++i) {
        const Zeilenwerte& zeile = werteVon(i);
        for (size_t s = 0; s < breite; ++s)
            werte[i * breite + s] = ordnungswert(zeile, size_t(m_spalten[s].feld), eigene);
        schluessel[i] = zeile[size_t(m_schluessel)].toLongLong();
    }
    std::vector<size_t> folge(anzahl);
    std::iota(folge.begin(), folge.end(), size_t(0));
    std::sort(folge.begin(), folge.end(), [&](size_t a, size_t b) {
        for (size_t s = 0; s < breite; ++s) {
            const int r = ordnungswertVergleichen(werte[a * breite + s], werte[b * breite + s], m_spalten[s].ohneGross);
            if (r != 0)
                return (m_spalten[s].absteigend ? -r : r) < 0;
        }
        return schluessel[a] < schluessel[b];
    });
    return folge;
}
