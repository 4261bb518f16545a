#pragma once

#include "Meldung.h"

// Writes the messages of the program to standard error, one line each, for runs nobody
// watches: a message box there would wait for ever. Questions are answered "Nein".
class MeldungsProtokoll : public Meldung::Empfaenger
{
public:
    void zeigen(Meldung::Art art, const QString& text) override;
    bool bestaetigen(const QString& titel, const QString& frage) override;
    Meldung::Antwort entscheiden(const QString& titel, const QString& frage) override;

    // The line of a message: "Meldung: " and the text with its line breaks as spaces.
    static void schreiben(const QString& text);
};
