#include "tools/sweep/fault_sweep.h"

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/run_checks.h"
#include "testbed/harness_session/session.h"
#include "tools/sweep/fault_variants.h"

namespace tav::sweep {
namespace {

const std::vector<session::Action> processOnly{session::Action::process};

session::SessionOutcome runVariant(const SceneJson& scene, std::string_view name) {
    return session::runSession(sim::parseScene(scene.dump(), name), processOnly);
}

void check(SweepResult& result, const session::SessionOutcome& outcome,
           const session::InjectedFault& fault, const std::string& label) {
    for (std::string& problem : session::checkRun(outcome, fault)) {
        result.findings.push_back({label, std::move(problem)});
    }
}

}  // namespace

SweepResult sweepScene(std::string_view sceneText, std::string_view name,
                       const SweepOptions& options) {
    sim::parseScene(sceneText, name);  // refuses with the loader's own message
    const SceneJson scene = withFailCall(SceneJson::parse(sceneText), std::nullopt);

    SweepResult result;
    const session::SessionOutcome clean = runVariant(scene, name);
    result.cleanHostCalls = clean.hostCalls;
    check(result, clean, {}, "no fault");

    if (options.failCalls) {
        const std::int32_t stride = std::max<std::int32_t>(options.callStride, 1);
        for (std::int32_t call = 1; call <= clean.hostCalls; call += stride) {
            const SceneJson variant = withFailCall(scene, call);
            if (options.variants) {
                options.variants("failcall-" + std::to_string(call), variant.dump(1));
            }
            const auto outcome = runVariant(variant, name);
            check(result, outcome, {call}, "failCall " + std::to_string(call));
            ++result.failCallRuns;
        }
    }
    if (options.faultKeys) {
        std::int32_t keyIndex = 0;
        result.faultKeyRuns = forEachFaultKey(
            scene, session::createdStyles(clean),
            [&](const std::string& label, const SceneJson& variant) {
                if (options.variants) {
                    options.variants("key-" + std::to_string(++keyIndex), variant.dump(1));
                }
                check(result, runVariant(variant, name), {}, label);
            });
    }
    return result;
}

}  // namespace tav::sweep
