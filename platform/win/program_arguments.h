// The arguments the program was started with, as Windows splits its command
// line (CommandLineToArgvW), without the program's own name.
#pragma once

#include <string>
#include <vector>

namespace tav::platform {

std::vector<std::wstring> programArguments();

}  // namespace tav::platform
