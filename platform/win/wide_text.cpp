#include "platform/win/wide_text.h"

#include "platform/utf.h"

namespace tav::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide strings are UTF-16");

std::wstring wideText(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string utf16Text(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

std::string utf8Text(std::wstring_view text) {
    return platform::toUtf8(utf16Text(text));
}

}  // namespace tav::platform
