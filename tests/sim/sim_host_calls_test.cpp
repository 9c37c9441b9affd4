#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "sim_test_calls.h"

namespace tav::sim {
namespace {

using namespace test_support;

TEST(SimHostCalls, LooksTheApplicationUpWithoutAHostCall) {
    RecordingHost h(baseScene());
    EXPECT_EQ(h.host->inspector().hostCalls(), 0);
    EXPECT_EQ(h.host->inspector().heldReferences(), 1);
    EXPECT_NO_THROW(h.host->connector().getRunning(u"SOLIDEDGE.application"));
    try {
        h.host->connector().getRunning(u"Excel.Application");
        ADD_FAILURE() << "found an application that does not run";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), -2147221021);
    }

    Json stopped = baseScene();
    stopped["host"]["running"] = false;
    SimHost idle(parseScene(stopped.dump(), "s.json"));
    EXPECT_THROW(idle.connector().getRunning(u"SolidEdge.Application"), host::AutomationError);
    EXPECT_EQ(idle.inspector().heldReferences(), 0);
}

TEST(SimHostCalls, FailsExactlyTheNumberedCall) {
    Json scene = baseScene();
    scene["failCall"] = 3;
    RecordingHost h(scene);
    host::ObjectRef draft = activeDraft(h);                       // call 1
    EXPECT_NO_THROW(draft.as(ids::draftDocument::iid));           // a cast is no call
    EXPECT_NO_THROW(draft.get(ids::draftDocument::activeSheet));  // call 2
    EXPECT_EQ(hostErrorOf([&] { draft.get(ids::draftDocument::selectSetName); }),
              u"Simulated failure: call 3");
    EXPECT_NO_THROW(draft.get(ids::draftDocument::selectSet));  // call 4
    EXPECT_EQ(h.host->inspector().hostCalls(), 4);
}

TEST(SimHostCalls, AFailedCallStillReportsItsEvent) {
    Json scene = baseScene();
    scene["failCall"] = 1;
    RecordingHost h(scene);
    EXPECT_EQ(hostErrorOf([&] { h.app.put(ids::application::interactive, false); }),
              u"Simulated failure: call 1");
    ASSERT_EQ(h.events.size(), 1u);
    EXPECT_EQ(h.events[0].object, "host");
    EXPECT_EQ(h.events[0].payload, false);
    EXPECT_FALSE(h.events[0].ok);
    EXPECT_TRUE(h.host->inspector().property(ids::application::interactive));
}

struct InjectedFault {
    const char* failList;  // JSON pointer
    const char* key;
    std::function<void(const RecordingHost&)> operation;
};

TEST(SimHostCalls, FaultKeysFailTheirOperation) {
    const InjectedFault faults[] = {
        {"/host/fail", "activeDocument", [](const RecordingHost& h) { activeDraft(h); }},
        {"/documents/D1/fail", "selectSet",
         [](const RecordingHost& h) { activeDraft(h).get(ids::draftDocument::selectSetName); }},
        {"/documents/D1/fail", "drawingViews.item",
         [](const RecordingHost& h) { drawingView(h, 1); }},
        {"/drawingViews/0/fail", "modelFile",
         [](const RecordingHost& h) {
             object(drawingView(h, 1).get(ids::drawingView::modelReference))
                 .get(ids::modelReference::fileName);
         }},
        {"/documents/A1/occurrences/0/fail", "style.green",
         [](const RecordingHost& h) {
             object(occurrence(h, 1).get(ids::occurrence::style))
                 .get(ids::occurrence::diffuseGreenName);
         }},
        {"/drawingViews/0/root/children/1/fail", "children.count",
         [](const RecordingHost& h) {
             object(child(rootMember(h, 1), 2).get(ids::modelMember::children))
                 .get(ids::modelMembers::count);
         }},
    };
    for (const InjectedFault& fault : faults) {
        Json scene = baseScene();
        scene[Json::json_pointer(fault.failList)] = {fault.key};
        RecordingHost h(scene);
        EXPECT_EQ(hostErrorOf([&] { fault.operation(h); }),
                  u"Simulated failure: " + platform::toUtf16(fault.key))
            << fault.key;
    }
}

TEST(SimHostCalls, CountsOverrideTheCountButAddNoItems) {
    Json scene = baseScene();
    scene["documents"]["D1"]["counts"] = {{"selectSet", 40000}};
    RecordingHost h(scene);
    host::ObjectRef selectSet = object(activeDraft(h).get(ids::draftDocument::selectSet));
    host::Value count = selectSet.get(ids::selectSet::count);
    ASSERT_TRUE(count.holds<std::int32_t>());
    EXPECT_EQ(host::toInt32(count), 40000);
    EXPECT_NO_THROW(selectSet.item(number(2)));
    EXPECT_EQ(hostErrorOf([&] { selectSet.item(number(3)); }), u"Index 3 is out of range (1 to 2)");
    std::vector<host::Argument> none;
    selectSet.call(ids::selectSet::clear, none);
    EXPECT_EQ(host::toInt32(selectSet.get(ids::selectSet::count)), 40000);
}

TEST(SimHostCalls, CollectionsCountFromOne) {
    RecordingHost h(baseScene());
    host::ObjectRef views = drawingViews(h);
    EXPECT_EQ(host::toInt32(views.get(ids::drawingViews::count)), 2);
    EXPECT_EQ(hostErrorOf([&] { views.item(number(0)); }), u"Index 0 is out of range (1 to 2)");
    EXPECT_NO_THROW(views.item(number(2)));
    EXPECT_EQ(hostErrorOf([&] { child(rootMember(h, 2), 1); }),
              u"Index 1 is out of range (the collection is empty)");
}

TEST(SimHostCalls, ObjectsAnswerOnlyTheirOwnInterface) {
    RecordingHost h(baseScene());
    host::ObjectRef draft = activeDraft(h);
    EXPECT_TRUE(draft.tryAs(ids::draftDocument::iid));
    EXPECT_FALSE(draft.tryAs(ids::assemblyDocument::iid));
    host::ObjectRef selectSet = object(draft.get(ids::draftDocument::selectSet));
    host::ObjectRef selectedView = object(selectSet.item(number(1)));
    host::ObjectRef selectedItem = object(selectSet.item(number(2)));
    EXPECT_TRUE(selectedView.tryAs(ids::drawingView::iid));
    EXPECT_FALSE(selectedItem.tryAs(ids::drawingView::iid));
    EXPECT_FALSE(occurrence(h, 1).tryAs(ids::subOccurrence::iid));
}

TEST(SimHostCalls, CountsReferencesUntilTheToolDropsThem) {
    RecordingHost h(baseScene());
    {
        host::ObjectRef draft = activeDraft(h);
        host::ObjectRef copy = draft;
        EXPECT_EQ(h.host->inspector().heldReferences(), 2);
        host::ObjectRef cast = draft.as(ids::draftDocument::iid);
        EXPECT_EQ(h.host->inspector().heldReferences(), 3);
        EXPECT_FALSE(draft.tryAs(ids::sheet::iid));
        occurrence(h, 3);  // a walk whose objects are all dropped
        EXPECT_EQ(h.host->inspector().heldReferences(), 3);
    }
    EXPECT_EQ(h.host->inspector().heldReferences(), 1);
    h.app.reset();
    EXPECT_EQ(h.host->inspector().heldReferences(), 0);
}

// As an automation client reports it, whether the member was asked for by
// its dispatch id or by name. A dispatch id reaches the object, so the call
// counts; a name the object lacks is never looked up to an id.
TEST(SimHostCalls, AMemberOrNameTheObjectLacksIsError438) {
    RecordingHost h(baseScene());
    const host::ObjectRef draft = activeDraft(h);
    const std::int32_t before = h.host->inspector().hostCalls();
    for (const host::MemberName& member :
         {host::MemberName{12345, {}}, host::MemberName{0, ids::occurrence::bodyName}}) {
        try {
            member.byName() ? draft.get(member.name) : draft.get(member.id);
            ADD_FAILURE() << "a missing member answered";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), host::runtime_error_number::memberNotSupported);
            EXPECT_EQ(error.description(), u"Object doesn't support this property or method");
        }
    }
    EXPECT_EQ(h.host->inspector().hostCalls(), before + 1);
}

TEST(SimHostCalls, AReferenceMayOutliveTheHost) {
    auto h = std::make_unique<RecordingHost>(baseScene());
    host::ObjectRef draft = activeDraft(*h);
    h.reset();
    EXPECT_NO_THROW(draft.get(ids::draftDocument::activeSheet));
}

TEST(SimHostCalls, AbsentObjectsAreEmptyReferencesOrHostErrors) {
    Json scene = baseScene();
    RecordingHost h(scene);
    host::Value noStyle = occurrence(h, 2).get(ids::occurrence::style);
    ASSERT_TRUE(noStyle.holds<host::ObjectRef>());
    EXPECT_TRUE(noStyle.getIf<host::ObjectRef>()->empty());

    std::vector<host::Argument> first{host::byValue(number(1))};
    host::ObjectRef part = object(occurrence(h, 1).get(ids::occurrence::partDocument));
    host::ObjectRef body =
        object(object(part.get(ids::occurrence::modelsName, first)).get(ids::occurrence::bodyName));
    EXPECT_TRUE(object(body.get(ids::body::faceStyle)).empty());

    EXPECT_EQ(hostErrorOf([&] { drawingView(h, 2).get(ids::drawingView::modelReference); }),
              u"No model reference");
    scene["activeDocument"] = nullptr;
    RecordingHost noDocument(scene);
    EXPECT_EQ(hostErrorOf([&] { activeDraft(noDocument); }), u"No active document");
}

}  // namespace
}  // namespace tav::sim
