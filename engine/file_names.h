// File-name helpers for the names the host gives: full paths with
// backslashes, as Windows writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tav::engine {

// 1-based position of the last `ch` in `text`, compared exactly; 0 when there
// is none. Positions are 16-bit: a text longer than 32767 code units raises
// "Overflow".
std::int16_t findLast(std::u16string_view text, char16_t ch);

// The part after the last backslash: the text itself without one, the empty
// string when it ends with one. Case and all other characters are kept.
std::u16string getFileName(std::u16string_view path);

}  // namespace tav::engine
