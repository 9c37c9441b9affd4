// Twips (1/1440 inch) in pixels at a window's DPI. Positions and sizes of the
// tool's windows are given in twips so that they keep their size on screens
// of any density.
#pragma once

#include <cstdint>

namespace tav::app::win {

inline constexpr int twipsPerInch = 1440;

// Rounds to the nearest pixel, halves away from zero, as MulDiv does.
constexpr int twipsToPixels(int twips, int dpi) {
    const std::int64_t scaled = static_cast<std::int64_t>(twips) * dpi;
    const std::int64_t half = twipsPerInch / 2;
    return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / twipsPerInch);
}

// A control's place in its window's client area, in twips.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

}  // namespace tav::app::win
