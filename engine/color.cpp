#include "engine/color.h"

#include <algorithm>

#include "host/conversions.h"

namespace tav::engine {

std::int16_t scaleComponent(const host::Value& fraction) {
    if (const float* single = fraction.getIf<float>()) {
        return scaleComponent(*single);
    }
    return scaleComponent(host::toDouble(fraction));
}

std::int16_t scaleComponent(float fraction) {
    const float product = fraction * 255.0f;
    return host::roundToInt16(static_cast<double>(product));
}

std::int16_t scaleComponent(double fraction) {
    return host::roundToInt16(fraction * 255.0);
}

ColorValue combineComponents(std::int16_t red, std::int16_t green, std::int16_t blue) {
    auto clamp = [](std::int16_t component) -> ColorValue {
        return std::clamp<ColorValue>(component, 0, 255);
    };
    return clamp(red) + 256 * clamp(green) + 65536 * clamp(blue);
}

}  // namespace tav::engine
