// Where the running program's own file is: programs of the project start
// the others from their own folder.
#pragma once

#include <filesystem>

namespace tav::platform {

std::filesystem::path programFolder();

}  // namespace tav::platform
