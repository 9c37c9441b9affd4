// Windows' wide strings next to the host's UTF-16 text: the same code units.
#pragma once

#include <string>
#include <string_view>

#include "host/utf.h"

namespace tav::sehost {

inline std::u16string toU16(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

inline std::string toUtf8(std::wstring_view text) {
    return host::toUtf8(toU16(text));
}

}  // namespace tav::sehost
