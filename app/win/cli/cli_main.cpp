// tavrelmondix-cli.exe: the command-line tool, for batches of Drafts and for
// Solid Edge Housekeeper's "Run external program" (app/cli/cli_program.h
// has its exit statuses). Attaches to the running Solid Edge as
// tavrelmondix.exe does, from a single-threaded COM apartment.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_program.h"
#include "app/cli/interrupt_gate.h"
#include "app/win/cli/console_environment.h"
#include "app/win/cli/console_interrupt.h"
#include "host/com/apartment.h"
#include "host/com/com_connector.h"
#include "host/error.h"
#include "platform/win/program_arguments.h"
#include "platform/win/wide_text.h"

int wmain() {
    tav::app::win::ConsoleEnvironment console;
    std::vector<std::u16string> arguments;
    for (const std::wstring& argument : tav::platform::programArguments()) {
        arguments.push_back(tav::platform::utf16Text(argument));
    }
    std::unique_ptr<tav::com::Apartment> apartment;
    try {
        apartment = std::make_unique<tav::com::Apartment>();
    } catch (const tav::host::AutomationError& error) {
        console.printError(u"tavrelmondix-cli: COM cannot be used here: " + error.description());
        return tav::cli::exitNotProcessed;
    }
    tav::com::ComConnector connector(apartment->calls());
    tav::cli::InterruptGate gate;
    tav::app::win::ConsoleInterrupt interrupt(gate);
    const tav::cli::CliRunOutput run =
        tav::cli::runCommandLine(console, connector, gate, arguments);
    connector.releaseKept();
    interrupt.tidiedUp();
    return run.exitCode;
}
