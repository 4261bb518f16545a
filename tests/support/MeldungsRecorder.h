#pragma once

#include "Meldung.h"

#include <QList>
#include <QPair>
#include <QString>

// Records every message a module shows instead of showing a box; installs itself for its
// lifetime. Confirmations are answered with the preset answer.
class MeldungsRecorder : public Meldung::Empfaenger
{
public:
    MeldungsRecorder();
    ~MeldungsRecorder() override;

    void zeigen(Meldung::Art art, const QString& text) override;
    bool bestaetigen(const QString& titel, const QString& frage) override;
    Meldung::Antwort entscheiden(const QString& titel, const QString& frage) override;

    QList<QPair<Meldung::Art, QString>> meldungen;
    QList<QPair<QString, QString>> fragen;
    bool antwort = true;
    Meldung::Antwort dreifachAntwort = Meldung::Antwort::Ja;

    QStringList texte() const;

private:
    Meldung::Empfaenger* m_vorher;
};
