// tavrelmondix-probe.exe [--report FILE]
//
// Attaches to the running Solid Edge as Tavrelmondix does, walks the open
// Draft reading only, and writes a report of what this Solid Edge declares
// and answers (host/types/probe_report.h) beside the program (or to
// %TEMP%), with a short summary on the console. A user whose Solid Edge
// Tavrelmondix does not work with sends us the report.
//
// Exit status: 0 when the report was written, 1 when it could not be, 2 for
// a usage error.
#include <windows.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "host/com/apartment.h"
#include "host/error.h"
#include "platform/win/program_arguments.h"
#include "platform/win/wide_text.h"
#include "probe/report_location.h"
#include "probe/walk.h"
#include "tav_version.h"

namespace {

constexpr int reportNotWritten = 1;
constexpr int usageError = 2;

const char* const usage =
    "usage: tavrelmondix-probe.exe [--report FILE]\n"
    "Reads, and only reads, what the running Solid Edge declares and answers for the objects\n"
    "Tavrelmondix uses in the open Draft, and writes a report that names no document, file or\n"
    "part: beside this program, or in the temporary folder where that cannot be written.\n";

std::string probeVersion() {
    return std::to_string(TAV_VERSION_MAJOR) + "." + std::to_string(TAV_VERSION_MINOR) + "." +
           std::to_string(TAV_VERSION_REVISION);
}

void printSummary(const tav::hosttypes::ProbeReport& report) {
    int met = 0;
    std::string notMet;
    for (const auto& kind : report.kinds) {
        if (kind.met) {
            ++met;
        } else {
            notMet += (notMet.empty() ? "" : ", ") + kind.kind;
        }
    }
    std::cout << "Solid Edge " << report.solidEdgeVersion << ", " << report.instancesRunning
              << " running\n";
    std::cout << "Kinds of object read: " << met << " of " << report.kinds.size();
    if (!notMet.empty()) {
        std::cout << " (not in this drawing: " << notMet << ")";
    }
    std::cout << "\n";
    for (const auto& form : report.colorQuery) {
        std::cout << "Colour query as " << form.form << ": " << form.answer
                  << (form.returned.empty() ? "" : ", gave " + form.returned) << "\n";
    }
    if (report.roundTripCalls > 0) {
        std::cout << report.roundTripCalls << " round trips took " << report.roundTripMilliseconds
                  << " ms\n";
    }
    for (const std::string& problem : report.problems) {
        std::cout << "Note: " << problem << "\n";
    }
}

// Started by a double click, the console is the probe's own and closes with
// it: the summary waits for the user.
void waitIfConsoleIsOurs() {
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) == 1) {
        std::cout << "\nPress Enter to close." << std::flush;
        std::string line;
        std::getline(std::cin, line);
    }
}

}  // namespace

int main() {
    std::filesystem::path wanted;
    const std::vector<std::wstring> args = tav::platform::programArguments();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--help" || args[i] == L"-h") {
            std::cout << usage;
            return 0;
        }
        if (args[i] == L"--report" && i + 1 < args.size()) {
            wanted = args[++i];
            continue;
        }
        std::cerr << "tavrelmondix-probe: unknown argument " << tav::platform::utf8Text(args[i])
                  << "\n"
                  << usage;
        return usageError;
    }

    std::cout << "Tavrelmondix probe " << probeVersion()
              << ": reading what Solid Edge declares (nothing is changed)\n\n";
    int status = 0;
    try {
        tav::com::Apartment apartment;
        const tav::hosttypes::ProbeReport report =
            tav::probe::probeHost(apartment.calls(), probeVersion());
        printSummary(report);
        const std::filesystem::path written = tav::probe::writeReport(report, wanted);
        std::cout << "\nThe report is in " << tav::platform::utf8Text(written.wstring())
                  << "\nIf Tavrelmondix does not work with your Solid Edge, send us this file.\n";
    } catch (const tav::host::AutomationError& error) {
        std::cerr << "tavrelmondix-probe: COM cannot be used here: " << error.what() << "\n";
        status = reportNotWritten;
    } catch (const std::exception& error) {
        std::cerr << "tavrelmondix-probe: " << error.what() << "\n";
        status = reportNotWritten;
    }
    waitIfConsoleIsOurs();
    return status;
}
