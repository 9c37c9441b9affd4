// The command-line tool from its arguments to its exit status:
//   0  every Draft was processed
//   1  some Draft was not (or the report could not be written, or the run
//      was interrupted)
//   2  the command line or the settings file could not be followed; nothing
//      was done
// A stale error_messages.txt beside the program is removed at the start;
// when the status is not 0 a new one says why, one line per message.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_environment.h"
#include "app/cli/interrupt_gate.h"
#include "host/host_connector.h"

namespace tav::cli {

inline constexpr int exitProcessed = 0;
inline constexpr int exitNotProcessed = 1;
inline constexpr int exitUsage = 2;

inline constexpr std::u16string_view errorMessagesFileName = u"error_messages.txt";
inline constexpr std::u16string_view settingsFileName = u"program_settings.txt";

// What the run left for the harness's result besides the exit status.
struct CliRunOutput {
    int exitCode = 0;
    // Where the report was written; none when no report was asked for or it
    // could not be written.
    std::optional<std::u16string> reportPath;
};

CliRunOutput runCommandLine(CliEnvironment& environment, host::HostConnector& connector,
                            InterruptGate& gate, const std::vector<std::u16string>& arguments);

}  // namespace tav::cli
