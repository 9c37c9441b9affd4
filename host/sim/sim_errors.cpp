#include "host/sim/sim_errors.h"

#include "platform/utf.h"

namespace tav::sim {

host::AutomationError hostError(std::u16string description) {
    return {host::hostFailureNumber, std::move(description)};
}

host::AutomationError noLineStyleNamed(std::u16string_view name) {
    return hostError(u"No line style named \"" + std::u16string(name) + u"\"");
}

host::AutomationError simulatedFailure(std::string_view key) {
    return hostError(u"Simulated failure: " + platform::toUtf16(key));
}

host::AutomationError failedCall(std::int32_t number) {
    return simulatedFailure("call " + std::to_string(number));
}

}  // namespace tav::sim
