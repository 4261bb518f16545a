#include "Zeilenfarbe.h"

void Zeilenfarbe(TGitterSpalte* spalte, int32_t zeile, QColor& zellfarbe, QColor& gitterfarbe,
                 TZellZustaende zustand)
{
    Q_UNUSED(spalte);
    Q_UNUSED(gitterfarbe);
    if (zustand.testFlag(TZellZustand::Markiert) || zustand.testFlag(TZellZustand::Leer))
        return;
    if (zeile % 2 == 0)
        zellfarbe = FarbeAusCode(ZeilenfarbeCode);
}
