#include "Spaltenauswahl.h"

#include "SqlText.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QRegularExpression& alleSpalten()
{
    static const QRegularExpression muster(QStringLiteral("^\\s*select\\s+\\*\\s+from\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return muster;
}

} // namespace

bool Spaltenauswahl::liestAlleSpalten(const QString& text)
{
    return alleSpalten().match(text).hasMatch();
}

void Spaltenauswahl::bilden(const QStringList& namen, int anzahl, const std::function<int(const QString&)>& finden,
                            const std::vector<int>& immer, bool moeglich)
{
    m_gehalten.clear();
    if (namen.isEmpty() || !moeglich)
        return;
    m_gehalten.assign(size_t(anzahl), false);
    const auto halten = [&](int spalte) {
        if (spalte >= 0 && spalte < anzahl)
            m_gehalten[size_t(spalte)] = true;
    };
    for (const QString& name : namen)
        halten(finden(name));
    for (const int spalte : immer)
        halten(spalte);
}

QString Spaltenauswahl::leseText(const QString& text, const std::vector<QString>& herkunft) const
{
    const QRegularExpressionMatch treffer = m_gehalten.empty() ? QRegularExpressionMatch() : alleSpalten().match(text);
    if (!treffer.hasMatch())
        return text;
    QStringList spalten;
    for (size_t c = 0; c < m_gehalten.size() && c < herkunft.size(); ++c)
        if (m_gehalten[c])
            spalten << SqlText::klammern(herkunft[c]);
    return QStringLiteral("SELECT ") + spalten.join(QStringLiteral(", ")) + QStringLiteral(" FROM")
        + text.mid(treffer.capturedEnd());
}

int Spaltenauswahl::anzahlGeliefert(int anzahl) const
{
    return m_gehalten.empty() ? anzahl : int(std::count(m_gehalten.begin(), m_gehalten.end(), true));
}
