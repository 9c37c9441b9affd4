// White space around the entries of list and settings files: Unicode's
// White_Space characters, so that a space typed with an input method
// (U+3000) or pasted from a web page (U+00A0) is trimmed like a plain one;
// and U+FEFF, the byte order mark that joining two files with one leaves
// inside the text, where it would otherwise begin a path no file has.
#pragma once

#include <string_view>

namespace tav::cli {

bool isWhiteSpace(char16_t unit);
std::u16string_view trimWhiteSpace(std::u16string_view text);

}  // namespace tav::cli
