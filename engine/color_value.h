#pragma once

#include <cstdint>

namespace tav::engine {

// red + 256 * green + 65536 * blue, each component 0..255; -1 is no colour.
using ColorValue = std::int32_t;
inline constexpr ColorValue noColor = -1;

}  // namespace tav::engine
