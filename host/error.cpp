#include "host/error.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "platform/utf.h"

namespace tav::host {

AutomationError::AutomationError(std::int32_t number, std::u16string description)
    : std::runtime_error("automation error " + std::to_string(number) + ": " +
                         platform::toUtf8(description)),
      number_(number),
      description_(std::move(description)) {}

std::string hexNumberText(std::int32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

AutomationError overflowError() {
    return {runtime_error_number::overflow, u"Overflow"};
}

AutomationError typeMismatchError() {
    return {runtime_error_number::typeMismatch, u"Type mismatch"};
}

AutomationError objectNotSetError() {
    return {runtime_error_number::objectNotSet, u"Object variable not set"};
}

AutomationError objectRequiredError() {
    return {runtime_error_number::objectRequired, u"Object required"};
}

AutomationError memberNotSupportedError() {
    return {runtime_error_number::memberNotSupported,
            u"Object doesn't support this property or method"};
}

bool isHostGoneNumber(std::int32_t number) {
    // As HRESULTs: RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, RPC_E_DISCONNECTED,
    // CO_E_OBJNOTCONNECTED, RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED and
    // RPC_S_CALL_FAILED_DNE.
    constexpr std::array<std::uint32_t, 7> goneNumbers{
        0x80010007u, 0x80010012u, 0x80010108u, 0x800401FDu, 0x800706BAu, 0x800706BEu, 0x800706BFu};
    const auto asUnsigned = static_cast<std::uint32_t>(number);
    return std::find(goneNumbers.begin(), goneNumbers.end(), asUnsigned) != goneNumbers.end();
}

}  // namespace tav::host
