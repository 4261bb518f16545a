#include "Volltextsuche.h"

#include "ChmDatei.h"
#include "Zeichensatz.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

void Volltextsuche::einlesen()
{
    static const QRegularExpression titelMuster(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                                QRegularExpression::CaseInsensitiveOption
                                                    | QRegularExpression::DotMatchesEverythingOption);
    m_eingelesen = true;
    for (const QString& name : m_datei.dateien()) {
        if (!name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
            && !name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            continue;
        const QByteArray bytes = m_datei.lesen(name);
        QByteArray zeichensatz = Zeichensatz::ausSeite(bytes);
        if (zeichensatz.isEmpty())
            zeichensatz = m_datei.zeichensatz();
        const QString html = Zeichensatz::dekodieren(bytes, zeichensatz);
        QString titel = QTextDocumentFragment::fromHtml(titelMuster.match(html).captured(1)).toPlainText().simplified();
        if (titel.isEmpty())
            titel = name.section(QLatin1Char('/'), -1);
        m_seiten.append({titel, name, QTextDocumentFragment::fromHtml(html).toPlainText().toCaseFolded()});
    }
}

QList<Volltextsuche::Treffer> Volltextsuche::suchen(const QString& text)
{
    const QStringList woerter = text.toCaseFolded().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (woerter.isEmpty())
        return {};
    if (!m_eingelesen)
        einlesen();
    QList<Treffer> ergebnis;
    for (const Seite& seite : std::as_const(m_seiten)) {
        const bool alle = std::all_of(woerter.cbegin(), woerter.cend(),
                                      [&](const QString& w) { return seite.text.contains(w) || seite.titel.toCaseFolded().contains(w); });
        if (alle)
            ergebnis.append({seite.titel, seite.name});
    }
    return ergebnis;
}
