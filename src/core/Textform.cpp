#include "Textform.h"

#include <QDateTime>

namespace Textform {

std::optional<bool> jaNein(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("wahr") || t == QLatin1String("ja") || t == QLatin1String("yes")
        || t == QLatin1String("1") || t == QLatin1String("-1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("falsch") || t == QLatin1String("nein") || t == QLatin1String("no")
        || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

bool istJa(const QVariant& wert)
{
    if (!wert.isValid() || wert.isNull())
        return false;
    if (wert.typeId() == QMetaType::QString)
        return jaNein(wert.toString()).value_or(false);
    return wert.toBool();
}

QString datum(const QDate& tag)
{
    return tag.toString(QStringLiteral("dd.MM.yyyy"));
}

QString datum(const QVariant& wert)
{
    if (wert.isNull())
        return QString();
    switch (wert.typeId()) {
    case QMetaType::QDate:
        return datum(wert.toDate());
    case QMetaType::QDateTime: {
        const QDateTime zeit = wert.toDateTime();
        if (zeit.time() == QTime(0, 0))
            return datum(zeit.date());
        return datum(zeit.date()) + zeit.toString(QStringLiteral(" HH:mm:ss"));
    }
    default:
        return QString();
    }
}

} // namespace Textform
