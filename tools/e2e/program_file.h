// What Windows shows of tavrelmondix.exe itself, in Explorer's properties:
// its version information and its icon.
#pragma once

#include <string>

#include "tools/e2e/checks.h"

namespace tav::e2e {

void checkProgramFile(Checks& checks, const std::wstring& program);

}  // namespace tav::e2e
