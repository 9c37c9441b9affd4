// Saves the whole screen as a 24-bit BMP, for the documentation's pictures.
#pragma once

#include <string>

namespace tav::e2e {

// True when the file was written.
bool saveScreen(const std::wstring& path);

}  // namespace tav::e2e
