// The Drafts a command-line run works on: the file arguments first, then the
// list file's lines, each made absolute against the working folder, patterns
// and folders expanded from the file system's names, and each path taken
// once (letter case ignored) however often it is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_environment.h"
#include "app/cli/cli_options.h"

namespace tav::cli {

struct DocumentEntry {
    std::u16string path;  // absolute, as Windows writes it
    // Why the entry cannot be processed before Solid Edge is asked anything
    // (a pattern that matches nothing, a folder without Drafts).
    std::optional<std::u16string> refusal;
};

// Raises UsageError when the list file cannot be read or decoded.
std::vector<DocumentEntry> documentsToProcess(const CliOptions& options,
                                              CliEnvironment& environment);

}  // namespace tav::cli
