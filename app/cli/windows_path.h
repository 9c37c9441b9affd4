// Windows paths as text, the way Windows itself reads them, without touching
// a file system: the program resolves and compares the paths of a batch on
// Windows, the tests check the same rules on Linux.
#pragma once

#include <string>
#include <string_view>

namespace tav::cli {

// The absolute form of `path`, as GetFullPathNameW gives it for a process
// whose current directory is `workingDirectory` (an absolute path on a drive
// or a UNC share): '/' becomes '\', repeated separators become one, "." and
// ".." are resolved without climbing above the root ("C:\", "\\server\share\",
// "\\.\"), a final component loses its trailing dots and spaces and an inner
// one a single trailing dot. "C:x" is relative to the working directory when
// that is on drive C:, else to "C:\"; "\x" to the working directory's root.
// A path beginning exactly with "\\?\" is returned as it is. Letter case is
// kept. An empty path, or one of spaces only, which Windows refuses, gives
// an empty string.
std::u16string absoluteWindowsPath(std::u16string_view path, std::u16string_view workingDirectory);

// Whether two paths name the same file to Windows, which ignores letter case
// (compared one UTF-16 unit at a time with Unicode's simple case mapping).
// The paths are compared as given: make them absolute first.
bool samePathIgnoringCase(std::u16string_view a, std::u16string_view b);

// A path split after its last separator ('\' or '/'), or after the drive of
// "C:name": folder + name is the path, the folder keeps its separator.
struct FolderAndName {
    std::u16string_view folder;
    std::u16string_view name;
};
FolderAndName splitFolderAndName(std::u16string_view path);

// `name` in `folder`, with one separator between them.
std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name);

// Whether the file name of `path` ends in ".dft", in any ASCII letter case.
bool hasDraftExtension(std::u16string_view path);

// Whether a name holds '*' or '?'.
bool hasWildcard(std::u16string_view name);
// Whether a long file name matches a pattern of '*' and '?' the way
// FindFirstFileW matches it, letter case ignored. Windows keeps MS-DOS rules:
// "*.*" matches names without a dot, "*." names without an extension, a '?'
// before a dot or at the end may match nothing ("part?.dft" matches
// "part.dft") and never matches a dot, and a '*' before a dot stops at the
// name's last dot.
bool matchesWildcard(std::u16string_view name, std::u16string_view pattern);

}  // namespace tav::cli
