// A program run to its end as a child process, for one whole harness run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tav::benchcom {

// Runs `program` with `args` and waits for it to end. Its standard output
// goes to this program's standard error: this program's standard output
// holds the tables alone. Returns its exit status. Raises std::runtime_error
// when it cannot be started, or when it runs past `limitMs` (it is then
// ended by force).
DWORD runToEnd(const std::wstring& program, const std::vector<std::wstring>& args, DWORD limitMs);

}  // namespace tav::benchcom
