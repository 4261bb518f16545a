#pragma once

#include <QColor>
#include <QPixmap>

// The pictures of the rank glyphs: a star, filled for a reached rank and hollow otherwise,
// drawn by the program at any size (16 × 16 in the task grid, 30 × 30 on the wall screen).
namespace RangGlyphe {

// Fill of the filled star and of the hollow one; tests look for them.
const QColor FuellungVoll(255, 184, 0);
const QColor FuellungLeer(232, 232, 232);
// The background of an opaque glyph square.
const QColor Grund(255, 255, 255);

QPixmap bild(bool gefuellt, int groesse);

} // namespace RangGlyphe
