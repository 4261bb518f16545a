#include "Zeilenordnung.h"

#include "SqliteAnweisung.h"

#include <QByteArray>
#include <algorithm>
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
int textVergleichen(const QByteArray& a, const QByteArray& b, bool ohneGross)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = uchar(ohneGross ? klein(a[i]) : a[i]);
        const auto y = uchar(ohneGross ? klein(b[i]) : b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return dreiwege(a.size(), b.size());
}

QByteArray textBytes(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<RohText>())
        return v.value<RohText>().bytes;
    return v.toString().toUtf8();
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
    const size_t breite = m_spalten.size();
    std::vector<QVariant> werte(anzahl * breite);
    std::vector<qint64> schluessel(anzahl);
    for (size_t i = 0; i < anzahl; ++i) {
        const Zeilenwerte& zeile = werteVon(i);
        for (size_t s = 0; s < breite; ++s)
            werte[i * breite + s] = zeile[size_t(m_spalten[s].feld)];
        schluessel[i] = zeile[size_t(m_schluessel)].toLongLong();
    }
    std::vector<size_t> folge(anzahl);
    std::iota(folge.begin(), folge.end(), size_t(0));
    std::sort(folge.begin(), folge.end(), [&](size_t a, size_t b) {
        for (size_t s = 0; s < breite; ++s) {
            const int r = wertVergleichen(werte[a * breite + s], werte[b * breite + s], m_spalten[s].ohneGross);
            if (r != 0)
                return (m_spalten[s].absteigend ? -r : r) < 0;
        }
        return schluessel[a] < schluessel[b];
    });
    return folge;
}
