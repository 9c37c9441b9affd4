// The command-line tool's options, from its arguments and from the settings
// file beside it (which Solid Edge Housekeeper users fill in, since it passes
// no arguments). Options given as arguments override the settings.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sheet_run.h"

namespace tav::cli {

// A command line or settings file the tool cannot follow: nothing is done,
// the exit status is 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CliOptions {
    engine::SheetChoice sheets = engine::SheetChoice::working;
    bool noSave = false;
    bool dryRun = false;
    bool quiet = false;
    // Darken part colours below this contrast against white; none: colours as they are.
    std::optional<double> paperSafeRatio;
    // Give coloured edges back their earlier styles instead of colouring.
    bool reset = false;
    // Then remove the tool's own styles no drawing view uses.
    bool removeUnusedStyles = false;
    std::optional<std::u16string> report;  // the CSV report's path, as given
    std::optional<std::u16string> list;    // the list file's path, as given
    std::vector<std::u16string> files;     // file arguments, as given
    bool help = false;
    bool version = false;
};

// Applies one `key = value` of the settings file. Keys are the long option
// names with underscores for dashes; Booleans are true or false in any
// letter case; a relative path is taken relative to `programFolder`. Raises
// UsageError naming an unknown key or value.
void applySetting(CliOptions& options, std::string_view key, std::u16string_view value,
                  std::u16string_view programFolder);

// The ratio of --paper-safe=RATIO: a decimal number with "." (whatever the
// locale), 1 to 21. Raises UsageError naming `where` and the value.
double paperSafeRatioOf(std::u16string_view value, std::string_view where);

// Applies the program's arguments over `options`. Options are `--name`,
// `--name VALUE` or `--name=VALUE` (an option whose value may be left out,
// --paper-safe, takes one only after "="); everything else (and everything after
// `--`) is a file. Raises UsageError.
void applyArguments(CliOptions& options, const std::vector<std::u16string>& arguments);

// What --help prints, line by line.
std::vector<std::u16string> usageLines();

}  // namespace tav::cli
