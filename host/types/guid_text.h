// Interface and type ids as text, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// the way the registry and the probe's report write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/automation_ids.h"

namespace tav::hosttypes {

std::string guidText(const host::InterfaceId& id);
// With or without the braces; nothing for text that is no id.
std::optional<host::InterfaceId> parseGuid(std::string_view text);

}  // namespace tav::hosttypes
