// Text from a scene, from the command line or from a refusal, made safe to
// print on a terminal: what would act on the terminal instead of showing
// (control characters, escape sequences, line separators, direction
// overrides) and bytes that are not UTF-8 are written as visible escapes, so
// that a name can neither move the cursor nor forge a line of the report.
#pragma once

#include <string>
#include <string_view>

namespace tav::session {

// Printable text passes unchanged. A control character or DEL becomes
// "\x1B"; another code point that would act instead of showing becomes
// "\u{202E}"; a byte that is not part of valid UTF-8 becomes "\xFF".
std::string printable(std::string_view utf8);
std::string printable(std::u16string_view utf16);

}  // namespace tav::session
