#include "platform/utf.h"

#include <cstdint>
#include <iterator>

#include <utf8.h>

namespace tav::platform {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

}  // namespace

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::string toUtf8(std::u16string_view text) {
    // utfcpp refuses unpaired surrogates with an exception; the host's
    // strings may hold them, so each becomes U+FFFD here and utfcpp encodes
    // the code points.
    std::string out;
    out.reserve(text.size());
    auto sink = std::back_inserter(out);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        char32_t codePoint = unit;
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            codePoint = joinSurrogates(unit, text[++i]);
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            codePoint = replacementCharacter;
        }
        sink = utf8::append(static_cast<std::uint32_t>(codePoint), sink);
    }
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    if (utf8::is_valid(text.begin(), text.end())) {
        utf8::utf8to16(text.begin(), text.end(), std::back_inserter(out));
        return out;
    }
    std::string repaired;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(repaired),
                          static_cast<std::uint32_t>(replacementCharacter));
    utf8::utf8to16(repaired.begin(), repaired.end(), std::back_inserter(out));
    return out;
}

}  // namespace tav::platform
