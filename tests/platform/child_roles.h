// The parts the test program plays when the launcher's tests start it as a
// child: `tav_platform_tests.exe ROLE ARGS...`.
#pragma once

namespace tav::platform::test {

// Prints each argument after the role on a line of its own (UTF-8), as
// CommandLineToArgvW splits them, then "end".
inline constexpr wchar_t printArguments[] = L"--print-arguments";
// Reads its input to the end, then prints "input ended" and ends with 3.
inline constexpr wchar_t readInput[] = L"--read-input";
// Writes its argument to standard error and ends with 0.
inline constexpr wchar_t writeError[] = L"--write-error";
// Waits a minute (to be ended by force).
inline constexpr wchar_t waitLong[] = L"--wait";

}  // namespace tav::platform::test
