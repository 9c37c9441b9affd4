// The errors the simulated host raises.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/error.h"

namespace tav::sim {

// The lookup of a running object failing (MK_E_UNAVAILABLE).
inline constexpr std::int32_t notRunningNumber = -2147221021;

// A host error with the generic failure number.
host::AutomationError hostError(std::u16string description);
// A line style name the document does not hold.
host::AutomationError noLineStyleNamed(std::u16string_view name);
// A fault the scene injects: "Simulated failure: KEY".
host::AutomationError simulatedFailure(std::string_view key);
// The call the scene's failCall names: "Simulated failure: call N".
host::AutomationError failedCall(std::int32_t number);

}  // namespace tav::sim
