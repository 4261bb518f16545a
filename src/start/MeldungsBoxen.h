#pragma once

#include "Meldung.h"

// Shows the messages of the modules without windows as message boxes.
class MeldungsBoxen : public Meldung::Empfaenger
{
public:
    void zeigen(Meldung::Art art, const QString& text) override;
    bool bestaetigen(const QString& titel, const QString& frage) override;
    Meldung::Antwort entscheiden(const QString& titel, const QString& frage) override;
};
