#include "tests/cli/cli_scenes.h"

#include <fstream>
#include <random>

#include "app/cli/system_file_system.h"
#include "platform/utf.h"
#include "testbed/harness_session/cli_session.h"

namespace tav::test {

json gearboxDrafts() {
    auto view = [](const char* id, std::vector<json> parts) {
        json children = json::array();
        for (json& part : parts) {
            children.push_back(std::move(part));
        }
        return json{{"id", id},
                    {"model", {{"file", "C:\\Work\\Gearbox.asm"}, {"document", "A1"}}},
                    {"root", {{"children", children}}}};
    };
    const json bolt = {{"type", 1}, {"name", "Bolt.par"}};
    const json plate = {{"type", 1}, {"name", "Plate.par"}};
    json scene = {
        {"format", "tavrelmondix-scene/1"},
        {"host", {{"running", true}}},
        {"activeDocument", "D1"},
        {"documents",
         {{"D1",
           {{"kind", "draft"},
            {"path", "C:\\Work\\Gearbox.dft"},
            {"activeSheet", 2},
            {"sheets",
             {{{"name", "Sheet1"}, {"drawingViews", {"V1", "V2"}}},
              {{"name", "Sheet2"}, {"drawingViews", {"V3"}}},
              {{"name", "Background1"}, {"section", "background"}, {"drawingViews", {"V4"}}}}},
            {"selection", json::array()},
            {"lineStyles", {{{"name", "Normal"}, {"color", 0}}}}}},
          {"D2",
           {{"kind", "draft"},
            {"path", "C:\\Work\\Pump.dft"},
            {"open", false},
            {"drawingViews", {"V5"}},
            {"lineStyles", {{{"name", "Normal"}, {"color", 0}}}}}},
          {"A1",
           {{"kind", "assembly"},
            {"occurrences",
             {{{"file", "C:\\Work\\Bolt.par"}, {"style", {{"r", 1}, {"g", 0}, {"b", 0}}}},
              {{"file", "C:\\Work\\Plate.par"},
               {"faceStyle", {{"r", 0}, {"g", 0}, {"b", 1}}}}}}}}}},
        {"drawingViews",
         {view("V1", {bolt}), view("V2", {bolt}), view("V3", {plate}), view("V4", {plate}),
          view("V5", {bolt, plate})}}};
    scene["drawingViews"][1]["drawingViewType"] = 5;
    scene["drawingViews"][2]["name"] = "Detail A";
    return scene;
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    for (;;) {
        path_ =
            std::filesystem::temp_directory_path() / ("tav-cli-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_)) {
            break;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::windowsPath() const {
    return platform::toUtf8(cli::windowsPathOf(path_));
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << bytes;
}

result::Outcome runCli(const json& scene, const CliRun& run) {
    ScratchFolder programFolder;
    for (const auto& [name, bytes] : run.programFiles) {
        programFolder.write(name, bytes);
    }
    session::CliSessionOptions options;
    options.programFolder = programFolder.path();
    options.interruptAtCall = run.interruptAtCall;
    for (const std::string& argument : run.arguments) {
        options.arguments.push_back(platform::toUtf16(argument));
    }
    return session::runCliSession(sceneFrom(scene), options);
}

result::Outcome runCli(const json& scene, std::vector<std::string> arguments) {
    return runCli(scene, CliRun{.arguments = std::move(arguments)});
}

const result::DocumentState& documentOf(const result::Outcome& outcome, const std::string& id) {
    for (const result::DocumentState& document : outcome.documents) {
        if (document.id == id) {
            return document;
        }
    }
    throw std::out_of_range("no document " + id);
}

std::string memberStyles(const result::Outcome& outcome, const std::string& memberId) {
    for (const result::PartMemberState& member : outcome.partMembers) {
        if (member.id == memberId) {
            return member.visible + "|" + member.hidden + "|" + member.tangent;
        }
    }
    return "(no member " + memberId + ")";
}

namespace {

json* memberAtPath(json& scene, const std::string& id) {
    const std::size_t slash = id.find('/');
    if (slash == std::string::npos) {
        return nullptr;
    }
    const std::string viewId = id.substr(0, slash);
    for (json& view : scene["drawingViews"]) {
        if (view["id"] != viewId) {
            continue;
        }
        json* member = &view["root"];
        std::size_t at = slash + 1;
        while (at <= id.size()) {
            const std::size_t next = std::min(id.find('/', at), id.size());
            const std::size_t index = std::stoul(id.substr(at, next - at));
            member = &(*member)["children"].at(index - 1);
            at = next + 1;
        }
        return member;
    }
    return nullptr;
}

}  // namespace

json sceneAfter(json scene, const result::Outcome& outcome) {
    for (const result::DocumentState& document : outcome.documents) {
        json& sceneDocument = scene["documents"][document.id];
        if (sceneDocument["kind"] != "draft") {
            continue;
        }
        json styles = json::array();
        for (const result::LineStyleState& style : document.lineStyles) {
            json entry = {{"name", style.name}, {"color", style.color}};
            if (style.templateName) {
                entry["parent"] = *style.templateName;
            } else {
                for (const json& before : sceneDocument["lineStyles"]) {
                    if (before["name"] == style.name && before.contains("parent")) {
                        entry["parent"] = before["parent"];
                    }
                }
            }
            styles.push_back(std::move(entry));
        }
        sceneDocument["lineStyles"] = std::move(styles);
    }
    for (const result::PartMemberState& member : outcome.partMembers) {
        if (json* found = memberAtPath(scene, member.id)) {
            (*found)["styles"] = {{"visible", member.visible},
                                  {"hidden", member.hidden},
                                  {"tangent", member.tangent}};
        }
    }
    return scene;
}

std::vector<std::string> lineStyleNames(const result::DocumentState& document) {
    std::vector<std::string> names;
    for (const result::LineStyleState& style : document.lineStyles) {
        names.push_back(style.name);
    }
    return names;
}

std::vector<std::string> documentCalls(const result::Outcome& outcome) {
    std::vector<std::string> calls;
    for (const json& event : eventsOf(outcome, "host")) {
        if (event["host"] == "call" && event["member"].is_string()) {
            calls.push_back(event["object"].get<std::string>() + " " +
                            event["member"].get<std::string>() + " " + event["args"].dump() +
                            (event["ok"].get<bool>() ? "" : " failed"));
        }
    }
    return calls;
}

}  // namespace tav::test
