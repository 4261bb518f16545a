#include "Zeilenliste.h"

#include <algorithm>
#include <utility>

void Zeilenliste::setSchluesselSpalte(int spalte)
{
    m_schluesselSpalte = spalte;
    m_schluesselGueltig = false;
}

qint64 Zeilenliste::schluesselVon(const Datenzeile& zeile) const
{
    if (m_schluesselSpalte < 0 || zeile.werte.istNull(size_t(m_schluesselSpalte)))
        return OhneSchluessel;
    return zeile.werte[size_t(m_schluesselSpalte)].toLongLong();
}

// While every row read is shown, row number and place among the rows read are one: a list of
// them would take memory in the measure of the rows for nothing.
void Zeilenliste::gezeigteEinzelnFuehren()
{
    if (!m_alleGezeigt)
        return;
    m_gezeigt.resize(m_alle.size());
    for (size_t i = 0; i < m_gezeigt.size(); ++i)
        m_gezeigt[i] = int(i);
    m_alleGezeigt = false;
}

int Zeilenliste::zeileVon(size_t index) const
{
    if (m_alleGezeigt)
        return index < m_alle.size() ? int(index) : -1;
    const auto stelle = std::lower_bound(m_gezeigt.begin(), m_gezeigt.end(), int(index));
    return stelle != m_gezeigt.end() && *stelle == int(index) ? int(stelle - m_gezeigt.begin()) : -1;
}

int Zeilenliste::gezeigtVor(size_t index) const
{
    if (m_alleGezeigt)
        return int(std::min(index, m_alle.size()));
    return int(std::lower_bound(m_gezeigt.begin(), m_gezeigt.end(), int(index)) - m_gezeigt.begin());
}

const std::vector<qint64>& Zeilenliste::schluessel()
{
    if (!m_schluesselGueltig) {
        m_schluessel.clear();
        m_schluessel.reserve(m_alle.size());
        for (const Datenzeile& zeile : m_alle)
            m_schluessel.push_back(schluesselVon(zeile));
        m_schluesselGueltig = true;
    }
    return m_schluessel;
}

void Zeilenliste::ersetzen(std::vector<Datenzeile>&& zeilen)
{
    m_alle = std::move(zeilen);
    m_gezeigt.clear();
    m_alleGezeigt = false;
    m_schluesselGueltig = false;
}

std::vector<Datenzeile> Zeilenliste::nehmen()
{
    std::vector<Datenzeile> zeilen = std::exchange(m_alle, {});
    m_gezeigt.clear();
    m_alleGezeigt = false;
    m_schluesselGueltig = false;
    return zeilen;
}

void Zeilenliste::zeigen(const std::function<bool(Datenzeile&)>& zeigen)
{
    m_gezeigt.clear();
    m_gezeigt.reserve(m_alle.size());
    for (size_t i = 0; i < m_alle.size(); ++i)
        if (zeigen(m_alle[i]))
            m_gezeigt.push_back(int(i));
    m_alleGezeigt = m_gezeigt.size() == m_alle.size() && !m_alle.empty();
    if (m_alleGezeigt)
        m_gezeigt.clear();
    m_gezeigt.shrink_to_fit();
}

void Zeilenliste::erneuert(size_t index)
{
    if (m_schluesselGueltig)
        m_schluessel[index] = schluesselVon(m_alle[index]);
}

int Zeilenliste::herausnehmen(size_t index)
{
    const int zeile = zeileVon(index);
    m_alle.erase(m_alle.begin() + qsizetype(index));
    if (m_schluesselGueltig)
        m_schluessel.erase(m_schluessel.begin() + qsizetype(index));
    if (m_alleGezeigt) {
        m_alleGezeigt = !m_alle.empty();
        return zeile;
    }
    const auto stelle = m_gezeigt.begin() + qsizetype(gezeigtVor(index));
    for (auto it = zeile >= 0 ? m_gezeigt.erase(stelle) : stelle; it != m_gezeigt.end(); ++it)
        --*it;
    return zeile;
}

int Zeilenliste::einfuegen(size_t index, Datenzeile&& zeile, bool zeigen)
{
    if (!zeigen)
        gezeigteEinzelnFuehren();
    if (m_schluesselGueltig)
        m_schluessel.insert(m_schluessel.begin() + qsizetype(index), schluesselVon(zeile));
    m_alle.insert(m_alle.begin() + qsizetype(index), std::move(zeile));
    if (m_alleGezeigt)
        return int(index);
    const auto stelle = m_gezeigt.begin() + qsizetype(gezeigtVor(index));
    for (auto it = stelle; it != m_gezeigt.end(); ++it)
        ++*it;
    if (!zeigen)
        return -1;
    const int nummer = int(stelle - m_gezeigt.begin());
    m_gezeigt.insert(stelle, int(index));
    return nummer;
}

void Zeilenliste::verbergen(int zeile)
{
    gezeigteEinzelnFuehren();
    m_gezeigt.erase(m_gezeigt.begin() + zeile);
}

void Zeilenliste::neueZeile(Datenzeile zeile, int stelle)
{
    // Before the row shown there, after the rows hidden before it.
    const size_t index = stelle < anzahlGezeigt() ? indexVon(stelle) : m_alle.size();
    einfuegen(index, std::move(zeile), true);
}

void Zeilenliste::neueZeileVerwerfen(int zeile)
{
    herausnehmen(indexVon(zeile));
}
