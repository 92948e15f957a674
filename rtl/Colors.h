// TColor values: $00BBGGRR is an RGB colour (red in the low byte); $FF000000 plus an
// index names a system colour, resolved through the platform's colour table.
#pragma once

#include <cstdint>

namespace mlt {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor cl3DLight = clSystemColor | 22;

// RGB value of the system colour with this index (GetSysColor on Windows, the
// Windows default scheme elsewhere); 0 for an unknown index.
std::uint32_t GetSysColor(int index);

// A system colour (negative value) resolved to RGB; an RGB colour unchanged.
inline std::uint32_t ColorToRGB(TColor color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<std::uint32_t>(color);
}

}  // namespace mlt
