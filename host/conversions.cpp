#include "host/conversions.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "host/error.h"

namespace tav::host {
namespace {

// Rounds half to even whatever the current floating-point rounding mode.
double roundHalfEven(double value) {
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff > 0.5) {
        return floor + 1.0;
    }
    if (diff < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <class Int>
Int roundTo(double value) {
    if (!std::isfinite(value)) {
        throw overflowError();
    }
    double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw overflowError();
    }
    return static_cast<Int>(rounded);
}

// The numeric value of anything that is a number; Booleans are -1 and 0.
double numericValue(const Value& value) {
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Value::Empty>) {
                return 0.0;
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? -1.0 : 0.0;
            } else if constexpr (std::is_arithmetic_v<T>) {
                return static_cast<double>(v);
            } else {
                throw typeMismatchError();
            }
        },
        value.storage());
}

}  // namespace

std::int16_t roundToInt16(double value) {
    return roundTo<std::int16_t>(value);
}
std::int32_t roundToInt32(double value) {
    return roundTo<std::int32_t>(value);
}

std::int16_t toInt16(const Value& value) {
    return roundToInt16(numericValue(value));
}

std::int32_t toInt32(const Value& value) {
    return roundToInt32(numericValue(value));
}

double toDouble(const Value& value) {
    return numericValue(value);
}

float toSingle(const Value& value) {
    if (const float* f = value.getIf<float>()) {
        return *f;
    }
    double d = numericValue(value);
    if (std::isfinite(d) && std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) {
        throw overflowError();
    }
    return static_cast<float>(d);
}

bool toBool(const Value& value) {
    return numericValue(value) != 0.0;
}

std::u16string toText(const Value& value) {
    if (const auto* s = value.getIf<std::u16string>()) {
        return *s;
    }
    if (value.isEmpty()) {
        return {};
    }
    if (const bool* b = value.getIf<bool>()) {
        return *b ? u"True" : u"False";
    }
    double d = numericValue(value);
    std::string digits;
    if (d == std::floor(d) && std::fabs(d) < 1e15) {
        digits = std::to_string(static_cast<long long>(d));
    } else {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", d);
        digits = buffer;
    }
    return std::u16string(digits.begin(), digits.end());
}

ObjectRef toObject(const Value& value) {
    if (const auto* ref = value.getIf<ObjectRef>()) {
        return *ref;
    }
    if (value.isEmpty()) {
        return {};
    }
    throw objectRequiredError();
}

}  // namespace tav::host
