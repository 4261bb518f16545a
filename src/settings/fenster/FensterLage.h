#pragma once

#include <QRect>
#include <QString>

class QWidget;

// A window's place on the screen as the settings keep it: the outer rectangle, frame and title
// bar included (Top, Left, Width, Height of the window name in section "Fenster").
//
// Every window with remembered geometry calls FensterLageAnwenden with its window name when it
// is shown and FensterLageMerken when it closes, whatever closes it. Restoring and storing use
// the same rectangle, so a window opened and closed untouched stores what it read, under a
// window manager with frames as well as without one.

// Reads the window name's four keys (FensterLesen) and places the window's outer rectangle
// there. A stored place whose title bar would lie on no screen is moved back onto the screen
// nearest to it. A size never stored (0) leaves the window's size alone. Other names do nothing.
void FensterLageAnwenden(QWidget* fenster, const QString& FensterName);

// Copies the window's outer rectangle into the record and writes it (FensterSchreiben). Other
// names do nothing.
void FensterLageMerken(QWidget* fenster, const QString& FensterName);

// The window's outer rectangle as FensterLageMerken stores it.
QRect AeussereFensterLage(const QWidget* fenster);

// Where a window of this outer rectangle is placed: unchanged when a piece of its title bar
// (titelhoehe pixels high) lies on one of the screens' available areas, otherwise moved onto the
// screen nearest to it, as far as it fits.
QRect AufBildschirm(const QRect& aussen, int titelhoehe, const QList<QRect>& bildschirme);
