// Writing a file whole or not at all, for the result files that scripts and
// tests read: the content goes to a temporary file beside the target, which
// replaces the target only once everything has been written and closed. A
// reader never sees a half-written file, and a failed write leaves neither a
// truncated target nor a temporary behind.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>

namespace tav::result {

// A write that did not happen. what() is one line naming the file and the
// cause.
class FileWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Calls `write` with a stream on a new temporary file in `target`'s folder
// and, when the stream is still good after a flush and close, renames the
// temporary over `target` (replacing an existing file). Raises FileWriteError
// when the temporary cannot be created, written or renamed; an exception from
// `write` passes through. In both cases the temporary is removed and
// `target` is as it was before.
void writeAtomically(const std::filesystem::path& target,
                     const std::function<void(std::ostream&)>& write);

// Removes the file `target` if it exists, so that no earlier result stands
// at a path this run did not write (a folder is left alone). Raises
// FileWriteError when the file exists and cannot be removed.
void removeIfPresent(const std::filesystem::path& target);

}  // namespace tav::result
