#include "host/types/guid_text.h"

#include <cstdio>

namespace tav::hosttypes {
namespace {

std::optional<unsigned> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return std::nullopt;
}

}  // namespace

std::string guidText(const host::InterfaceId& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.data1), static_cast<unsigned>(id.data2),
                  static_cast<unsigned>(id.data3), id.data4[0], id.data4[1], id.data4[2],
                  id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
    return text;
}

std::optional<host::InterfaceId> parseGuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36) {
        return std::nullopt;
    }
    // The 32 hexadecimal digits in order, with the dashes where they belong.
    unsigned char bytes[16] = {};
    std::size_t digit = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') {
                return std::nullopt;
            }
            continue;
        }
        const std::optional<unsigned> value = hexDigit(text[i]);
        if (!value) {
            return std::nullopt;
        }
        bytes[digit / 2] = static_cast<unsigned char>(bytes[digit / 2] * 16 + *value);
        ++digit;
    }
    host::InterfaceId id;
    id.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
               (std::uint32_t{bytes[2]} << 8) | bytes[3];
    id.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    id.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (std::size_t i = 0; i < 8; ++i) {
        id.data4[i] = bytes[8 + i];
    }
    return id;
}

}  // namespace tav::hosttypes
