#include "app/cli/cli_options.h"

#include <array>
#include <functional>

#include "app/cli/windows_path.h"
#include "host/utf.h"

namespace tav::cli {
namespace {

std::string utf8(std::u16string_view text) {
    return host::toUtf8(text);
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

std::u16string requiredPath(std::u16string_view value, std::string_view where) {
    if (value.empty()) {
        throw UsageError(std::string(where) + " needs a file name");
    }
    return std::u16string(value);
}

// One option of the command line: its name, whether it takes a value, and
// what it does to the options.
struct OptionSpec {
    std::u16string_view name;
    bool takesValue;
    std::function<void(CliOptions&, std::u16string_view)> apply;
};

const std::array<OptionSpec, 9>& optionSpecs() {
    static const std::array<OptionSpec, 9> specs{{
        {u"--sheets", true,
         [](CliOptions& o, std::u16string_view v) { o.sheets = sheetChoiceOf(v, "--sheets"); }},
        {u"--no-save", false, [](CliOptions& o, std::u16string_view) { o.noSave = true; }},
        {u"--dry-run", false, [](CliOptions& o, std::u16string_view) { o.dryRun = true; }},
        {u"--quiet", false, [](CliOptions& o, std::u16string_view) { o.quiet = true; }},
        {u"--report", true,
         [](CliOptions& o, std::u16string_view v) { o.report = requiredPath(v, "--report"); }},
        {u"--list", true,
         [](CliOptions& o, std::u16string_view v) { o.list = requiredPath(v, "--list"); }},
        {u"--help", false, [](CliOptions& o, std::u16string_view) { o.help = true; }},
        {u"--version", false, [](CliOptions& o, std::u16string_view) { o.version = true; }},
        {u"-h", false, [](CliOptions& o, std::u16string_view) { o.help = true; }},
    }};
    return specs;
}

const OptionSpec* findOption(std::u16string_view name) {
    for (const OptionSpec& spec : optionSpecs()) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

}  // namespace

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
        const OptionSpec* spec = findOption(name);
        if (spec == nullptr) {
            throw UsageError("unknown option " + utf8(name));
        }
        if (!spec->takesValue) {
            if (equals != std::u16string::npos) {
                throw UsageError(utf8(name) + " takes no value");
            }
            spec->apply(options, {});
            continue;
        }
        if (equals != std::u16string::npos) {
            spec->apply(options, std::u16string_view(argument).substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            spec->apply(options, arguments[++i]);
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
        u"  --report FILE.csv            one row per part member: its colour and styles",
        u"  --list FILE                  more Drafts, one path per line (# for comments)",
        u"  --quiet                      print only failures and the summary",
        u"  --help, --version",
        u"",
        u"Settings: program_settings.txt beside the program, \"key = value\" per line",
        u"(sheets, no_save, dry_run, report, quiet, list); arguments override it.",
        u"Exit status: 0 every Draft was processed, 1 some were not, 2 usage error.",
    };
}

}  // namespace tav::cli
