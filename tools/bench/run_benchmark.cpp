// Cost of whole runs and of the pairing pass as drawings grow. A run's own
// cost should grow linearly with the number of parts and members.
#include <string>

#include <benchmark/benchmark.h>

#include "engine/pairing.h"
#include "host/sim/scene_loader.h"
#include "testbed/harness_session/session.h"
#include "testbed/scene_generators/generated_scene.h"

namespace {

void wholeRun(benchmark::State& state) {
    const int subassemblies = static_cast<int>(state.range(0));
    const std::string json = tav::scenegen::generatedScene(subassemblies, 100).dump();
    const tav::sim::Scene scene = tav::sim::parseScene(json, "generated");
    const std::vector<tav::session::Action> actions{tav::session::Action::process};
    std::int32_t hostCalls = 0;
    for (auto _ : state) {
        auto outcome = tav::session::runSession(scene, actions);
        hostCalls = outcome.hostCalls;
        benchmark::DoNotOptimize(hostCalls);
    }
    state.SetComplexityN(subassemblies * 100);
    state.counters["parts"] = subassemblies * 100;
    state.counters["hostCalls"] = hostCalls;
}
BENCHMARK(wholeRun)->RangeMultiplier(2)->Range(8, 64)->Unit(benchmark::kMillisecond)->Complexity();

tav::engine::RunTables manyRecords(int count) {
    tav::engine::RunTables tables;
    for (int i = 0; i < count; ++i) {
        auto& part = tables.parts.append();
        part.assemblyPath =
            u"/Unit" + std::u16string(1, static_cast<char16_t>(u'A' + i % 20)) + u".asm";
        part.fileName =
            u"Part" + std::u16string(1, static_cast<char16_t>(u'a' + (i / 20) % 26)) + u".par";
        part.color = i;
        auto& member = tables.members.append();
        member.assemblyPath = part.assemblyPath;
        member.fileName = part.fileName;
        member.color = -1;
    }
    return tables;
}

void pairing(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        tav::engine::RunTables tables = manyRecords(count);
        state.ResumeTiming();
        tav::engine::pairMembers(tables);
        benchmark::DoNotOptimize(tables.members.at(1).color);
    }
    state.SetComplexityN(count);
}
BENCHMARK(pairing)->RangeMultiplier(4)->Range(256, 32767)->Complexity();

}  // namespace

BENCHMARK_MAIN();
