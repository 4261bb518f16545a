#include "Bildliste.h"

#include <QString>

// The resource file lives in a static library; registering it on first use keeps the linker
// from dropping it.
static void ressourcenEinbinden()
{
    static const bool einmal = [] {
        Q_INIT_RESOURCE(components);
        return true;
    }();
    Q_UNUSED(einmal);
}

namespace Bildliste {

QPixmap bild(int index)
{
    if (index < 0 || index >= Anzahl)
        return {};
    ressourcenEinbinden();
    return QPixmap(QStringLiteral(":/components/icons/bild%1.png").arg(index, 2, 10, QLatin1Char('0')));
}

QIcon symbol(int index)
{
    const QPixmap p = bild(index);
    return p.isNull() ? QIcon() : QIcon(p);
}

} // namespace Bildliste
