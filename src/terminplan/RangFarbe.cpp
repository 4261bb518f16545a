#include "RangFarbe.h"

#include "GitterDelegate.h"

#include <algorithm>

QColor RangFarbe(const QVariant& rang, int hoechsterRang)
{
    bool zahl = false;
    const int wert = rang.toInt(&zahl);
    if (rang.isNull() || !zahl)
        return QColor(170, 170, 170);
    const double prozent = 100.0 * std::clamp(wert, 0, std::max(1, hoechsterRang)) / std::max(1, hoechsterRang);
    // The bounds the project grid's progress bars use.
    return TGitterDelegate::fortschrittFarbe(prozent, 90, 50);
}
