// Colour components as the host reports them (fractions 0..1), scaled to
// 0..255 and combined into a ColorValue.
#pragma once

#include <cstdint>

#include "engine/color_value.h"
#include "host/value.h"

namespace tav::engine {

// A component times 255, rounded ties to even into 16 bits. The product is
// formed in the precision the host returned: a single-precision value is
// multiplied in single precision. Raises "Overflow" outside 16 bits.
std::int16_t scaleComponent(const host::Value& fraction);
std::int16_t scaleComponent(float fraction);
std::int16_t scaleComponent(double fraction);

// red + 256 * green + 65536 * blue, each component first clamped to 0..255 so
// that the result is always a real colour.
ColorValue combineComponents(std::int16_t red, std::int16_t green, std::int16_t blue);

}  // namespace tav::engine
