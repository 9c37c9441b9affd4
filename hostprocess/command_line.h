// Windows command lines: separate arguments joined into one line, quoted so
// that the C runtime's and CommandLineToArgvW's splitting give the same
// arguments back. Portable text handling, no Windows header.
#pragma once

#include <string>
#include <vector>

namespace tav::hostprocess {

// `argument` quoted where it needs it: backslashes are literal except before
// a quote, where they escape in pairs.
std::wstring quoteArgument(const std::wstring& argument);

std::wstring joinCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace tav::hostprocess
