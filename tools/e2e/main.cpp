// tavrelmondix-e2e.exe: drives tavrelmondix.exe as a user would, under Wine
// or on Windows, and checks what it shows.
//
//   tavrelmondix-e2e.exe PROGRAM [--press ACTIONS] [--dpi N] [--disturb] [--expect-waiting]
//                        [--expect-start-up-notice] [--second-start idle|starting]
//                        [--type-ahead-at P,...] [--shots FOLDER [--running-shot-at N]]
//                        [--seen OUT.json] [--sample-ms N] [--timeout SECONDS]
//
// ACTIONS are comma-separated: process, exit, help, close, keys-exit.
// --type-ahead-at presses Process with the real mouse and, during the run,
// types Enter and clicks at each of these bar positions (see DriveOptions). Run it
// as the program of `sehost-sim.exe SCENE --result OUT -- ...` so that the
// tool finds the simulated Solid Edge. Exit status: 0 when every check
// passed, 1 when one failed, 2 for a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "platform/win/wide_text.h"
#include "tools/e2e/drive.h"
#include "tools/e2e/window_probe.h"

namespace {

using tav::platform::utf8Text;

std::vector<std::string> splitActions(const std::string& text) {
    std::vector<std::string> actions;
    std::stringstream stream(text);
    std::string action;
    while (std::getline(stream, action, ',')) {
        if (!action.empty()) {
            actions.push_back(action);
        }
    }
    return actions;
}

int usage(const char* problem) {
    std::fprintf(stderr,
                 "tavrelmondix-e2e: %s\nusage: tavrelmondix-e2e.exe PROGRAM [--press ACTIONS] "
                 "[--dpi N] [--disturb] [--expect-waiting] [--expect-start-up-notice] "
                 "[--second-start idle|starting] [--type-ahead-at P,...] [--shots FOLDER] "
                 "[--seen OUT.json] [--sample-ms N] "
                 "[--timeout S]\n",
                 problem);
    return 2;
}

nlohmann::json boxes(const std::vector<tav::e2e::Seen::Box>& seen, const char* textKey) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& box : seen) {
        list.push_back({{"title", utf8Text(box.title)}, {textKey, utf8Text(box.text)}});
    }
    return list;
}

bool writeSeen(const std::string& path, const tav::e2e::Seen& seen) {
    nlohmann::json captions = nlohmann::json::array();
    for (const std::wstring& caption : seen.captions) {
        captions.push_back(utf8Text(caption));
    }
    nlohmann::json titles = nlohmann::json::array();
    for (const std::wstring& title : seen.titles) {
        titles.push_back(utf8Text(title));
    }
    const nlohmann::json out{{"messages", boxes(seen.messages, "text")},
                             {"about", boxes(seen.aboutBoxes, "version")},
                             {"captionsDuringRun", captions},
                             {"titlesDuringRun", titles},
                             {"samples", seen.samples},
                             {"hungSamples", seen.hungSamples},
                             {"exitCode", seen.exitCode},
                             {"startUpNotice", seen.startUpNotice}};
    std::ofstream file(path, std::ios::binary);
    file << out.dump(2) << "\n";
    return static_cast<bool>(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Coordinates in real pixels, whatever the DPI.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    tav::e2e::DriveOptions options;
    options.actions = {"process"};
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == L"--press" && hasValue) {
            options.actions = splitActions(utf8Text(argv[++i]));
        } else if (argument == L"--dpi" && hasValue) {
            options.dpi = _wtoi(argv[++i]);
        } else if (argument == L"--disturb") {
            options.disturb = true;
        } else if (argument == L"--expect-waiting") {
            options.expectWaiting = true;
        } else if (argument == L"--expect-start-up-notice") {
            options.expectStartUpNotice = true;
        } else if (argument == L"--second-start" && hasValue) {
            options.secondStart = utf8Text(argv[++i]);
            if (options.secondStart != "idle" && options.secondStart != "starting") {
                return usage("--second-start takes idle or starting");
            }
        } else if (argument == L"--type-ahead-at" && hasValue) {
            for (const std::string& position : splitActions(utf8Text(argv[++i]))) {
                options.typeAheadAt.push_back(std::atoi(position.c_str()));
            }
        } else if (argument == L"--shots" && hasValue) {
            options.shots = argv[++i];
        } else if (argument == L"--running-shot-at" && hasValue) {
            options.runningShotAt = _wtoi(argv[++i]);
        } else if (argument == L"--seen" && hasValue) {
            options.seen = utf8Text(argv[++i]);
        } else if (argument == L"--sample-ms" && hasValue) {
            options.sampleMilliseconds = _wtoi(argv[++i]);
        } else if (argument == L"--timeout" && hasValue) {
            options.timeoutSeconds = _wtoi(argv[++i]);
        } else if (options.program.empty() && argument.rfind(L"--", 0) != 0) {
            options.program = argument;
        } else {
            return usage(("unexpected argument " + utf8Text(argument)).c_str());
        }
    }
    if (options.program.empty() || options.dpi <= 0 || options.timeoutSeconds <= 0 ||
        options.sampleMilliseconds <= 0) {
        return usage("PROGRAM is required; --dpi, --sample-ms and --timeout take positive numbers");
    }

    tav::e2e::Checks checks;
    tav::e2e::Drive drive(options, checks);
    drive.run();
    if (!options.seen.empty() && !writeSeen(options.seen, drive.seen())) {
        checks.fail("write " + options.seen);
    }
    std::printf("%d checks passed, %d failed\n", checks.passes(), checks.failures());
    return checks.failures() == 0 ? 0 : 1;
}
