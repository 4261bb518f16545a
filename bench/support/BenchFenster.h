#pragma once

#include <QApplication>
#include <QPixmap>
#include <QWidget>

// For the benchmarks that time windows.
namespace BenchDaten {

/// Until the picture is on screen: pending events, then a full paint of the window.
inline void bildFertig(QWidget& fenster)
{
    QApplication::processEvents();
    const QPixmap bild = fenster.grab();
    Q_UNUSED(bild);
}

} // namespace BenchDaten
