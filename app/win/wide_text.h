// The tool's UTF-16 text as Windows' wide strings (both are UTF-16 here).
#pragma once

#include <string>
#include <string_view>

namespace tav::app::win {

inline std::wstring wideText(std::u16string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char16_t unit : text) {
        wide.push_back(static_cast<wchar_t>(unit));
    }
    return wide;
}

}  // namespace tav::app::win
