#pragma once

#include "DatenGitter.h"

// The row band of every data grid: rows 0, 2, 4 … get a very light blue background
// (0x00FEF3ED) unless the cell is selected or empty; odd rows keep their column's colour.
// Matches the grid's cell-colouring hook, so a window binds it directly.
void Zeilenfarbe(TGitterSpalte* spalte, int32_t zeile, QColor& zellfarbe, QColor& gitterfarbe,
                 TZellZustaende zustand);

constexpr int32_t ZeilenfarbeCode = 0x00FEF3ED;
