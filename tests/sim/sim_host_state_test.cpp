#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim_test_calls.h"

namespace tav::sim {
namespace {

using namespace test_support;

std::vector<host::Argument> arguments(std::vector<host::Value> values, bool byReference = false) {
    std::vector<host::Argument> args;
    for (host::Value& value : values) {
        args.push_back({std::move(value), byReference});
    }
    return args;
}

void expectEvent(const result::HostEvent& event, result::HostEvent::Verb verb,
                 const std::string& object, host::DispId member, const nlohmann::json& payload,
                 bool ok) {
    EXPECT_EQ(event.verb, verb);
    EXPECT_EQ(event.object, object);
    EXPECT_EQ(event.member, member);
    EXPECT_EQ(event.payload, payload);
    EXPECT_EQ(event.ok, ok);
}

TEST(SimHostState, SelectSetAddsRemovesAndClearsWithEvents) {
    RecordingHost h(baseScene());
    host::ObjectRef byName = object(activeDraft(h).get(ids::draftDocument::selectSetName));
    host::ObjectRef byId = object(activeDraft(h).get(ids::draftDocument::selectSet));
    host::Value item = byId.item(number(2));

    auto add = arguments({drawingView(h, 1)});
    byId.call(ids::selectSet::add, add);
    EXPECT_EQ(h.host->inspector().selection(), (std::vector<std::string>{"V2", "dim7", "V1"}));
    EXPECT_EQ(host::toInt32(byName.get(ids::selectSet::count)), 3);

    auto first = arguments({number(1)});
    byName.call(ids::selectSet::remove, first);
    auto fifth = arguments({number(5)});
    EXPECT_EQ(hostErrorOf([&] { byName.call(ids::selectSet::remove, fifth); }),
              u"Index 5 is out of range (1 to 2)");
    EXPECT_EQ(h.host->inspector().selection(), (std::vector<std::string>{"dim7", "V1"}));

    std::vector<host::Argument> none;
    byId.call(ids::selectSet::clear, none);
    auto readd = arguments({item});
    byId.call(ids::selectSet::add, readd);
    EXPECT_EQ(h.host->inspector().selection(), std::vector<std::string>{"dim7"});

    using Verb = result::HostEvent::Verb;
    ASSERT_EQ(h.events.size(), 5u);
    expectEvent(h.events[0], Verb::call, "selectSet", 4, {"V1"}, true);
    expectEvent(h.events[1], Verb::call, "selectSet", 5, {1}, true);
    expectEvent(h.events[2], Verb::call, "selectSet", 5, {5}, false);
    expectEvent(h.events[3], Verb::call, "selectSet", 6, nlohmann::json::array(), true);
    expectEvent(h.events[4], Verb::call, "selectSet", 4, {"dim7"}, true);
}

TEST(SimHostState, SelectedObjectsAnswerTheirTypes) {
    RecordingHost h(baseScene());
    host::ObjectRef selectSet = object(activeDraft(h).get(ids::draftDocument::selectSet));
    host::ObjectRef view = object(selectSet.item(number(1)));
    host::ObjectRef item = object(selectSet.item(number(2)));
    EXPECT_EQ(host::toInt32(view.get(ids::selectSet::typeName)),
              ids::selectSet::drawingViewObjectType);
    EXPECT_EQ(host::toInt32(view.get(ids::selectSet::drawingViewTypeName)), 1);
    EXPECT_EQ(host::toInt32(drawingView(h, 1).get(ids::selectSet::drawingViewTypeName)), 3);
    EXPECT_EQ(host::toInt32(item.get(ids::selectSet::typeName)), 1234);
    EXPECT_EQ(hostErrorOf([&] { item.get(ids::selectSet::drawingViewTypeName); }),
              u"Object doesn't support this property or method");
}

TEST(SimHostState, LineStylesAreCreatedOnlyFromAnExistingTemplate) {
    Json scene = baseScene();
    scene["documents"]["D1"]["lineStylesFail"] = {"add:Blue"};
    RecordingHost h(scene);
    host::ObjectRef styles = object(activeDraft(h).get(ids::draftDocument::lineStyles));
    auto create = [&styles](const char16_t* name, const char16_t* from) {
        auto args = arguments({name, from}, true);
        return object(styles.call(ids::lineStyles::add, args));
    };

    host::ObjectRef red = create(u"Red", u"Hidden");
    EXPECT_TRUE(red.tryAs(ids::lineStyle::iid));
    EXPECT_EQ(h.host->inspector().lineStyles().back().color, 7);
    red.put(ids::lineStyle::color, number(255));
    EXPECT_EQ(hostErrorOf([&] { create(u"Red", u"Normal"); }),
              u"A line style named \"Red\" already exists");
    EXPECT_EQ(hostErrorOf([&] { create(u"Green", u"normal"); }), u"No line style named \"normal\"");
    EXPECT_EQ(hostErrorOf([&] { create(u"Green", u""); }), u"No line style named \"\"");
    EXPECT_EQ(hostErrorOf([&] { create(u"Blue", u"Normal"); }), u"Simulated failure: add:Blue");
    EXPECT_NO_THROW(styles.item(host::Value(u"Red")));
    EXPECT_EQ(hostErrorOf([&] { styles.item(host::Value(u"Green")); }),
              u"No line style named \"Green\"");

    std::vector<result::LineStyleState> final = h.host->inspector().lineStyles();
    ASSERT_EQ(final.size(), 3u);
    EXPECT_EQ(final[2].name, "Red");
    EXPECT_EQ(final[2].color, 255);
    EXPECT_EQ(final[2].templateName, "Hidden");
    EXPECT_FALSE(final[0].templateName);

    using Verb = result::HostEvent::Verb;
    ASSERT_EQ(h.events.size(), 6u);
    expectEvent(h.events[0], Verb::call, "lineStyles", ids::lineStyles::add, {"Red", "Hidden"},
                true);
    expectEvent(h.events[1], Verb::put, "lineStyle:Red", ids::lineStyle::color, 255, true);
    expectEvent(h.events[2], Verb::call, "lineStyles", ids::lineStyles::add, {"Red", "Normal"},
                false);
    expectEvent(h.events[5], Verb::call, "lineStyles", ids::lineStyles::add, {"Blue", "Normal"},
                false);
}

TEST(SimHostState, ManyLineStylesAreFoundByTheirExactNamesInCreationOrder) {
    RecordingHost h(baseScene());
    host::ObjectRef styles = object(activeDraft(h).get(ids::draftDocument::lineStyles));
    auto create = [&styles](const std::u16string& name) {
        auto args = arguments({name, std::u16string(u"Hidden")}, true);
        return object(styles.call(ids::lineStyles::add, args));
    };
    const int count = 3000;
    for (int i = 0; i < count; ++i) {
        std::u16string name = u"S";
        name += platform::toUtf16(std::to_string(i));
        create(name);
    }
    // Names that differ only in letter case are different styles.
    create(u"s7");
    EXPECT_EQ(hostErrorOf([&] { create(u"S7"); }), u"A line style named \"S7\" already exists");

    object(styles.item(host::Value(u"S2999"))).put(ids::lineStyle::color, number(42));
    EXPECT_EQ(hostErrorOf([&] { styles.item(host::Value(u"S3000")); }),
              u"No line style named \"S3000\"");
    host::ObjectRef bolt = child(rootMember(h, 1), 1);
    bolt.put(ids::modelMember::visibleEdgeStyle, u"s7");
    EXPECT_EQ(hostErrorOf([&] { bolt.put(ids::modelMember::hiddenEdgeStyle, u"S7 "); }),
              u"No line style named \"S7 \"");

    std::vector<result::LineStyleState> final = h.host->inspector().lineStyles();
    ASSERT_EQ(final.size(), 2u + count + 1u);
    EXPECT_EQ(final[2].name, "S0");
    EXPECT_EQ(final[1 + count].name, "S2999");
    EXPECT_EQ(final[1 + count].color, 42);
    EXPECT_EQ(final.back().name, "s7");
    EXPECT_EQ(h.host->inspector().partMembers()[0].visible, "s7");
}

TEST(SimHostState, EveryEventCarriesTheNumberOfTheCallThatMadeIt) {
    std::int32_t reachingBolt = 0;
    {
        RecordingHost probe(baseScene());
        child(rootMember(probe, 1), 1);
        reachingBolt = probe.host->inspector().hostCalls();
    }
    Json scene = baseScene();
    scene["failCall"] = reachingBolt + 1;
    RecordingHost h(scene);
    host::ObjectRef bolt = child(rootMember(h, 1), 1);
    hostErrorOf([&] { bolt.put(ids::modelMember::visibleEdgeStyle, u"Hidden"); });
    bolt.put(ids::modelMember::hiddenEdgeStyle, u"Hidden");
    ASSERT_EQ(h.events.size(), 2u);
    EXPECT_EQ(h.events[0].call, reachingBolt + 1);
    EXPECT_FALSE(h.events[0].ok) << "the scene's failing call";
    EXPECT_EQ(h.events[1].call, reachingBolt + 2);
    EXPECT_TRUE(h.events[1].ok);
}

TEST(SimHostState, MemberEdgeStylesTakeOnlyTheDraftsLineStyles) {
    Json scene = baseScene();
    scene["drawingViews"][0]["root"]["children"][0]["fail"] = {"putTangent"};
    RecordingHost h(scene);
    host::ObjectRef bolt = child(rootMember(h, 1), 1);
    bolt.put(ids::modelMember::visibleEdgeStyle, u"Hidden");
    EXPECT_EQ(hostErrorOf([&] { bolt.put(ids::modelMember::hiddenEdgeStyle, u"hidden"); }),
              u"No line style named \"hidden\"");
    EXPECT_EQ(hostErrorOf([&] { bolt.put(ids::modelMember::tangentEdgeStyle, u"Hidden"); }),
              u"Simulated failure: putTangent");
    EXPECT_EQ(host::toText(bolt.get(ids::modelMember::visibleEdgeStyle)), u"Hidden");
    EXPECT_EQ(host::toText(bolt.get(ids::modelMember::hiddenEdgeStyle)), u"Normal");

    std::vector<result::PartMemberState> members = h.host->inspector().partMembers();
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].id, "V1/1");
    EXPECT_EQ(members[0].path, "");
    EXPECT_EQ(members[0].visible, "Hidden");
    EXPECT_EQ(members[0].tangent, "Normal");
    EXPECT_EQ(members[1].id, "hinge");
    EXPECT_EQ(members[1].path, "/Frame.asm");
    EXPECT_EQ(members[1].name, "Hinge.par");

    using Verb = result::HostEvent::Verb;
    ASSERT_EQ(h.events.size(), 3u);
    expectEvent(h.events[0], Verb::put, "member:V1/1", ids::modelMember::visibleEdgeStyle, "Hidden",
                true);
    expectEvent(h.events[1], Verb::put, "member:V1/1", ids::modelMember::hiddenEdgeStyle, "hidden",
                false);
    expectEvent(h.events[2], Verb::put, "member:V1/1", ids::modelMember::tangentEdgeStyle, "Hidden",
                false);
}

TEST(SimHostState, MemberEdgeStylesFollowTheDraftShowingTheView) {
    Json scene = baseScene();
    scene["documents"]["D1"]["drawingViews"] = {"V1"};
    scene["documents"]["D2"] = {{"kind", "draft"},
                                {"drawingViews", {"V2"}},
                                {"lineStyles", {{{"name", "Other"}, {"color", 1}}}}};
    scene["drawingViews"][1]["root"]["children"] = {{{"type", 1}, {"name", "Loose.par"}}};
    RecordingHost h(scene);
    host::ObjectRef selectSet = object(activeDraft(h).get(ids::draftDocument::selectSet));
    host::ObjectRef members =
        object(object(selectSet.item(number(1))).get(ids::drawingView::modelMembers));
    host::ObjectRef loose = child(object(members.item(number(1))), 1);
    EXPECT_NO_THROW(loose.put(ids::modelMember::visibleEdgeStyle, u"Other"));
    EXPECT_EQ(hostErrorOf([&] { loose.put(ids::modelMember::visibleEdgeStyle, u"Hidden"); }),
              u"No line style named \"Hidden\"")
        << "V2's draft D2 has no style Hidden, though the active draft D1 has";
}

TEST(SimHostState, DisplayColorsFillTheFirstArrayOfAColoredPart) {
    RecordingHost h(baseScene());
    host::ObjectRef children = object(occurrence(h, 3).get(ids::occurrence::subOccurrences));
    auto query = [](const host::ObjectRef& sub, std::vector<host::Argument>& args) {
        sub.call(ids::subOccurrence::displayColors, args);
        return args[0].value.getIf<host::DoubleArray>()->items;
    };
    auto sixArguments = [] {
        host::DoubleArray unset{{9, 9, 9}};
        return arguments({unset, unset, unset, unset, 0.0, 0.0}, true);
    };

    auto hingeArgs = sixArguments();
    EXPECT_EQ(query(object(children.item(number(1))), hingeArgs),
              (std::vector<double>{0.2, 0.4, 0.6}));
    EXPECT_EQ(hingeArgs[1].value.getIf<host::DoubleArray>()->items, (std::vector<double>{9, 9, 9}));
    auto pinArgs = sixArguments();
    EXPECT_EQ(query(object(children.item(number(2))), pinArgs), (std::vector<double>{9, 9, 9}));
    auto wrong = arguments({0.0});
    hostErrorOf(
        [&] { object(children.item(number(1))).call(ids::subOccurrence::displayColors, wrong); });

    host::ObjectRef partChildren = object(occurrence(h, 1).get(ids::occurrence::subOccurrences));
    EXPECT_EQ(host::toInt32(partChildren.get(ids::subOccurrences::count)), 0);
}

TEST(SimHostState, ColorComponentsKeepTheirPrecision) {
    Json scene = baseScene();
    RecordingHost h(scene);
    host::ObjectRef style = object(occurrence(h, 1).get(ids::occurrence::style));
    host::Value green = style.get(ids::occurrence::diffuseGreenName);
    ASSERT_TRUE(green.holds<double>());
    EXPECT_EQ(*green.getIf<double>(), 0.5);

    scene["documents"]["A1"]["occurrences"][0]["style"]["single"] = true;
    RecordingHost single(scene);
    host::ObjectRef singleStyle = object(occurrence(single, 1).get(ids::occurrence::style));
    EXPECT_TRUE(singleStyle.get(ids::occurrence::diffuseBlueName).holds<float>());

    std::vector<host::Argument> first = arguments({number(1)});
    host::ObjectRef part = object(occurrence(h, 2).get(ids::occurrence::partDocument));
    host::ObjectRef body =
        object(object(part.get(ids::occurrence::modelsName, first)).get(ids::occurrence::bodyName));
    host::ObjectRef face = object(body.get(ids::body::faceStyle));
    EXPECT_EQ(host::toDouble(face.get(ids::faceStyle::blue)), 1.0);
}

TEST(SimHostState, SwitchesAndCommandsChangeOnlyWhenTheCallSucceeds) {
    Json scene = baseScene();
    scene["host"]["fail"] = {"put73", "command79"};
    RecordingHost h(scene);
    h.app.put(ids::application::interactive, false);
    hostErrorOf([&] { h.app.put(ids::application::delayCompute, true); });
    auto command = arguments({number(ids::application::commandAfterRun)});
    hostErrorOf([&] { h.app.call(ids::application::startCommand, command); });
    EXPECT_FALSE(h.host->inspector().property(ids::application::interactive));
    EXPECT_FALSE(h.host->inspector().property(ids::application::delayCompute));
    EXPECT_TRUE(h.host->inspector().commands().empty());

    using Verb = result::HostEvent::Verb;
    ASSERT_EQ(h.events.size(), 3u);
    expectEvent(h.events[0], Verb::put, "host", ids::application::interactive, false, true);
    expectEvent(h.events[1], Verb::put, "host", ids::application::delayCompute, true, false);
    expectEvent(h.events[2], Verb::call, "host", ids::application::startCommand, {32876}, false);

    scene["host"].erase("fail");
    RecordingHost working(scene);
    working.app.call(ids::application::startCommand, command);
    EXPECT_EQ(working.host->inspector().commands(), std::vector<std::int32_t>{32876});
}

}  // namespace
}  // namespace tav::sim
