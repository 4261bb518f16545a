#pragma once

#include <QString>

// Messages to the user from modules that have no window code. The windows layer installs a
// receiver that shows message boxes; tests install one that records. Without a receiver the
// texts go to the diagnostic output and confirmations are answered "no".
namespace Meldung {

enum class Art { Information, Warnung, Fehler };

// The answer to a question with "Ja", "Nein" and "Abbrechen" (e.g. "Änderungen speichern?").
enum class Antwort { Ja, Nein, Abbrechen };

class Empfaenger
{
public:
    virtual ~Empfaenger() = default;
    virtual void zeigen(Art art, const QString& text) = 0;
    // A yes/no question; true means "Ja".
    virtual bool bestaetigen(const QString& titel, const QString& frage) = 0;
    // A question with "Ja", "Nein" and "Abbrechen".
    virtual Antwort entscheiden(const QString& titel, const QString& frage) = 0;
};

// Installs the receiver (not owned); nullptr removes it. Returns the one installed before.
Empfaenger* setzeEmpfaenger(Empfaenger* empfaenger);

void information(const QString& text);
void warnung(const QString& text);
void fehler(const QString& text);
bool bestaetigen(const QString& titel, const QString& frage);
// Without a receiver the answer is "Abbrechen": nothing is decided for the user.
Antwort entscheiden(const QString& titel, const QString& frage);

} // namespace Meldung
