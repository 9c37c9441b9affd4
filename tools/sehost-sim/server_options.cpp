#include "tools/sehost-sim/server_options.h"

#include <cwchar>
#include <string_view>

#include "platform/win/wide_text.h"

namespace tav::sehost {
namespace {

int timeoutOf(const std::wstring& text) {
    wchar_t* end = nullptr;
    const long seconds = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != L'\0' || seconds < 1 || seconds > 86400) {
        throw UsageError("--timeout takes a number of seconds from 1 to 86400, not \"" +
                         platform::utf8Text(text) + "\"");
    }
    return static_cast<int>(seconds);
}

// The file name of a path given with either separator.
std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool equalsIgnoringAsciiCase(const std::wstring& left, std::wstring_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
        if (lower(left[i]) != lower(right[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ServerOptions::servesCommandLineTool() const {
    return commandLineRun ||
           (!program.empty() &&
            equalsIgnoringAsciiCase(fileNameOf(program.front()), L"tavrelmondix-cli.exe"));
}

const char* const serverUsage =
    "usage: sehost-sim.exe SCENE.json [--result OUT.json] [--timeout SECONDS] "
    "[--allow-installed] [--round-trips OUT.json] [--type-library REPORT] "
    "[-- PROGRAM [ARGS...]]\n"
    "Serves the simulated Solid Edge of SCENE.json as the running \"SolidEdge.Application\".\n"
    "Prints \"ready\" once it can be reached. With PROGRAM it serves until PROGRAM ends and\n"
    "exits with its status; without, until standard input ends. Exit status 2: usage error,\n"
    "refused scene or refused registration; 3: the timeout (default 120 s) passed.\n"
    "--round-trips writes every call that came in from clients, by kind.\n"
    "--type-library serves the type library a report of tavrelmondix-probe describes.\n";

ServerOptions parseServerOptions(const std::vector<std::wstring>& args) {
    ServerOptions options;
    bool haveScene = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        auto value = [&]() -> const std::wstring& {
            if (i + 1 >= args.size()) {
                throw UsageError(platform::utf8Text(arg) + " needs a value");
            }
            return args[++i];
        };
        if (arg == L"--") {
            options.program.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            if (options.program.empty()) {
                throw UsageError("-- must be followed by the program to run");
            }
            break;
        }
        if (arg == L"--help" || arg == L"-h") {
            options.help = true;
        } else if (arg == L"--result") {
            options.result = value();
        } else if (arg == L"--timeout") {
            options.timeoutSeconds = timeoutOf(value());
        } else if (arg == L"--round-trips") {
            options.roundTrips = value();
        } else if (arg == L"--type-library") {
            options.typeLibrary = value();
        } else if (arg == L"--command-line-run") {
            options.commandLineRun = true;
        } else if (arg == L"--allow-installed") {
            options.allowInstalled = true;
        } else if (arg.starts_with(L"-")) {
            throw UsageError("unknown option " + platform::utf8Text(arg));
        } else if (haveScene) {
            throw UsageError("one scene file only (a program to run goes after --)");
        } else {
            options.scene = arg;
            haveScene = true;
        }
    }
    if (!haveScene && !options.help) {
        throw UsageError("the scene file is missing");
    }
    return options;
}

}  // namespace tav::sehost
