#pragma once

#include "Meldung.h"

#include <QList>
#include <QPair>

#include <functional>

// Holds the messages of start-up until the start view is known. A wall screen that starts in
// the public view runs unattended: a box there waits for a click nobody gives. So a message that
// does not stop the start (information, warning) goes to the status line and to the log instead;
// errors still show their box. Otherwise every message is shown as before, in its order.
// Installs itself as the receiver for its lifetime.
class TStartMeldungen : public Meldung::Empfaenger
{
public:
    TStartMeldungen();
    ~TStartMeldungen() override;

    void zeigen(Meldung::Art art, const QString& text) override;
    // Questions wait for nobody's answer at start-up: they go on at once.
    bool bestaetigen(const QString& titel, const QString& frage) override;
    Meldung::Antwort entscheiden(const QString& titel, const QString& frage) override;

    // Gives the receiver back and hands the held messages on. `hinweis` receives the texts that
    // go to the status line (may be empty when there is no window).
    void weitergeben(bool unbeaufsichtigt, const std::function<void(const QString&)>& hinweis);

private:
    void zurueckgeben();

    Meldung::Empfaenger* m_vorher;
    bool m_installiert = true;
    QList<QPair<Meldung::Art, QString>> m_gehalten;
};
