// The result file's fields for documents, alerts and command-line runs: when
// they are written, in what layout, and that they read back and merge as the
// older fields do.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "sim_named_calls.h"
#include "sim_test_calls.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/event_log.h"
#include "testbed/result_file/event_merge.h"
#include "testbed/result_file/result_reader.h"
#include "testbed/result_file/result_writer.h"

namespace tav::sim {
namespace {

using namespace test_support;
using nlohmann::ordered_json;

Json sheetsScene() {
    Json scene = baseScene();
    Json& draft = scene["documents"]["D1"];
    draft.erase("drawingViews");
    draft["path"] = "C:\\W\\D1.dft";
    draft["sheets"] = Json::parse(R"([{"name": "Sheet1", "drawingViews": ["V1", "V2"]},
        {"name": "Sheet2"}])");
    scene["documents"]["P1"]["path"] = "C:\\W\\P1.par";
    scene["documents"]["P1"]["open"] = false;
    return scene;
}

std::vector<std::string> keysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

// A short session by name: DisplayAlerts off, a style made, the draft saved,
// the part opened.
std::vector<result::HostEvent> workOn(RecordingHost& h) {
    putNamed(h.app, u"DisplayAlerts", false);
    host::ObjectRef draft = activeDraft(h);
    std::vector<host::Argument> args{host::byValue(text(u"Red")), host::byValue(text(u"Normal"))};
    object(draft.get(ids::draftDocument::lineStyles)).call(ids::lineStyles::add, args);
    callNamed(draft, u"Save");
    callNamed(object(getNamed(h.app, u"Documents")), u"Open", {text(u"C:\\W\\P1.par")});
    return h.events;
}

std::string fileOf(const result::WindowOutcome& window, const result::HostOutcome& host,
                   const std::vector<result::HostEvent>& events) {
    result::EventLog log;
    for (const result::HostEvent& event : events) {
        log.add(event);
    }
    std::ostringstream out;
    result::writeResultFile(out, window, &host, std::nullopt, log);
    return out.str();
}

TEST(DocumentResults, ASceneWithSheetsTellsOfEveryDocument) {
    RecordingHost h(sheetsScene());
    std::vector<result::HostEvent> events = workOn(h);
    result::HostOutcome host = result::hostOutcomeOf(h.host->inspector());
    result::WindowOutcome window;
    window.end = app::ProgramEnd::finished;
    const ordered_json file = ordered_json::parse(fileOf(window, host, events));

    EXPECT_EQ(keysOf(file), (std::vector<std::string>{
                                "format", "end", "hostCalls", "heldReferences", "host", "selection",
                                "lineStyles", "members", "documents", "window", "events"}));
    EXPECT_EQ(keysOf(file["host"]),
              (std::vector<std::string>{"properties", "commands", "displayAlerts"}));
    EXPECT_EQ(file["host"]["displayAlerts"], false);
    EXPECT_EQ(file["documents"], ordered_json::parse(R"([
      {"id": "A1", "path": "", "open": true, "active": false, "saves": 0, "unsaved": false},
      {"id": "D1", "path": "C:\\W\\D1.dft", "open": true, "active": false, "saves": 1,
       "unsaved": false, "activeSheet": 1, "selection": ["V2", "dim7"],
       "lineStyles": [{"name": "Normal", "color": 0, "template": null},
                      {"name": "Hidden", "color": 7, "template": null},
                      {"name": "Red", "color": 0, "template": "Normal"}]},
      {"id": "P1", "path": "C:\\W\\P1.par", "open": true, "active": true, "saves": 0,
       "unsaved": false}
    ])"));
    EXPECT_EQ(file["events"], ordered_json::parse(R"([
      {"host": "put", "object": "host", "member": "DisplayAlerts", "value": false, "ok": true},
      {"host": "call", "object": "lineStyles", "member": 100, "args": ["Red", "Normal"],
       "ok": true},
      {"host": "call", "object": "document:D1", "member": "Save", "args": [], "ok": true},
      {"host": "call", "object": "documents", "member": "Open", "args": ["C:\\W\\P1.par"],
       "ok": true}
    ])"));
}

TEST(DocumentResults, AClosedDocumentShowsItsSavedStateAndNoUnsavedFlag) {
    RecordingHost h(sheetsScene());
    host::ObjectRef draft = activeDraft(h);
    child(rootMember(h, 1), 1).put(ids::modelMember::visibleEdgeStyle, text(u"Hidden"));
    EXPECT_EQ(h.host->inspector().documents()[1].unsaved, true);
    callNamed(draft, u"Close", {false});
    result::HostOutcome host = result::hostOutcomeOf(h.host->inspector());
    const ordered_json file = ordered_json::parse(fileOf({}, host, h.events));
    const ordered_json& closed = file["documents"][1];
    EXPECT_EQ(closed["open"], false);
    EXPECT_FALSE(closed.contains("unsaved"));
    EXPECT_EQ(file["members"][0]["visible"], "Normal");
    EXPECT_EQ(file["events"][1]["member"], "Close");
    EXPECT_EQ(file["events"][1]["args"], ordered_json::array({false}));
}

TEST(DocumentResults, OldScenesLeaveTheNewFieldsOutUnlessTheRunIsACommandLineRun) {
    RecordingHost h(baseScene());
    const ordered_json windowRun =
        ordered_json::parse(fileOf({}, result::hostOutcomeOf(h.host->inspector()), {}));
    EXPECT_FALSE(windowRun.contains("documents"));
    EXPECT_FALSE(windowRun["host"].contains("displayAlerts"));

    result::WindowOutcome cliRun;
    cliRun.cli = result::CliOutcome{
        3,
        {"Läuft", "done"},
        std::nullopt,
        std::vector<std::vector<std::string>>{{"File", "Sheet"}, {"a.dft", "Sheet1"}}};
    const ordered_json file =
        ordered_json::parse(fileOf(cliRun, result::hostOutcomeOf(h.host->inspector(), true), {}));
    EXPECT_EQ(keysOf(file), (std::vector<std::string>{
                                "format", "end", "hostCalls", "heldReferences", "host", "selection",
                                "lineStyles", "members", "documents", "cli", "events"}));
    EXPECT_EQ(file["end"], "cli");
    EXPECT_EQ(file["host"]["displayAlerts"], true);
    EXPECT_EQ(file["documents"].size(), 3u);
    EXPECT_EQ(file["cli"], ordered_json::parse(R"({"exitCode": 3, "stdout": ["Läuft", "done"],
        "errorMessages": null, "report": [["File", "Sheet"], ["a.dft", "Sheet1"]]})"));

    cliRun.cli->errorMessages = std::vector<std::string>{"one"};
    cliRun.cli->report.reset();
    const ordered_json second =
        ordered_json::parse(fileOf(cliRun, result::hostOutcomeOf(h.host->inspector(), true), {}));
    EXPECT_EQ(second["cli"]["errorMessages"], ordered_json::array({"one"}));
    EXPECT_TRUE(second["cli"]["report"].is_null());
}

TEST(DocumentResults, TheWindowOnASceneWithSheetsRunsAsOnItsSheet1) {
    // The same drawing given by sheets: the same run, and the document fields.
    Json withSheets = baseScene();
    withSheets["documents"]["D1"].erase("drawingViews");
    withSheets["documents"]["D1"]["sheets"] =
        Json::parse(R"([{"name": "Sheet1", "drawingViews": ["V1", "V2"]}])");
    auto run = [](const Json& scene) {
        session::SessionOutcome outcome = session::runSession(
            parseScene(scene.dump(), "s.json"), session::parseActions("process,exit"));
        std::ostringstream out;
        result::writeResultFile(out, outcome);
        return ordered_json::parse(out.str());
    };
    ordered_json plain = run(baseScene());
    ordered_json sheets = run(withSheets);
    EXPECT_FALSE(plain.contains("documents"));
    ASSERT_TRUE(sheets.contains("documents"));
    sheets.erase("documents");
    sheets["host"].erase("displayAlerts");
    EXPECT_EQ(sheets, plain);
}

}  // namespace
}  // namespace tav::sim
