#include "MeldungsRecorder.h"

#include <QStringList>

MeldungsRecorder::MeldungsRecorder()
    : m_vorher(Meldung::setzeEmpfaenger(this))
{
}

MeldungsRecorder::~MeldungsRecorder()
{
    Meldung::setzeEmpfaenger(m_vorher);
}

void MeldungsRecorder::zeigen(Meldung::Art art, const QString& text)
{
    meldungen.append({art, text});
}

bool MeldungsRecorder::bestaetigen(const QString& titel, const QString& frage)
{
    fragen.append({titel, frage});
    return antwort;
}

Meldung::Antwort MeldungsRecorder::entscheiden(const QString& titel, const QString& frage)
{
    fragen.append({titel, frage});
    return dreifachAntwort;
}

QStringList MeldungsRecorder::texte() const
{
    QStringList ergebnis;
    for (const auto& m : meldungen)
        ergebnis << m.second;
    return ergebnis;
}
