// program_settings.txt: "key = value" lines the program maps to its options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/cli/text_lines.h"

namespace tav::cli {

struct SettingsEntry {
    std::string key;       // UTF-8, trimmed, never empty
    std::u16string value;  // trimmed, may be empty
    int line;              // counted from 1, for the program's own messages
};

// The entries of a settings file's bytes, in the file's order. Key and value
// are split at the first '=' and trimmed of white space; blank lines and
// lines whose first non-blank character is '#' or '\'' are comments. A line
// without '=' or with nothing before it throws TextFileError, as do the
// decoding errors of decodeTextLines.
std::vector<SettingsEntry> decodeSettingsFile(std::string_view bytes);

}  // namespace tav::cli
