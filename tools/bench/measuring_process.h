// Each measured harness run gets a process of its own, so that its peak
// memory and time are its own and not what earlier runs left behind.
#pragma once

#include <string>
#include <vector>

namespace tav::bench {

// Runs this program again with `args` and returns what it printed on its
// standard output; raises std::runtime_error when it cannot be started or
// fails.
std::string runThisProgram(const std::vector<std::string>& args);

}  // namespace tav::bench
