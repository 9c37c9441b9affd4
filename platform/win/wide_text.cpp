#include "platform/win/wide_text.h"

#include "host/utf.h"

namespace tav::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide strings are UTF-16");

std::wstring wideText(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string utf16Text(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

std::string utf8Text(std::wstring_view text) {
    return host::toUtf8(utf16Text(text));
}

std::wstring wideTextOfUtf8(std::string_view text) {
    return wideText(host::toUtf16(text));
}

}  // namespace tav::platform
