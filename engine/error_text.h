// How a host error reads on the command-line tool's lines:
// `error -2147352567 "The line style is in use"`.
#pragma once

#include <string>

#include "host/error.h"

namespace tav::engine {

std::u16string errorText(const host::AutomationError& error);

}  // namespace tav::engine
