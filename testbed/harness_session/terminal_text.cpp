#include "testbed/harness_session/terminal_text.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "platform/utf.h"

namespace tav::session {
namespace {

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// One well-formed UTF-8 sequence at the start of `text` (no overlong forms,
// no surrogates, nothing past U+10FFFF), or nothing.
std::optional<Decoded> decodeOne(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    // The sequence's length, the payload bits of its lead byte and the
    // smallest code point that needs that length.
    std::size_t length = 4;
    char32_t codePoint = lead & 0x07u;
    char32_t smallest = 0x10000;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8) != 0xF0) {
        return std::nullopt;  // a continuation byte or no UTF-8 lead at all
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || platform::isHighSurrogate(codePoint) ||
        platform::isLowSurrogate(codePoint)) {
        return std::nullopt;
    }
    return Decoded{codePoint, length};
}

// Code points that a terminal acts on instead of showing, or that change how
// the rest of the line reads: the C0 and C1 controls, DEL, the line and
// paragraph separators and the bidirectional formatting characters.
bool actsInsteadOfShowing(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || (c >= 0x200E && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string hexEscape(unsigned value, bool byte) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, byte ? "\\x%02X" : "\\u{%04X}", value);
    return buffer;
}

}  // namespace

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::optional<Decoded> decoded = decodeOne(utf8.substr(i));
        if (!decoded) {
            out += hexEscape(static_cast<unsigned char>(utf8[i]), true);
            ++i;
            continue;
        }
        if (actsInsteadOfShowing(decoded->codePoint)) {
            const bool ascii = decoded->codePoint < 0x80;
            out += hexEscape(static_cast<unsigned>(decoded->codePoint), ascii);
        } else {
            out.append(utf8.substr(i, decoded->length));
        }
        i += decoded->length;
    }
    return out;
}

std::string printable(std::u16string_view utf16) {
    return printable(platform::toUtf8(utf16));
}

}  // namespace tav::session
