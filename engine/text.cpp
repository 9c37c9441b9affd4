#include "engine/text.h"

#include <algorithm>
#include <cstddef>

#include "engine/lowercase_table.h"
#include "platform/utf.h"

namespace tav::engine {
namespace {

char32_t lowerCodePoint(char32_t cp) {
    if (cp < 0x80) {
        return (cp >= U'A' && cp <= U'Z') ? cp + (U'a' - U'A') : cp;
    }
    const LowercasePair* begin = lowercaseTable;
    const LowercasePair* end = lowercaseTable + lowercaseTableSize;
    const LowercasePair* found = std::lower_bound(
        begin, end, cp, [](const LowercasePair& pair, char32_t key) { return pair.from < key; });
    return (found != end && found->from == cp) ? found->to : cp;
}

}  // namespace

std::u16string lowerCase(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    appendLowerCase(out, text);
    return out;
}

void appendLowerCase(std::u16string& out, std::u16string_view text) {
    // Most names are ASCII: no table, no surrogates, one resize.
    if (std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x80; })) {
        const std::size_t start = out.size();
        out.resize(start + text.size());
        std::transform(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(start),
                       [](char16_t unit) {
                           return (unit >= u'A' && unit <= u'Z')
                                      ? static_cast<char16_t>(unit + (u'a' - u'A'))
                                      : unit;
                       });
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (platform::isHighSurrogate(unit) && i + 1 < text.size() &&
            platform::isLowSurrogate(text[i + 1])) {
            platform::appendUtf16(out, lowerCodePoint(platform::joinSurrogates(unit, text[i + 1])));
            ++i;
        } else if (platform::isHighSurrogate(unit) || platform::isLowSurrogate(unit)) {
            out.push_back(text[i]);  // an unpaired surrogate stays as it is
        } else {
            platform::appendUtf16(out, lowerCodePoint(unit));
        }
    }
}

std::u16string decimalText(std::int64_t number) {
    std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string_view lastUnits(std::u16string_view text, std::size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace tav::engine
