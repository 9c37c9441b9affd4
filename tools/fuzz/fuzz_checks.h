// What the text-file fuzzers hold every input to, shared by both: a finding
// aborts with what was wrong, and a refusal is one line naming its line.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/cli/text_lines.h"

namespace tav::fuzz {

[[noreturn]] inline void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void checkRefusal(const cli::TextFileError& refusal) {
    const std::string_view message = refusal.what();
    if (refusal.line() < 1 || !message.starts_with("line ") ||
        message.find_first_of("\r\n") != std::string_view::npos) {
        fail("a refusal that names no line or is not one line", message);
    }
}

}  // namespace tav::fuzz
