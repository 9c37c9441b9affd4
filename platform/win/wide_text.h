// Text as Windows' wide strings. Windows' wchar_t strings and the tool's
// UTF-16 text (std::u16string, platform/utf.h) are the same code units, so the
// two convert unit for unit; UTF-8 (files, JSON, the terminal) goes through
// platform/utf.h, where unpaired surrogates and invalid bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace tav::platform {

std::wstring wideText(std::u16string_view text);
std::u16string utf16Text(std::wstring_view text);

std::string utf8Text(std::wstring_view text);

}  // namespace tav::platform
