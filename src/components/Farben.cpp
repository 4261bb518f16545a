#include "Farben.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The system colour numbers a window design can name, mapped onto the palette roles that mean
// the same thing here.
QColor Systemfarbe(uint32_t nummer)
{
    const QPalette palette = QGuiApplication::palette();
    switch (nummer) {
    case 0:  return palette.color(QPalette::Dark);              // scroll bar
    case 1:  return palette.color(QPalette::Window);            // desktop
    case 4:  return palette.color(QPalette::Window);            // menu
    case 5:  return palette.color(QPalette::Base);              // window background
    case 6:  return palette.color(QPalette::Shadow);            // window frame
    case 7:  return palette.color(QPalette::Text);              // menu text
    case 8:  return palette.color(QPalette::Text);              // window text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);            // button face
    case 16: return palette.color(QPalette::Mid);               // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);             // button highlight
    case 24: return palette.color(QPalette::ToolTipBase);
    case 23: return palette.color(QPalette::ToolTipText);
    default: return palette.color(QPalette::Base);
    }
}

} // namespace

QColor FarbeAusCode(int32_t code)
{
    const auto wert = static_cast<uint32_t>(code);
    if ((wert & 0xFF000000u) == Farbcode::SystemFlag)
        return Systemfarbe(wert & 0xFFu);
    return QColor(static_cast<int>(wert & 0xFFu), static_cast<int>((wert >> 8) & 0xFFu),
                  static_cast<int>((wert >> 16) & 0xFFu));
}

int32_t CodeAusFarbe(const QColor& farbe)
{
    return Farbcode::aus(farbe.red(), farbe.green(), farbe.blue());
}
