#pragma once

#include <QColor>
#include <cstdint>

// Colour codes as the stored window designs and PROJEKT.INI hold them: 0x00BBGGRR for a plain
// colour (red in the low byte) or 0xFF0000nn for the system colour nn.
namespace Farbcode {

constexpr uint32_t SystemFlag = 0xFF000000u;

constexpr int32_t Fensterhintergrund = static_cast<int32_t>(SystemFlag | 5u);  // window background
constexpr int32_t Fenstertext = static_cast<int32_t>(SystemFlag | 8u);         // window text
constexpr int32_t Schaltflaeche = static_cast<int32_t>(SystemFlag | 15u);      // button face

// A plain colour code from its three parts.
constexpr int32_t aus(int rot, int gruen, int blau)
{
    return static_cast<int32_t>((static_cast<uint32_t>(blau & 0xFF) << 16) | (static_cast<uint32_t>(gruen & 0xFF) << 8)
                                | static_cast<uint32_t>(rot & 0xFF));
}

} // namespace Farbcode

// The colour a code stands for. System colours follow the application's palette; an unknown
// system colour number gives the window background.
QColor FarbeAusCode(int32_t code);

// The plain colour code of a colour (alpha is dropped).
int32_t CodeAusFarbe(const QColor& farbe);
