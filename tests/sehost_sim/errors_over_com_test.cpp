// Every kind of error the simulated host raises reaches the tool over COM
// with the number and description it has in process, in each form a strict
// host reports errors in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/com/apartment.h"
#include "host/com/com_connector.h"
#include "host/conversions.h"
#include "host/error.h"
#include "host/sim/scene_loader.h"
#include "host/sim/sim_host.h"
#include "platform/utf.h"
#include "server_process.h"
#include "testbed/server_process/error_object_channel.h"

namespace tav::sehost::test {
namespace {

namespace ids = host::dispatch;
using host::ObjectRef;

ObjectRef object(const host::Value& value) {
    return host::toObject(value);
}

// The objects the operations below fail on, fetched afresh for each.
struct Objects {
    ObjectRef application;
    ObjectRef draft() const { return object(application.get(ids::application::activeDocument)); }
    ObjectRef selectedDimension() const {
        return object(object(draft().get(ids::draftDocument::selectSetName)).item(std::int16_t{1}));
    }
    ObjectRef view(std::int16_t index) const {
        const ObjectRef sheet = object(draft().get(ids::draftDocument::activeSheet));
        return object(object(sheet.get(ids::sheet::drawingViews)).item(index));
    }
    ObjectRef occurrence(std::int16_t index) const {
        const ObjectRef model = object(view(1).get(ids::drawingView::modelReference));
        const ObjectRef assembly = object(model.get(ids::modelReference::modelDocument));
        return object(object(assembly.get(ids::assemblyDocument::occurrences)).item(index));
    }
    ObjectRef lineStyles() const { return object(draft().get(ids::draftDocument::lineStyles)); }
    // The first member below the view's root.
    ObjectRef member() const {
        const ObjectRef root =
            object(object(view(1).get(ids::drawingView::modelMembers)).item(std::int16_t{1}));
        return object(object(root.get(ids::modelMember::children)).item(std::int16_t{1}));
    }
};

struct Operation {
    const char* what;
    std::function<void(const Objects&)> run;
};

void addLineStyle(const Objects& on, const char16_t* name) {
    std::array<host::Argument, 2> args{host::byValue(name), host::byReference(u"Normal")};
    on.lineStyles().call(ids::lineStyles::add, args);
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> all{
        {"a fault key of a selected object",
         [](const Objects& on) { on.selectedDimension().get(ids::selectSet::typeName); }},
        {"a property the selected object has not",
         [](const Objects& on) {
             on.selectedDimension().get(ids::selectSet::drawingViewTypeName);
         }},
        {"an item past the end of a collection",
         [](const Objects& on) {
             object(on.draft().get(ids::draftDocument::selectSet)).item(std::int16_t{9});
         }},
        {"a view without a model reference",
         [](const Objects& on) { on.view(2).get(ids::drawingView::modelReference); }},
        {"a fault key of an occurrence style",
         [](const Objects& on) {
             object(on.occurrence(1).get(ids::occurrence::style))
                 .get(ids::occurrence::diffuseRedName);
         }},
        {"a fault key of a part document",
         [](const Objects& on) {
             std::array<host::Argument, 1> first{host::byValue(std::int16_t{1})};
             object(on.occurrence(2).get(ids::occurrence::partDocument))
                 .get(ids::occurrence::modelsName, first);
         }},
        {"a line style the draft has not",
         [](const Objects& on) { on.lineStyles().item(u"Nope"); }},
        {"a line style the draft has already",
         [](const Objects& on) { addLineStyle(on, u"Normal"); }},
        {"a fault key of the line styles", [](const Objects& on) { addLineStyle(on, u"Broken"); }},
        {"an edge style the draft has not",
         [](const Objects& on) { on.member().put(ids::modelMember::visibleEdgeStyle, u"Nope"); }},
        {"a fault key of a model member",
         [](const Objects& on) { on.member().put(ids::modelMember::hiddenEdgeStyle, u"Normal"); }},
        {"a dispatch id the object has not",
         [](const Objects& on) { on.draft().get(host::DispId{12345}); }},
        {"a name the object has not",
         [](const Objects& on) { on.draft().get(ids::occurrence::bodyName); }},
        // The scene's failCall is this operation's own call (its last).
        {"the failing call",
         [](const Objects& on) { on.application.get(ids::application::activeDocument); }},
    };
    return all;
}

struct Seen {
    std::int32_t number = 0;
    std::u16string description;
    bool operator==(const Seen&) const = default;
};

// What each operation raised, and the host calls made in all.
struct Raised {
    std::vector<std::optional<Seen>> errors;
    std::int32_t lastCall = 0;
};

Raised raiseEach(host::HostConnector& connector, const std::function<std::int32_t()>& calls) {
    Raised run;
    Objects on{connector.getRunning(host::hostProgId).as(ids::application::iid)};
    for (const Operation& operation : operations()) {
        std::optional<Seen> seen;
        try {
            operation.run(on);
        } catch (const host::AutomationError& error) {
            seen = Seen{error.number(), error.description()};
        }
        run.errors.push_back(seen);
    }
    run.lastCall = calls();
    return run;
}

// The scene with the failing call and how strict a host the server plays.
std::wstring writeScene(const std::string& name, std::int32_t failCall, const nlohmann::json& com) {
    std::ifstream in(std::filesystem::path(sceneFile("every-error.scene.json")));
    nlohmann::json scene = nlohmann::json::parse(in);
    scene["failCall"] = failCall;
    scene["com"] = com;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path) << scene.dump(1);
    return path.wstring();
}

Raised inProcess(const std::wstring& scene) {
    sim::SimHost host(sim::loadScene(std::filesystem::path(scene)), {});
    return raiseEach(host.connector(), [&] { return host.inspector().hostCalls(); });
}

Raised overCom(const std::wstring& scene) {
    platform::ChildProcess server = startServer({scene});
    EXPECT_TRUE(waitReady(server));
    Raised run;
    {
        com::Apartment apartment;
        serverprocess::carryErrorObjectsAcrossProcesses();
        com::ComConnector connector(apartment.calls());
        run = raiseEach(connector, [&] { return connector.hostCalls(); });
    }
    server.closeInput();
    EXPECT_EQ(waitExit(server), 0) << server.errorOutputSoFar();
    return run;
}

class EveryErrorOverCom : public testing::TestWithParam<const char*> {};

TEST_P(EveryErrorOverCom, ReachesTheToolAsInProcess) {
    const nlohmann::json com = nlohmann::json::parse(GetParam());
    // Where the last operation's call falls: the calls before it, plus one.
    const Raised counted = inProcess(writeScene("every-error-count.scene.json", 100000, com));
    const std::wstring scene = writeScene("every-error.scene.json", counted.lastCall, com);
    const Raised expected = inProcess(scene);
    const Raised actual = overCom(scene);
    ASSERT_EQ(actual.errors.size(), operations().size());
    for (std::size_t i = 0; i < operations().size(); ++i) {
        SCOPED_TRACE(operations()[i].what);
        ASSERT_TRUE(expected.errors[i]) << "the operation raised nothing in process";
        ASSERT_TRUE(actual.errors[i]) << "the operation raised nothing over COM";
        EXPECT_EQ(actual.errors[i]->number, expected.errors[i]->number);
        EXPECT_EQ(platform::toUtf8(actual.errors[i]->description),
                  platform::toUtf8(expected.errors[i]->description));
    }
    EXPECT_EQ(expected.errors.back()->description,
              u"Simulated failure: call " + platform::toUtf16(std::to_string(counted.lastCall)));
    EXPECT_EQ(actual.lastCall, expected.lastCall);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EveryErrorOverCom,
    testing::Values(R"({"errors": "exception"})", R"({"errors": "deferred"})",
                    R"({"errors": "direct"})",
                    R"({"names": "perInterface", "numbers": "varied", "errors": "direct"})"));

}  // namespace
}  // namespace tav::sehost::test
