#include "host/error.h"

#include <cstdio>
#include <utility>

#include "host/utf.h"

namespace tav::host {

AutomationError::AutomationError(std::int32_t number, std::u16string description)
    : std::runtime_error("automation error " + std::to_string(number) + ": " + toUtf8(description)),
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

}  // namespace tav::host
