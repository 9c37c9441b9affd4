// libFuzzer target: a whole session of the tool on any scene the loader
// accepts, with a failing host call of the fuzzer's choosing. Each run must
// end as every run of the fault sweep must (run_checks.h), and its result
// file and terminal report must be written.
//
// Input: the scene's bytes, then optionally a NUL byte and two bytes (little
// endian) that choose the failing call, 0 keeping the scene's own. Scene
// files are seeds as they are.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/run_checks.h"
#include "testbed/harness_session/session.h"
#include "testbed/harness_session/terminal_report.h"
#include "testbed/result_file/result_writer.h"

namespace {

// Host calls numbered beyond this are never reached by a scene the fuzzer
// can write within its input size, so the choice wraps there.
constexpr std::int32_t failCallRange = 4096;

struct FuzzInput {
    std::string_view scene;
    std::optional<std::int32_t> failCall;
};

FuzzInput split(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos || bytes.size() - nul < 3) {
        return {bytes.substr(0, nul), std::nullopt};
    }
    const auto low = static_cast<unsigned char>(bytes[nul + 1]);
    const auto high = static_cast<unsigned char>(bytes[nul + 2]);
    const std::int32_t choice = (low | (high << 8)) % failCallRange;
    return {bytes.substr(0, nul), choice == 0 ? std::nullopt : std::optional(choice)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = split(data, size);
    tav::sim::Scene scene;
    try {
        scene = tav::sim::parseScene(input.scene, "fuzz.scene.json");
    } catch (const tav::sim::SceneError&) {
        return 0;  // the loader fuzzer covers refusals
    }
    if (input.failCall) {
        scene.failCall = input.failCall;
    }
    const std::optional<std::int32_t> failCall = scene.failCall;

    std::ostringstream terminal;
    tav::session::TerminalReport report(terminal, false);
    const tav::session::SessionOutcome outcome =
        tav::session::runSession(std::move(scene), {tav::session::Action::process},
                                 [&](const tav::result::Event& event) { report.onEvent(event); });
    report.summary(outcome);
    std::ostringstream result;
    tav::result::writeResultFile(result, outcome);

    const auto problems = tav::session::checkRun(outcome, {failCall});
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "unsound run: %s\n", problem.c_str());
    }
    if (!problems.empty()) {
        std::abort();
    }
    return 0;
}
