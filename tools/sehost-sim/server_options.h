// The server's command line:
//   sehost-sim.exe SCENE.json [--result OUT.json] [--timeout SECONDS]
//                  [--allow-installed] [--round-trips OUT.json] [--type-library REPORT]
//                  [-- PROGRAM [ARGS...]]
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tav::sehost {

struct ServerOptions {
    std::wstring scene;
    std::optional<std::wstring> result;
    // Where to write the calls that came in from clients, by kind.
    std::optional<std::wstring> roundTrips;
    // A probe's report: the type library it describes is served instead of
    // the server's own.
    std::optional<std::wstring> typeLibrary;
    int timeoutSeconds = 120;
    bool allowInstalled = false;
    // PROGRAM and its arguments; empty: serve until standard input ends.
    std::vector<std::wstring> program;
    // Hidden: the client is the command-line tool, whose results tell of
    // every document (as they do when PROGRAM is tavrelmondix-cli.exe).
    bool commandLineRun = false;
    bool help = false;

    // Whether the served client is the command-line tool: asked for, or
    // PROGRAM's file name is tavrelmondix-cli.exe (any letter case).
    bool servesCommandLineTool() const;
};

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// `args` without the program's own name. Raises UsageError.
ServerOptions parseServerOptions(const std::vector<std::wstring>& args);

extern const char* const serverUsage;

}  // namespace tav::sehost
