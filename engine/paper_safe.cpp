#include "engine/paper_safe.h"

#include <array>
#include <cmath>

namespace tav::engine {
namespace {

// Contrasts are compared with this much slack so that the ratio's own bounds
// hold for white (exactly 1) and black (exactly 21) despite rounding in the
// luminance sum.
constexpr double slack = 1e-9;

double linearComponent(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::array<int, 3> componentsOf(ColorValue color) {
    return {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
}

ColorValue colorOf(const std::array<int, 3>& rgb) {
    return rgb[0] + 256 * rgb[1] + 65536 * rgb[2];
}

double contrastOf(const std::array<int, 3>& rgb) {
    const double luminance = 0.2126 * linearComponent(rgb[0]) + 0.7152 * linearComponent(rgb[1]) +
                             0.0722 * linearComponent(rgb[2]);
    return 1.05 / (luminance + 0.05);
}

// round(v * s / 255) with halves rounded up, in integers.
int scaled(int value, int s) {
    return (2 * value * s + 255) / 510;
}

}  // namespace

double contrastAgainstWhite(ColorValue color) {
    return contrastOf(componentsOf(color));
}

ColorValue paperSafeColor(ColorValue color, double ratio) {
    const std::array<int, 3> rgb = componentsOf(color);
    if (contrastOf(rgb) >= ratio - slack) {
        return color;
    }
    for (int s = 254; s >= 0; --s) {
        const std::array<int, 3> darker{scaled(rgb[0], s), scaled(rgb[1], s), scaled(rgb[2], s)};
        if (contrastOf(darker) >= ratio - slack) {
            return colorOf(darker);
        }
    }
    return 0;
}

}  // namespace tav::engine
