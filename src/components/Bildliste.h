#pragma once

#include <QIcon>
#include <QPixmap>

// The program's command pictures: 24 pictures of 16 × 16 pixels addressed by image index.
namespace Bildliste {

constexpr int Anzahl = 24;

// The picture of an image index; a null picture outside 0 … 23 (a command without picture).
QPixmap bild(int index);
QIcon symbol(int index);

} // namespace Bildliste
