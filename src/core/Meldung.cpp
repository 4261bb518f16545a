#include "Meldung.h"

#include <QDebug>

namespace Meldung {
namespace {

Empfaenger* g_empfaenger = nullptr;

void melden(Art art, const QString& text)
{
    if (g_empfaenger)
        g_empfaenger->zeigen(art, text);
    else
        qWarning().noquote() << text;
}

} // namespace

Empfaenger* setzeEmpfaenger(Empfaenger* empfaenger)
{
    Empfaenger* vorher = g_empfaenger;
    g_empfaenger = empfaenger;
    return vorher;
}

void information(const QString& text) { melden(Art::Information, text); }
void warnung(const QString& text) { melden(Art::Warnung, text); }
void fehler(const QString& text) { melden(Art::Fehler, text); }

bool bestaetigen(const QString& titel, const QString& frage)
{
    if (g_empfaenger)
        return g_empfaenger->bestaetigen(titel, frage);
    qWarning().noquote() << titel << frage;
    return false;
}

Antwort entscheiden(const QString& titel, const QString& frage)
{
    if (g_empfaenger)
        return g_empfaenger->entscheiden(titel, frage);
    qWarning().noquote() << titel << frage;
    return Antwort::Abbrechen;
}

} // namespace Meldung
