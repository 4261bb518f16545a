#include "Nachlesefenster.h"

const Zeilenwerte* Nachlesefenster::finden(qint64 schluessel, quint64 stand) const
{
    if (stand != m_stand)
        return nullptr;
    const auto it = m_zeilen.find(schluessel);
    return it == m_zeilen.end() ? nullptr : &it->second;
}

void Nachlesefenster::ablegen(qint64 schluessel, Zeilenwerte&& werte, quint64 stand)
{
    if (stand != m_stand || !m_zeilen.count(schluessel))
        platzSchaffen(1, stand);
    m_zeilen.insert_or_assign(schluessel, std::move(werte));
}

void Nachlesefenster::platzSchaffen(size_t anzahl, quint64 stand)
{
    // Starting over when full costs the rows in view one statement more now and then, and
    // needs no bookkeeping of which row was looked at last.
    if (stand != m_stand || m_zeilen.size() + anzahl > m_hoechstens) {
        m_zeilen.clear();
        m_stand = stand;
    }
}

void Nachlesefenster::fehlgeschlagen(quint64 stand, const QString& meldung)
{
    m_fehlerStand = stand;
    m_fehler = meldung;
    m_seitFehler.start();
}

QString Nachlesefenster::fehlerInPause(quint64 stand) const
{
    if (m_fehler.isEmpty() || stand != m_fehlerStand || !m_seitFehler.isValid() || m_seitFehler.elapsed() >= m_pauseMs)
        return QString();
    return m_fehler;
}
