// tavrelmondix-sweep SCENE.json... [--calls-only | --keys-only] [--every N]
//                    [--write-variants DIR]
//
// Runs each scene once clean, then once per failing host call and once per
// fault key on each object that has it, and checks that every run ends in a
// defined way with Solid Edge given back. Prints one line per scene and one
// per problem. Exit status: 0 when every run was sound, 1 when a run was
// not, 2 for a usage error or a refused scene.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "host/sim/scene_error.h"
#include "testbed/harness_session/terminal_text.h"
#include "tools/sweep/fault_sweep.h"

namespace {

constexpr int problemsFound = 1;
constexpr int usageError = 2;

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return in.good() || in.eof();
}

}  // namespace

int main(int argc, char** argv) {
    using tav::session::printable;
    CLI::App cli{
        "Runs Tavrelmondix on each scene once per failing host call and once per fault "
        "key, and checks that every run ends cleanly.",
        "tavrelmondix-sweep"};
    std::vector<std::string> scenes;
    bool callsOnly = false;
    bool keysOnly = false;
    std::int32_t every = 1;
    cli.add_option("SCENES", scenes, "Scene files (tavrelmondix-scene/1)")->required();
    cli.add_flag("--calls-only", callsOnly, "Only the failing host calls");
    cli.add_flag("--keys-only", keysOnly, "Only the fault keys");
    cli.add_option("--every", every, "Only every N-th host call index (a bounded sweep)")
        ->check(CLI::PositiveNumber);
    std::string variantsFolder;
    cli.add_option("--write-variants", variantsFolder,
                   "Also write every scene variant run into this folder, as "
                   "NAME.failcall-N.scene.json and NAME.key-N.scene.json, to run them elsewhere")
        ->check(CLI::ExistingDirectory);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return cli.exit(help);
    } catch (const CLI::ParseError& error) {
        cli.exit(error);
        return usageError;
    }
    if (callsOnly && keysOnly) {
        std::cerr << "tavrelmondix-sweep: --calls-only and --keys-only exclude each other\n";
        return usageError;
    }
    tav::sweep::SweepOptions options{!keysOnly, !callsOnly, every, {}};

    const auto started = std::chrono::steady_clock::now();
    std::int64_t runs = 0;
    std::size_t problems = 0;
    for (const std::string& path : scenes) {
        std::string text;
        if (!readFile(path, text)) {
            std::cerr << printable(path) << ": cannot be read\n";
            return usageError;
        }
        if (!variantsFolder.empty()) {
            const std::string base = std::filesystem::path(path).stem().stem().string();
            options.variants = [&, base](const std::string& name, const std::string& sceneText) {
                const std::filesystem::path file =
                    std::filesystem::path(variantsFolder) / (base + "." + name + ".scene.json");
                std::ofstream(file, std::ios::binary) << sceneText;
            };
        }
        tav::sweep::SweepResult result;
        try {
            result = tav::sweep::sweepScene(text, path, options);
        } catch (const tav::sim::SceneError& error) {
            std::cerr << printable(error.what()) << '\n';
            return usageError;
        }
        for (const tav::sweep::SweepFinding& finding : result.findings) {
            std::cout << printable(path) << ": " << printable(finding.fault) << ": "
                      << printable(finding.problem) << '\n';
        }
        const std::int64_t sceneRuns = 1 + result.failCallRuns + result.faultKeyRuns;
        std::cout << printable(path) << ": " << sceneRuns << " runs (" << result.failCallRuns
                  << " failing calls of " << result.cleanHostCalls << ", " << result.faultKeyRuns
                  << " fault keys), "
                  << (result.findings.empty()
                          ? "all sound"
                          : std::to_string(result.findings.size()) + " problems")
                  << '\n';
        runs += sceneRuns;
        problems += result.findings.size();
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << scenes.size() << " scenes, " << runs << " runs in " << seconds << " s, "
              << problems << " problems\n";
    return problems == 0 ? 0 : problemsFound;
}
