// Text rules of the run. Strings are UTF-16, as the host's are; lengths and
// positions count UTF-16 code units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tav::engine {

// Lower-cases each character with Unicode's simple lowercase mapping, one
// character at a time (Ä→ä, Σ→σ, İ→i; ς stays ς). Comparing two lower-cased
// strings exactly is the run's comparison without regard to case.
std::u16string lowerCase(std::u16string_view text);
// The same, appended to `out`.
void appendLowerCase(std::u16string& out, std::u16string_view text);

// Plain decimal digits, with a minus sign for negative numbers.
std::u16string decimalText(std::int64_t number);

// The last `count` code units, or the whole text when it is shorter.
std::u16string_view lastUnits(std::u16string_view text, std::size_t count);

}  // namespace tav::engine
