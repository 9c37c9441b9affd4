// Text crosses the tool in UTF-16, as the host's strings do: lengths and
// positions count UTF-16 code units. UTF-8 appears only at the edges (scene
// and result files, the terminal).
#pragma once

#include <string>
#include <string_view>

namespace tav::platform {

inline bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
inline char32_t joinSurrogates(char32_t high, char32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// Appends one code point, as a surrogate pair when it lies beyond the BMP.
void appendUtf16(std::u16string& out, char32_t codePoint);

// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string toUtf16(std::string_view text);

}  // namespace tav::platform
