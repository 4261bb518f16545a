#pragma once

#include <cstdint>

// Layout of one grid column as it is stored: its place, width, whether it shows, and its
// colours. The grid reports and applies it; the settings keep one for each public-view column.
struct TSpaltenLayout
{
    int32_t Position = 0;   // place from 0 at the left
    int32_t Width = 0;      // pixels
    bool Visible = false;
    int32_t Color = 0;      // colour code 0x00BBGGRR or 0xFF0000nn (system colour nn)
    int32_t Fontcolor = 0;

    friend bool operator==(const TSpaltenLayout&, const TSpaltenLayout&) = default;
};
