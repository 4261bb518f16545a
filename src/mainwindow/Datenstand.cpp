#include "Datenstand.h"

void TDatenstand::gelesen(const QDateTime& zeitpunkt)
{
    m_stand = zeitpunkt;
    m_fehlgeschlagen = false;
}

bool TDatenstand::veraltet(const QDateTime& jetzt, qint64 intervallMs) const
{
    if (intervallMs <= 0 || !m_stand.isValid())
        return false;
    return m_stand.msecsTo(jetzt) >= VeraltetNachIntervallen * intervallMs;
}

QString TDatenstand::dauerSeit(qint64 sekunden)
{
    const qint64 minuten = std::max<qint64>(1, sekunden / 60);
    if (minuten < 120)
        return minuten == 1 ? QStringLiteral("1 Minute") : QStringLiteral("%1 Minuten").arg(minuten);
    const qint64 stunden = minuten / 60;
    if (stunden < 48)
        return QStringLiteral("%1 Stunden").arg(stunden);
    return QStringLiteral("%1 Tagen").arg(stunden / 24);
}

QString TDatenstand::text(const QDateTime& jetzt, qint64 intervallMs) const
{
    // A reading of another day carries its date, so an old morning is not taken for today's.
    const QString format = m_stand.date() == jetzt.date() ? QStringLiteral("HH:mm") : QStringLiteral("dd.MM.yyyy HH:mm");
    QString zeile = QStringLiteral("Stand: ") + m_stand.toString(format);
    if (veraltet(jetzt, intervallMs))
        zeile += QStringLiteral(" – veraltet, seit ") + dauerSeit(m_stand.secsTo(jetzt)) + QStringLiteral(" nicht aktualisiert");
    else if (m_fehlgeschlagen)
        zeile += QStringLiteral(" – Aktualisierung fehlgeschlagen");
    return zeile;
}
