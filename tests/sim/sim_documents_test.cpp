// Sheets and sections, documents on disk opened, saved and closed, alerts,
// line-style parents and removal: what the tool observes through the
// simulated host's members called by name.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim_named_calls.h"
#include "sim_test_calls.h"

namespace tav::sim {
namespace {

using namespace test_support;

Json documentsScene() {
    return Json::parse(R"({
      "format": "tavrelmondix-scene/1",
      "host": {"running": true},
      "activeDocument": "D1",
      "documents": {
        "D1": {"kind": "draft", "path": "C:\\Work\\Gearbox.dft", "activeSheet": 2,
               "sheets": [{"name": "Sheet1", "drawingViews": ["V1"]},
                          {"name": "Sheet2", "drawingViews": ["V2"]},
                          {"name": "Background1", "section": "background"}],
               "selection": [{"ref": "V1"}],
               "lineStyles": [{"name": "Normal", "color": 0},
                              {"name": "Hidden", "color": 7, "parent": "Normal"},
                              {"name": "Spare", "color": 3}]},
        "D2": {"kind": "draft", "path": "C:\\Work\\Pump.dft", "open": false,
               "drawingViews": ["V3"], "lineStyles": [{"name": "Normal", "color": 0}]},
        "D3": {"kind": "draft", "path": "C:\\Work\\Locked.dft", "open": false, "readOnly": true,
               "lineStyles": [{"name": "Normal", "color": 0}]},
        "A1": {"kind": "assembly", "path": "C:\\Work\\Top.asm"}
      },
      "drawingViews": [
        {"id": "V1", "name": "Front", "model": null, "root": {"children": [
          {"type": 1, "name": "Bolt.par", "styles": {"visible": "Hidden"}}]}},
        {"id": "V2", "model": null, "root": {"children": [{"type": 1, "name": "Nut.par"}]}},
        {"id": "V3", "model": null, "root": {"children": [{"type": 1, "name": "Pump.par"}]}}
      ]
    })");
}

std::u16string textOf(const host::Value& value) {
    return host::toText(value);
}
std::int32_t countOf(const host::ObjectRef& collection) {
    return host::toInt32(getNamed(collection, u"Count"));
}
host::ObjectRef documentsOf(const RecordingHost& h) {
    return object(getNamed(h.app, u"Documents"));
}
host::ObjectRef openFile(const RecordingHost& h, std::u16string_view path) {
    return object(callNamed(documentsOf(h), u"Open", {text(path)}));
}
std::u16string activeName(const RecordingHost& h) {
    return textOf(getNamed(activeDraft(h), u"FullName"));
}
result::DocumentState documentState(const std::vector<result::DocumentState>& all,
                                    const std::string& id) {
    for (const result::DocumentState& state : all) {
        if (state.id == id) {
            return state;
        }
    }
    throw std::runtime_error("no document " + id);
}
std::vector<std::string> styleNames(const result::DocumentState& state) {
    std::vector<std::string> names;
    for (const result::LineStyleState& style : state.lineStyles) {
        names.push_back(style.name);
    }
    return names;
}
host::ObjectRef lineStylesOf(const host::ObjectRef& draft) {
    return object(draft.get(ids::draftDocument::lineStyles));
}
host::ObjectRef createStyle(const host::ObjectRef& draft, std::u16string_view name,
                            std::u16string_view templateName) {
    std::vector<host::Argument> args{host::byValue(text(name)), host::byValue(text(templateName))};
    return object(lineStylesOf(draft).call(ids::lineStyles::add, args));
}

TEST(SimSheets, SheetsAndSectionsReadInOrder) {
    RecordingHost h(documentsScene());
    host::ObjectRef draft = activeDraft(h);
    host::ObjectRef active = object(draft.get(ids::draftDocument::activeSheet));
    EXPECT_EQ(textOf(getNamed(active, u"Name")), u"Sheet2");

    host::ObjectRef all = object(getNamed(draft, u"Sheets"));
    EXPECT_EQ(countOf(all), 3);
    EXPECT_EQ(textOf(getNamed(object(getNamed(all, u"Item", {number(3)})), u"Name")),
              u"Background1");
    EXPECT_EQ(hostErrorOf([&] { getNamed(all, u"Item", {number(4)}); }),
              u"Index 4 is out of range (1 to 3)");

    host::ObjectRef sections = object(getNamed(draft, u"sections"));  // letter case ignored
    host::ObjectRef working =
        object(getNamed(object(getNamed(sections, u"WorkingSection")), u"Sheets"));
    host::ObjectRef background =
        object(getNamed(object(getNamed(sections, u"BackgroundSection")), u"Sheets"));
    EXPECT_EQ(countOf(working), 2);
    EXPECT_EQ(countOf(background), 1);
    EXPECT_EQ(textOf(getNamed(object(getNamed(background, u"Item", {number(1)})), u"Name")),
              u"Background1");

    // The first sheet's views by name, the active one's by dispatch id.
    host::ObjectRef first = object(getNamed(working, u"Item", {number(1)}));
    host::ObjectRef firstViews = object(getNamed(first, u"DrawingViews"));
    EXPECT_EQ(host::toInt32(firstViews.get(ids::drawingViews::count)), 1);
    EXPECT_EQ(textOf(getNamed(object(firstViews.item(number(1))), u"Name")), u"Front");
    host::ObjectRef activeViews = object(active.get(ids::sheet::drawingViews));
    EXPECT_EQ(textOf(getNamed(object(activeViews.item(number(1))), u"Name")), u"V2");
    EXPECT_EQ(host::toInt32(object(getNamed(background, u"Item", {number(1)}))
                                .get(ids::sheet::drawingViews)
                                .getIf<host::ObjectRef>()
                                ->get(ids::drawingViews::count)),
              0);
}

TEST(SimSheets, SheetFaultsFailTheirOwnSheetOnly) {
    Json scene = documentsScene();
    scene["documents"]["D1"]["sheets"][0]["fail"] = {"drawingViews", "name"};
    RecordingHost h(scene);
    host::ObjectRef all = object(getNamed(activeDraft(h), u"Sheets"));
    host::ObjectRef first = object(getNamed(all, u"Item", {number(1)}));
    EXPECT_EQ(hostErrorOf([&] { first.get(ids::sheet::drawingViews); }),
              u"Simulated failure: drawingViews");
    EXPECT_EQ(hostErrorOf([&] { getNamed(first, u"Name"); }), u"Simulated failure: name");
    host::ObjectRef second = object(getNamed(all, u"Item", {number(2)}));
    EXPECT_EQ(textOf(getNamed(second, u"Name")), u"Sheet2");
}

TEST(SimDocuments, OpenFaults) {
    Json scene = documentsScene();
    scene["documents"]["D2"]["fail"] = {"open"};
    RecordingHost h(scene);
    EXPECT_EQ(hostErrorOf([&] { openFile(h, u"C:\\Work\\Pump.dft"); }), u"Simulated failure: open");
    EXPECT_FALSE(documentState(h.host->inspector().documents(), "D2").open);

    Json hostFaults = documentsScene();
    hostFaults["host"]["fail"] = {"documents.open", "documents.item"};
    RecordingHost g(hostFaults);
    EXPECT_EQ(hostErrorOf([&] { openFile(g, u"C:\\Work\\Pump.dft"); }),
              u"Simulated failure: documents.open");
    EXPECT_EQ(hostErrorOf([&] { getNamed(documentsOf(g), u"Item", {number(1)}); }),
              u"Simulated failure: documents.item");

    Json noDocuments = documentsScene();
    noDocuments["host"]["fail"] = {"documents"};
    RecordingHost n(noDocuments);
    EXPECT_EQ(hostErrorOf([&] { documentsOf(n); }), u"Simulated failure: documents");
}

TEST(SimDocuments, SaveCountsAndRefusesAReadOnlyDocument) {
    RecordingHost h(documentsScene());
    host::ObjectRef locked = openFile(h, u"C:\\Work\\Locked.dft");
    EXPECT_TRUE(host::toBool(getNamed(locked, u"ReadOnly")));
    EXPECT_EQ(hostErrorOf([&] { callNamed(locked, u"Save"); }),
              u"The document is read-only and cannot be saved");

    host::ObjectRef gearbox = openFile(h, u"C:\\Work\\Gearbox.dft");
    EXPECT_FALSE(host::toBool(getNamed(gearbox, u"ReadOnly")));
    createStyle(gearbox, u"Red", u"Normal");
    EXPECT_EQ(documentState(h.host->inspector().documents(), "D1").unsaved, true);
    callNamed(gearbox, u"Save");
    const auto states = h.host->inspector().documents();
    EXPECT_EQ(documentState(states, "D1").saves, 1);
    EXPECT_EQ(documentState(states, "D1").unsaved, false);
    EXPECT_EQ(documentState(states, "D3").saves, 0);

    const result::HostEvent& refused = h.events[1];
    EXPECT_EQ(refused.object, "document:D3");
    EXPECT_EQ(refused.memberName, "Save");
    EXPECT_EQ(refused.payload, nlohmann::json::array());
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(h.events.back().ok);
    EXPECT_EQ(h.events.back().object, "document:D1");
}

TEST(SimDocuments, FileMemberFaults) {
    Json scene = documentsScene();
    scene["documents"]["D1"]["fail"] = {"save", "fullName", "readOnly", "sections", "sheets"};
    scene["documents"]["A1"]["fail"] = {"close"};
    RecordingHost h(scene);
    host::ObjectRef draft = activeDraft(h);
    EXPECT_EQ(hostErrorOf([&] { callNamed(draft, u"Save"); }), u"Simulated failure: save");
    EXPECT_EQ(hostErrorOf([&] { getNamed(draft, u"FullName"); }), u"Simulated failure: fullName");
    EXPECT_EQ(hostErrorOf([&] { getNamed(draft, u"ReadOnly"); }), u"Simulated failure: readOnly");
    EXPECT_EQ(hostErrorOf([&] { getNamed(draft, u"Sections"); }), u"Simulated failure: sections");
    EXPECT_EQ(hostErrorOf([&] { getNamed(draft, u"Sheets"); }), u"Simulated failure: sheets");
    // Close with SaveChanges saves first, as Save does.
    EXPECT_EQ(hostErrorOf([&] { callNamed(draft, u"Close", {true}); }), u"Simulated failure: save");
    EXPECT_TRUE(documentState(h.host->inspector().documents(), "D1").open);
    host::ObjectRef assembly = object(getNamed(documentsOf(h), u"Item", {number(2)}));
    EXPECT_EQ(hostErrorOf([&] { callNamed(assembly, u"Close", {false}); }),
              u"Simulated failure: close");
}

TEST(SimDocuments, CloseWithoutSavingRevertsAndKillsItsObjects) {
    RecordingHost h(documentsScene());
    host::ObjectRef draft = activeDraft(h);
    host::ObjectRef styles = lineStylesOf(draft);
    createStyle(draft, u"Red", u"Normal");
    host::ObjectRef member = child(rootMember(h, 1), 1);  // V2 on the active sheet
    member.put(ids::modelMember::visibleEdgeStyle, text(u"Red"));
    host::ObjectRef selectSet = object(draft.get(ids::draftDocument::selectSet));
    std::vector<host::Argument> none;
    selectSet.call(ids::selectSet::clear, none);

    callNamed(draft, u"Close", {false});

    const auto states = h.host->inspector().documents();
    const result::DocumentState& closed = documentState(states, "D1");
    EXPECT_FALSE(closed.open);
    EXPECT_FALSE(closed.active);
    EXPECT_EQ(styleNames(closed), (std::vector<std::string>{"Normal", "Hidden", "Spare"}));
    EXPECT_EQ(closed.selection, std::vector<std::string>{"V1"});
    EXPECT_EQ(h.host->inspector().partMembers()[1].visible, "Normal");
    // The assembly, the one still open, is active now.
    EXPECT_TRUE(documentState(states, "A1").active);

    // Every object of the closed document fails now, each call still a host call.
    const std::int32_t before = h.host->inspector().hostCalls();
    EXPECT_EQ(hostErrorOf([&] { draft.get(ids::draftDocument::activeSheet); }),
              u"The object's document has been closed");
    EXPECT_EQ(hostErrorOf([&] { styles.item(text(u"Normal")); }),
              u"The object's document has been closed");
    EXPECT_EQ(hostErrorOf([&] { member.get(ids::modelMember::type); }),
              u"The object's document has been closed");
    EXPECT_EQ(hostErrorOf([&] { selectSet.get(ids::selectSet::count); }),
              u"The object's document has been closed");
    EXPECT_EQ(hostErrorOf([&] { callNamed(draft, u"Save"); }),
              u"The object's document has been closed");
    EXPECT_EQ(h.host->inspector().hostCalls(), before + 5);

    // Opened again it is the document it saved; the old objects stay dead.
    host::ObjectRef again = openFile(h, u"C:\\Work\\Gearbox.dft");
    EXPECT_EQ(activeName(h), u"C:\\Work\\Gearbox.dft");
    EXPECT_EQ(hostErrorOf([&] { draft.get(ids::draftDocument::lineStyles); }),
              u"The object's document has been closed");
    EXPECT_EQ(hostErrorOf([&] { lineStylesOf(again).item(text(u"Red")); }),
              u"No line style named \"Red\"");
    EXPECT_EQ(documentState(h.host->inspector().documents(), "D1").unsaved, false);
}

TEST(SimDocuments, CloseSavingChangesKeepsThem) {
    RecordingHost h(documentsScene());
    host::ObjectRef draft = activeDraft(h);
    createStyle(draft, u"Red", u"Normal");
    callNamed(draft, u"Close", {true});
    const result::DocumentState& closed = documentState(h.host->inspector().documents(), "D1");
    EXPECT_EQ(closed.saves, 1);
    EXPECT_EQ(styleNames(closed), (std::vector<std::string>{"Normal", "Hidden", "Spare", "Red"}));
    ASSERT_FALSE(h.events.empty());
    EXPECT_EQ(h.events.back().memberName, "Close");
    EXPECT_EQ(h.events.back().payload, nlohmann::json::array({true}));

    host::ObjectRef again = openFile(h, u"C:\\Work\\Gearbox.dft");
    EXPECT_EQ(
        host::toInt32(object(lineStylesOf(again).item(text(u"Red"))).get(ids::lineStyle::color)),
        0);
}

TEST(SimDocuments, TheActiveDocumentAfterACloseIsTheLastOpenedStillOpen) {
    RecordingHost h(documentsScene());
    openFile(h, u"C:\\Work\\Pump.dft");
    host::ObjectRef locked = openFile(h, u"C:\\Work\\Locked.dft");
    callNamed(locked, u"Close", {false});
    EXPECT_EQ(activeName(h), u"C:\\Work\\Pump.dft");
    callNamed(activeDraft(h), u"Close");  // SaveChanges left out: False
    // D1 and A1, in scene order: the assembly is the later one.
    host::ObjectRef active = object(h.app.get(ids::application::activeDocument));
    EXPECT_EQ(textOf(getNamed(active, u"FullName")), u"C:\\Work\\Top.asm");
    callNamed(active, u"Close", {false});
    EXPECT_EQ(activeName(h), u"C:\\Work\\Gearbox.dft");
    callNamed(activeDraft(h), u"Close", {false});
    EXPECT_EQ(hostErrorOf([&] { h.app.get(ids::application::activeDocument); }),
              u"No active document");
    EXPECT_EQ(countOf(documentsOf(h)), 0);
}

TEST(SimDocuments, EachDraftHasItsOwnSelectSet) {
    RecordingHost h(documentsScene());
    host::ObjectRef gearbox = activeDraft(h);
    host::ObjectRef pump = openFile(h, u"C:\\Work\\Pump.dft");
    host::ObjectRef pumpSet = object(getNamed(pump, u"SelectSet"));
    EXPECT_EQ(host::toInt32(pumpSet.get(ids::selectSet::count)), 0);
    EXPECT_EQ(host::toInt32(
                  object(gearbox.get(ids::draftDocument::selectSet)).get(ids::selectSet::count)),
              1);
    host::ObjectRef pumpView = object(
        object(object(pump.get(ids::draftDocument::activeSheet)).get(ids::sheet::drawingViews))
            .item(number(1)));
    std::vector<host::Argument> add{host::byValue(pumpView)};
    pumpSet.call(ids::selectSet::add, add);
    const auto states = h.host->inspector().documents();
    EXPECT_EQ(documentState(states, "D2").selection, std::vector<std::string>{"V3"});
    EXPECT_EQ(documentState(states, "D1").selection, std::vector<std::string>{"V1"});
    // The top-level selection follows the active document.
    EXPECT_EQ(h.host->inspector().selection(), std::vector<std::string>{"V3"});
}

TEST(SimHostAlerts, DisplayAlertsIsKeptAndItsPutsAreEvents) {
    Json scene = documentsScene();
    scene["host"]["displayAlerts"] = false;
    RecordingHost h(scene);
    EXPECT_FALSE(host::toBool(getNamed(h.app, u"DisplayAlerts")));
    putNamed(h.app, u"DisplayAlerts", true);
    EXPECT_TRUE(host::toBool(getNamed(h.app, u"displayalerts")));
    EXPECT_TRUE(h.host->inspector().displayAlerts());
    callNamed(h.app, u"DoIdle");
    ASSERT_EQ(h.events.size(), 1u);
    EXPECT_EQ(h.events[0].verb, result::HostEvent::Verb::put);
    EXPECT_EQ(h.events[0].object, "host");
    EXPECT_EQ(h.events[0].memberName, "DisplayAlerts");
    EXPECT_EQ(h.events[0].payload, true);

    Json failing = documentsScene();
    failing["host"]["fail"] = {"putDisplayAlerts"};
    RecordingHost f(failing);
    EXPECT_EQ(hostErrorOf([&] { putNamed(f.app, u"DisplayAlerts", false); }),
              u"Simulated failure: putDisplayAlerts");
    EXPECT_TRUE(f.host->inspector().displayAlerts());
    ASSERT_EQ(f.events.size(), 1u);
    EXPECT_FALSE(f.events[0].ok);
}

TEST(SimLineStyles, NameAndParent) {
    Json scene = documentsScene();
    scene["documents"]["D1"]["lineStyles"][2]["fail"] = {"parent"};
    RecordingHost h(scene);
    host::ObjectRef draft = activeDraft(h);
    host::ObjectRef styles = lineStylesOf(draft);
    host::ObjectRef hidden = object(styles.item(text(u"Hidden")));
    EXPECT_EQ(textOf(getNamed(hidden, u"Name")), u"Hidden");
    EXPECT_EQ(textOf(getNamed(hidden, u"Parent")), u"Normal");
    EXPECT_EQ(textOf(getNamed(object(styles.item(text(u"Normal"))), u"Parent")), u"");
    host::ObjectRef made = createStyle(draft, u"Red", u"Hidden");
    EXPECT_EQ(textOf(getNamed(made, u"Parent")), u"Hidden");
    EXPECT_EQ(hostErrorOf([&] { getNamed(object(styles.item(text(u"Spare"))), u"Parent"); }),
              u"Simulated failure: parent");
}

TEST(SimLineStyles, RemoveTakesOutOnlyAStyleNoMemberUses) {
    RecordingHost h(documentsScene());
    host::ObjectRef draft = activeDraft(h);
    host::ObjectRef styles = lineStylesOf(draft);
    host::ObjectRef spare = object(styles.item(text(u"Spare")));
    host::ObjectRef normal = object(styles.item(text(u"Normal")));

    // V1 is on another sheet than the active one: still the document's.
    EXPECT_EQ(hostErrorOf([&] { callNamed(styles, u"Remove", {text(u"Hidden")}); }),
              u"The line style \"Hidden\" is in use");
    EXPECT_EQ(hostErrorOf([&] { callNamed(styles, u"Remove", {text(u"hidden")}); }),
              u"No line style named \"hidden\"");
    callNamed(styles, u"Remove", {text(u"Spare")});

    const result::DocumentState& state = documentState(h.host->inspector().documents(), "D1");
    EXPECT_EQ(styleNames(state), (std::vector<std::string>{"Normal", "Hidden"}));
    EXPECT_EQ(state.unsaved, true);
    EXPECT_EQ(hostErrorOf([&] { getNamed(spare, u"Name"); }), u"The line style no longer exists");
    EXPECT_EQ(textOf(getNamed(normal, u"Name")), u"Normal");

    ASSERT_EQ(h.events.size(), 3u);
    EXPECT_EQ(h.events[2].object, "lineStyles");
    EXPECT_EQ(h.events[2].memberName, "Remove");
    EXPECT_EQ(h.events[2].payload, nlohmann::json::array({"Spare"}));
    EXPECT_FALSE(h.events[0].ok);
    EXPECT_TRUE(h.events[2].ok);
}

TEST(SimLineStyles, RemoveFaults) {
    Json scene = documentsScene();
    scene["documents"]["D1"]["lineStylesFail"] = {"remove:Spare"};
    RecordingHost h(scene);
    host::ObjectRef styles = lineStylesOf(activeDraft(h));
    EXPECT_EQ(hostErrorOf([&] { callNamed(styles, u"Remove", {text(u"Spare")}); }),
              u"Simulated failure: remove:Spare");

    Json all = documentsScene();
    all["documents"]["D1"]["lineStylesFail"] = {"remove"};
    RecordingHost a(all);
    EXPECT_EQ(
        hostErrorOf([&] { callNamed(lineStylesOf(activeDraft(a)), u"Remove", {text(u"Spare")}); }),
        u"Simulated failure: remove");
    EXPECT_EQ(styleNames(documentState(a.host->inspector().documents(), "D1")).size(), 3u);
}

}  // namespace
}  // namespace tav::sim
