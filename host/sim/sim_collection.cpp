#include "host/sim/sim_collection.h"

#include <string>

#include "host/sim/sim_call.h"
#include "host/sim/sim_errors.h"
#include "platform/utf.h"

namespace tav::sim {

std::int32_t reportedCount(const CountOverrides& overrides, std::string_view collection,
                           std::size_t held) {
    return overrides.find(collection).value_or(static_cast<std::int32_t>(held));
}

std::size_t itemPosition(const SimCall& call, std::size_t held) {
    std::int32_t index = call.longArgument(0);
    if (index >= 1 && static_cast<std::size_t>(index) <= held) {
        return static_cast<std::size_t>(index) - 1;
    }
    std::string range = held == 0 ? "the collection is empty" : "1 to " + std::to_string(held);
    throw hostError(
        platform::toUtf16("Index " + std::to_string(index) + " is out of range (" + range + ")"));
}

}  // namespace tav::sim
