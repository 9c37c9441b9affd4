#include "engine/error_text.h"

#include "engine/text.h"

namespace tav::engine {

std::u16string errorText(const host::AutomationError& error) {
    return u"error " + decimalText(error.number()) + u" \"" + error.description() + u"\"";
}

}  // namespace tav::engine
