// One event as the result file shows it, written straight into the text of
// the file (json_text.h): a window event as {"ui": KIND, ...}, a host event
// as {"host": "put"|"call", ...}.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "testbed/result_file/outcome.h"

namespace tav::result {

// A progress bar's number as the file writes it, in events and in the
// window's part alike: a JSON integer.
std::int64_t progressNumber(float value);

// `event` written `depth` levels deep; a host event with its call number when
// `call` is given.
void appendEvent(std::string& out, const Event& event, std::size_t depth,
                 std::optional<std::int32_t> call);

}  // namespace tav::result
