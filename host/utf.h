// Text crosses the tool in UTF-16, as the host's strings do: lengths and
// positions count UTF-16 code units. UTF-8 appears only at the edges (scene
// and result files, the terminal).
#pragma once

#include <string>
#include <string_view>

namespace tav::host {

// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string toUtf16(std::string_view text);

}  // namespace tav::host
