#include "app/cli/cli_options.h"

#include <array>
#include <functional>

#include "app/cli/windows_path.h"
#include "engine/paper_safe.h"
#include "platform/utf.h"

namespace tav::cli {
namespace {

std::string utf8(std::u16string_view text) {
    return platform::toUtf8(text);
}

char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool equalsAsciiLower(std::u16string_view text, std::u16string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (asciiLower(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

engine::SheetChoice sheetChoiceOf(std::u16string_view value, std::string_view where) {
    if (equalsAsciiLower(value, u"working")) {
        return engine::SheetChoice::working;
    }
    if (equalsAsciiLower(value, u"active")) {
        return engine::SheetChoice::active;
    }
    if (equalsAsciiLower(value, u"all")) {
        return engine::SheetChoice::all;
    }
    throw UsageError(std::string(where) + " takes working, active or all, not \"" + utf8(value) +
                     "\"");
}

bool booleanOf(std::u16string_view value, std::string_view key) {
    if (equalsAsciiLower(value, u"true")) {
        return true;
    }
    if (equalsAsciiLower(value, u"false")) {
        return false;
    }
    throw UsageError("setting " + std::string(key) + " takes true or false, not \"" + utf8(value) +
                     "\"");
}

// Digits, then optionally "." and more digits. Parsed here rather than by
// the C library, whose decimal separator follows the locale.
std::optional<double> decimalNumberOf(std::u16string_view text) {
    constexpr std::size_t longest = 32;  // no ratio in range needs more
    if (text.empty() || text.size() > longest) {
        return std::nullopt;
    }
    double whole = 0;
    double fractionScale = 0;  // 0 before the point, then 0.1, 0.01, ...
    double fraction = 0;
    bool digitBefore = false;
    bool digitAfter = false;
    for (const char16_t c : text) {
        if (c == u'.') {
            if (fractionScale != 0 || !digitBefore) {
                return std::nullopt;
            }
            fractionScale = 0.1;
        } else if (c >= u'0' && c <= u'9') {
            const int digit = c - u'0';
            if (fractionScale == 0) {
                whole = whole * 10 + digit;
                digitBefore = true;
            } else {
                fraction += digit * fractionScale;
                fractionScale /= 10;
                digitAfter = true;
            }
        } else {
            return std::nullopt;
        }
    }
    if (fractionScale != 0 && !digitAfter) {
        return std::nullopt;  // "3." is not a number here
    }
    return whole + fraction;
}

std::u16string requiredPath(std::u16string_view value, std::string_view where) {
    if (value.empty()) {
        throw UsageError(std::string(where) + " needs a file name");
    }
    return std::u16string(value);
}

// One option of the command line: its name, whether it takes a value, and
// what it does to the options.
enum class ValueUse {
    none,      // --name
    required,  // --name VALUE or --name=VALUE
    optional,  // --name or --name=VALUE
};

struct CommandOption {
    std::u16string_view name;
    ValueUse value;
    std::function<void(CliOptions&, std::u16string_view)> apply;
};

const std::array<CommandOption, 12>& commandOptions() {
    using enum ValueUse;
    static const std::array<CommandOption, 12> options{{
        {u"--sheets", required,
         [](CliOptions& o, std::u16string_view v) { o.sheets = sheetChoiceOf(v, "--sheets"); }},
        {u"--no-save", none, [](CliOptions& o, std::u16string_view) { o.noSave = true; }},
        {u"--dry-run", none, [](CliOptions& o, std::u16string_view) { o.dryRun = true; }},
        {u"--quiet", none, [](CliOptions& o, std::u16string_view) { o.quiet = true; }},
        // Without a value the view is a default one, with no data at all;
        // "--paper-safe=" gives an empty one, which is refused.
        {u"--paper-safe", optional,
         [](CliOptions& o, std::u16string_view v) {
             o.paperSafeRatio = v.data() == nullptr ? engine::defaultPaperSafeRatio
                                                    : paperSafeRatioOf(v, "--paper-safe");
         }},
        {u"--reset", none, [](CliOptions& o, std::u16string_view) { o.reset = true; }},
        {u"--remove-unused-styles", none,
         [](CliOptions& o, std::u16string_view) { o.removeUnusedStyles = true; }},
        {u"--report", required,
         [](CliOptions& o, std::u16string_view v) { o.report = requiredPath(v, "--report"); }},
        {u"--list", required,
         [](CliOptions& o, std::u16string_view v) { o.list = requiredPath(v, "--list"); }},
        {u"--help", none, [](CliOptions& o, std::u16string_view) { o.help = true; }},
        {u"--version", none, [](CliOptions& o, std::u16string_view) { o.version = true; }},
        {u"-h", none, [](CliOptions& o, std::u16string_view) { o.help = true; }},
    }};
    return options;
}

const CommandOption* findOption(std::u16string_view name) {
    for (const CommandOption& option : commandOptions()) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

double paperSafeRatioOf(std::u16string_view value, std::string_view where) {
    const std::optional<double> ratio = decimalNumberOf(value);
    if (!ratio || *ratio < engine::lowestPaperSafeRatio || *ratio > engine::highestPaperSafeRatio) {
        throw UsageError(std::string(where) +
                         " takes a contrast ratio from 1 to 21 (such as 4.5), not \"" +
                         utf8(value) + "\"");
    }
    return *ratio;
}

void applySetting(CliOptions& options, std::string_view key, std::u16string_view value,
                  std::u16string_view programFolder) {
    auto pathSetting = [&](std::string_view where) {
        return absoluteWindowsPath(requiredPath(value, where), programFolder);
    };
    if (key == "sheets") {
        options.sheets = sheetChoiceOf(value, "setting sheets");
    } else if (key == "no_save") {
        options.noSave = booleanOf(value, key);
    } else if (key == "dry_run") {
        options.dryRun = booleanOf(value, key);
    } else if (key == "quiet") {
        options.quiet = booleanOf(value, key);
    } else if (key == "paper_safe") {
        if (equalsAsciiLower(value, u"true")) {
            options.paperSafeRatio = engine::defaultPaperSafeRatio;
        } else if (equalsAsciiLower(value, u"false")) {
            options.paperSafeRatio.reset();
        } else {
            options.paperSafeRatio = paperSafeRatioOf(value, "setting paper_safe");
        }
    } else if (key == "reset") {
        options.reset = booleanOf(value, key);
    } else if (key == "remove_unused_styles") {
        options.removeUnusedStyles = booleanOf(value, key);
    } else if (key == "report") {
        options.report = pathSetting("setting report");
    } else if (key == "list") {
        options.list = pathSetting("setting list");
    } else {
        throw UsageError("unknown setting \"" + std::string(key) + "\"");
    }
}

void applyArguments(CliOptions& options, const std::vector<std::u16string>& arguments) {
    bool filesOnly = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (filesOnly || argument.size() < 2 || argument[0] != u'-') {
            options.files.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            filesOnly = true;
            continue;
        }
        const std::size_t equals = argument.find(u'=');
        const std::u16string_view name = std::u16string_view(argument).substr(0, equals);
        const CommandOption* option = findOption(name);
        if (option == nullptr) {
            throw UsageError("unknown option " + utf8(name));
        }
        if (option->value == ValueUse::none) {
            if (equals != std::u16string::npos) {
                throw UsageError(utf8(name) + " takes no value");
            }
            option->apply(options, {});
            continue;
        }
        if (option->value == ValueUse::optional && equals == std::u16string::npos) {
            option->apply(options, {});  // no value: the option's default
            continue;
        }
        if (equals != std::u16string::npos) {
            option->apply(options, std::u16string_view(argument).substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            option->apply(options, arguments[++i]);
        } else {
            throw UsageError(utf8(name) + " needs a value");
        }
    }
}

std::vector<std::u16string> usageLines() {
    return {
        u"Usage: tavrelmondix-cli [OPTIONS] [DRAFT.dft | FOLDER | PATTERN ...] [--list FILE]",
        u"Gives the drawn edges of every part in Solid Edge Drafts the colour the part has",
        u"in its assembly. Solid Edge must be running. Each Draft is opened, every sheet is",
        u"coloured, and the Draft is saved and closed; a Draft that was already open is",
        u"saved and left open. Without files: the active document, saved and left open.",
        u"",
        u"  --sheets working|active|all  which sheets (default: every working sheet)",
        u"  --no-save                    colour, but save nothing",
        u"  --dry-run                    change nothing; report what would change",
        u"  --paper-safe[=RATIO]         darken colours whose contrast against white is",
        u"                               below RATIO (1 to 21, default 3)",
        u"  --reset                      give coloured edges back the styles they had",
        u"  --remove-unused-styles       then remove the tool's styles no view uses",
        u"  --report FILE.csv            one row per part member: its colour and styles",
        u"  --list FILE                  more Drafts, one path per line (# for comments)",
        u"  --quiet                      print only failures and the summary",
        u"  --help, --version",
        u"",
        u"Settings: program_settings.txt beside the program, \"key = value\" per line",
        u"(sheets, no_save, dry_run, paper_safe, reset, remove_unused_styles, report,",
        u"quiet, list); arguments override it.",
        u"Exit status: 0 every Draft was processed, 1 some were not, 2 usage error.",
    };
}

}  // namespace tav::cli
