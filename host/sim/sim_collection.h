// The rules all collections of the simulated host share: items are numbered
// from 1, and a scene may override the count a collection reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/sim/scene.h"

namespace tav::sim {

class SimCall;

// The count a collection reports: the scene's override, else what it holds.
std::int32_t reportedCount(const CountOverrides& overrides, std::string_view collection,
                           std::size_t held);

// The 0-based position of the item the call's first argument names; a host
// error when it is outside 1..held (an overridden count does not add items).
std::size_t itemPosition(const SimCall& call, std::size_t held);

}  // namespace tav::sim
