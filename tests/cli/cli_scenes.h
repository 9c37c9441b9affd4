// Scenes and runs of the command-line tool for tests: two Drafts of a
// gearbox (one open with three sheets, one on disk) and ways to read what
// the run left.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "testbed/result_file/outcome.h"
#include "tests/support/scenes.h"

namespace tav::test {

// D1 "C:\Work\Gearbox.dft", open and active, sheets: Sheet1 [V1, V2 (a view
// of kind 5)], Sheet2 [V3 "Detail A"] (active), Background1 [V4]. D2
// "C:\Work\Pump.dft" on disk, one sheet [V5]. Every view shows assembly A1:
// Bolt.par red (255), Plate.par blue (16711680).
json gearboxDrafts();

// A folder of the test's own, removed at its end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as Windows names it ("Z:\tmp\...").
    std::string windowsPath() const;
    void write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

struct CliRun {
    std::vector<std::string> arguments = {};
    std::optional<std::int32_t> interruptAtCall = {};
    // Files to put beside the program first (program_settings.txt, ...).
    std::vector<std::pair<std::string, std::string>> programFiles = {};
};

result::Outcome runCli(const json& scene, const CliRun& run);
result::Outcome runCli(const json& scene, std::vector<std::string> arguments);

// The document of that id in the result.
const result::DocumentState& documentOf(const result::Outcome& outcome, const std::string& id);
// "visible|hidden|tangent" of a member, by id.
std::string memberStyles(const result::Outcome& outcome, const std::string& memberId);
// `scene` as `outcome` left it, for a next run: each draft's line styles
// (a created style's parent is its template) and each member's styles.
// Members are found by their index paths ("V1/2/1").
json sceneAfter(json scene, const result::Outcome& outcome);

// The names of a document's line styles, in collection order.
std::vector<std::string> lineStyleNames(const result::DocumentState& document);

// The host calls by name ("Open", "Save", "Close", "Remove") as "object member args".
std::vector<std::string> documentCalls(const result::Outcome& outcome);

}  // namespace tav::test
