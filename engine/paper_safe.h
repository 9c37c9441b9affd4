// Part colours made dark enough to read on white paper: a colour whose
// contrast against white (WCAG 2's contrast ratio) is below a ratio is
// scaled towards black until it reaches it.
#pragma once

#include "engine/color_value.h"

namespace tav::engine {

inline constexpr double defaultPaperSafeRatio = 3.0;
inline constexpr double lowestPaperSafeRatio = 1.0;
inline constexpr double highestPaperSafeRatio = 21.0;

// 1 (white) to 21 (black).
double contrastAgainstWhite(ColorValue color);

// `color` itself when its contrast reaches `ratio`; else each component
// scaled by s/255 (rounded, halves up) for the largest s in 255..0 whose
// colour reaches it. Black reaches every ratio up to 21.
ColorValue paperSafeColor(ColorValue color, double ratio);

}  // namespace tav::engine
