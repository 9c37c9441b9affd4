// A list file names the drawings of a batch, one path a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/cli/text_lines.h"

namespace tav::cli {

// The paths of a list file's bytes, in the file's order and with duplicates
// kept (whether two paths are one file is known only once they are
// absolute). Each line is trimmed of white space; blank lines and lines
// whose first non-blank character is '#' are skipped. Encodings and errors
// as decodeTextLines: throws TextFileError.
std::vector<std::u16string> decodeListFile(std::string_view bytes);

}  // namespace tav::cli
