#include "StartMeldungen.h"

#include "MeldungsProtokoll.h"

#include <utility>

TStartMeldungen::TStartMeldungen()
    : m_vorher(Meldung::setzeEmpfaenger(this))
{
}

TStartMeldungen::~TStartMeldungen()
{
    // Not handed on (an error left start-up early): shown as they came, nothing is lost.
    if (m_installiert)
        weitergeben(false, {});
}

void TStartMeldungen::zurueckgeben()
{
    if (m_installiert) {
        Meldung::setzeEmpfaenger(m_vorher);
        m_installiert = false;
    }
}

void TStartMeldungen::zeigen(Meldung::Art art, const QString& text)
{
    m_gehalten.append({art, text});
}

bool TStartMeldungen::bestaetigen(const QString& titel, const QString& frage)
{
    return m_vorher ? m_vorher->bestaetigen(titel, frage) : false;
}

Meldung::Antwort TStartMeldungen::entscheiden(const QString& titel, const QString& frage)
{
    return m_vorher ? m_vorher->entscheiden(titel, frage) : Meldung::Antwort::Abbrechen;
}

void TStartMeldungen::weitergeben(bool unbeaufsichtigt, const std::function<void(const QString&)>& hinweis)
{
    zurueckgeben();
    const auto gehalten = std::exchange(m_gehalten, {});
    for (const auto& [art, text] : gehalten) {
        if (unbeaufsichtigt && art != Meldung::Art::Fehler) {
            MeldungsProtokoll::schreiben(text);
            if (hinweis)
                hinweis(text);
            continue;
        }
        switch (art) {
        case Meldung::Art::Information:
            Meldung::information(text);
            break;
        case Meldung::Art::Warnung:
            Meldung::warnung(text);
            break;
        case Meldung::Art::Fehler:
            Meldung::fehler(text);
            break;
        }
    }
}
