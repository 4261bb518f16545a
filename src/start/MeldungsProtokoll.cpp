#include "MeldungsProtokoll.h"

#include <cstdio>

void MeldungsProtokoll::zeigen(Meldung::Art, const QString& text)
{
    schreiben(text);
}

bool MeldungsProtokoll::bestaetigen(const QString& titel, const QString& frage)
{
    schreiben(titel + QStringLiteral(": ") + frage + QStringLiteral(" – Nein"));
    return false;
}

Meldung::Antwort MeldungsProtokoll::entscheiden(const QString& titel, const QString& frage)
{
    schreiben(titel + QStringLiteral(": ") + frage + QStringLiteral(" – Abbrechen"));
    return Meldung::Antwort::Abbrechen;
}

void MeldungsProtokoll::schreiben(const QString& text)
{
    QString zeile = text;
    zeile.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QChar(13), QChar(' ')).replace(QChar(10), QChar(' '));
    std::fprintf(stderr, "Meldung: %s\n", zeile.toUtf8().constData());
    std::fflush(stderr);
}
