#include "MasterVerknuepfung.h"

#include "SqlText.h"

#include <QStringList>

std::optional<MasterVerknuepfung> MasterVerknuepfung::lesen(const QString& text)
{
    MasterVerknuepfung link;
    link.m_text = text;
    if (text.trimmed().isEmpty())
        return link;
    const QStringList paare = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& paar : paare) {
        if (paar.trimmed().isEmpty())
            continue;  // "a -> b;" ends with an empty place, not a broken pair
        const qsizetype pfeil = paar.indexOf(QLatin1String("->"));
        Paar p;
        p.detail = (pfeil < 0 ? paar : paar.left(pfeil)).trimmed();
        p.master = (pfeil < 0 ? paar : paar.mid(pfeil + 2)).trimmed();
        if (p.detail.isEmpty() || p.master.isEmpty())
            return std::nullopt;
        link.m_paare.append(p);
    }
    return link;
}

QString MasterVerknuepfung::bedingung() const
{
    QStringList teile;
    for (const Paar& p : m_paare)
        teile << SqlText::klammern(p.detail) + QStringLiteral(" = ?");
    return teile.join(QStringLiteral(" AND "));
}
