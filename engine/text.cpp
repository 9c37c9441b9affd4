#include "engine/text.h"

#include <algorithm>

#include "engine/lowercase_table.h"

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

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

}  // namespace

std::u16string lowerCase(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        bool pairStarts = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pairStarts) {
            char32_t cp = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            appendCodePoint(out, lowerCodePoint(cp));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(static_cast<char16_t>(unit));  // an unpaired surrogate stays as it is
        } else {
            appendCodePoint(out, lowerCodePoint(unit));
        }
    }
    return out;
}

std::u16string decimalText(std::int64_t number) {
    std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string_view lastUnits(std::u16string_view text, std::size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace tav::engine
