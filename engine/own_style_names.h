// Telling the line styles the tool makes ("<ColorValue>_visible", "_hidden",
// "_tangent") from every other style of a draft. Only those are ever reset
// or removed, so the test is exact: decimal digits of a value 0..16777215,
// then one of the three suffixes, letter case included.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/color_value.h"

namespace tav::engine {

struct OwnStyleName {
    ColorValue color = 0;
    std::size_t kind = 0;  // index into edgeKinds
};

std::optional<OwnStyleName> parseOwnStyleName(std::u16string_view name);

inline bool isOwnStyleName(std::u16string_view name) {
    return parseOwnStyleName(name).has_value();
}

}  // namespace tav::engine
