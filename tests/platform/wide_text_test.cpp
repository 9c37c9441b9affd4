// Windows' wide strings next to the tool's UTF-16 text and UTF-8.
#include "platform/win/wide_text.h"

#include <gtest/gtest.h>

namespace tav::platform {
namespace {

TEST(WideText, Utf16AndWideStringsAreTheSameCodeUnits) {
    std::u16string text = u"Grüße \U0001F600 ";
    text.push_back(char16_t{0xD800});  // an unpaired surrogate stays as it is
    const std::wstring wide = wideText(text);
    ASSERT_EQ(wide.size(), text.size());
    EXPECT_EQ(utf16Text(wide), text);
}

TEST(WideText, Utf8FromWide) {
    EXPECT_EQ(utf8Text(L"Gr\u00FC\u00DFe"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(utf8Text(L"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(WideText, WhatIsNotTextBecomesTheReplacementCharacter) {
    EXPECT_EQ(utf8Text(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tav::platform
