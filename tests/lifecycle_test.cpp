// Start-up, the buttons and shutdown as the user sees them, and what the
// tool leaves behind in the host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

#include "app/lifecycle.h"
#include "app/recording_window.h"
#include "host/error.h"
#include "host/sim/sim_host.h"
#include "platform/utf.h"
#include "tests/support/scenes.h"

namespace tav::test {
namespace {

namespace ids = host::dispatch;
using testing::ElementsAre;
using testing::IsEmpty;

json readyScene() {
    return drawingScene(json::array(), json::array());
}

TEST(StartUp, NoSolidEdgeRunningRefusesWithoutShowingTheWindow) {
    json scene = readyScene();
    scene["host"]["running"] = false;
    const auto outcome = run(scene, "process");
    EXPECT_EQ(outcome.end, app::ProgramEnd::refused);
    EXPECT_THAT(messagesOf(outcome), ElementsAre("A SE Draft file from an ASM must be open"));
    EXPECT_THAT(captionsOf(outcome, "lblVista"), IsEmpty());
    EXPECT_EQ(outcome.hostCalls, 0);
}

TEST(StartUp, AnActiveDocumentThatIsNoDraftRefusesAndRestoresTheHost) {
    json scene = readyScene();
    scene["activeDocument"] = "A1";
    scene["host"]["properties"] = {{"18", false}, {"73", true}};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::refused);
    EXPECT_THAT(messagesOf(outcome), ElementsAre("A SE Draft file from an ASM must be open"));
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
    EXPECT_EQ(outcome.heldReferences, 0);
}

TEST(StartUp, NoActiveDocumentOrAFailingLookupRefusesTheSameWay) {
    json none = readyScene();
    none["activeDocument"] = nullptr;
    EXPECT_THAT(messagesOf(run(none)), ElementsAre("A SE Draft file from an ASM must be open"));
    json failing = readyScene();
    failing["host"]["fail"] = {"activeDocument"};
    EXPECT_THAT(messagesOf(run(failing)), ElementsAre("A SE Draft file from an ASM must be open"));
}

TEST(StartUp, NoDrawingViewsOrAnUncountableSheetRefuses) {
    json empty = readyScene();
    empty["documents"]["D1"]["drawingViews"] = json::array();
    const auto outcome = run(empty);
    EXPECT_EQ(outcome.end, app::ProgramEnd::refused);
    EXPECT_THAT(messagesOf(outcome),
                ElementsAre("There are no Drawing Views in this Sheet. Exiting."));

    json failing = readyScene();
    failing["documents"]["D1"]["fail"] = {"activeSheet"};
    EXPECT_THAT(messagesOf(run(failing)),
                ElementsAre("There are no Drawing Views in this Sheet. Exiting."));
}

TEST(Buttons, ExitRightAfterStartUpRestoresTheHostAndHoldsNothing) {
    json scene = readyScene();
    const auto outcome = run(scene, "exit,process");
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_THAT(captionsOf(outcome, "lblVista"), ElementsAre("Select Drawing Views to update"));
    EXPECT_EQ(outcome.window.caption(engine::StatusLine::part), u"");
    EXPECT_EQ(outcome.heldReferences, 0);
    const auto host = eventsOf(outcome, "host");
    ASSERT_EQ(host.size(), 2u) << "the process after exit is ignored";
    EXPECT_EQ(host[0]["member"], ids::application::interactive);
    EXPECT_EQ(host[0]["value"], true);
    EXPECT_EQ(host[1]["member"], ids::application::delayCompute);
    EXPECT_EQ(host[1]["value"], false);
}

TEST(Buttons, HelpShowsTheAboutBoxEachTimeAndChangesNothing) {
    const auto outcome = run(readyScene(), "help,help");
    EXPECT_EQ(outcome.end, app::ProgramEnd::running);
    std::vector<json> about;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "about") {
            about.push_back(e);
        }
    }
    ASSERT_EQ(about.size(), 2u);
    EXPECT_EQ(
        about[0],
        (json{{"ui", "about"}, {"title", "About Tavrelmondix"}, {"version", "Version 3.4.1"}}));
    EXPECT_EQ(about[1], about[0]);
    EXPECT_THAT(eventsOf(outcome, "host"), IsEmpty());
}

TEST(Buttons, ClosingFromTheFrameEndsWithoutTheShutdownSteps) {
    json scene = readyScene();
    scene["host"]["properties"] = {{"18", false}, {"73", true}};
    const auto outcome = run(scene, "close,exit");
    EXPECT_EQ(outcome.end, app::ProgramEnd::closed);
    EXPECT_FALSE(outcome.interactive);
    EXPECT_TRUE(outcome.delayCompute);
    EXPECT_THAT(eventsOf(outcome, "host"), IsEmpty());
    EXPECT_EQ(outcome.heldReferences, 0) << "the application and the draft are given back";
}

TEST(Buttons, AFinishedRunHoldsNoReference) {
    json scene = drawingScene({{{"file", "Bolt.par"}, {"style", {{"r", 0}, {"g", 0}, {"b", 1}}}}},
                              {{{"type", 1}, {"name", "Bolt.par"}}});
    const auto outcome = run(scene, "process");
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(outcome.heldReferences, 0);
}

// A window that, like a real one whose thread keeps dispatching messages
// while the host works, receives the user's clicks in the middle of a run.
class ImpatientWindow : public app::RecordingWindow {
  public:
    app::Form1* form = nullptr;
    std::vector<bool> closeAccepted;

    void repaint() override {
        app::RecordingWindow::repaint();
        if (form != nullptr && form->runInProgress()) {
            closeAccepted.push_back(form->closeFromFrame());
            form->cmdCancel_Click();
            form->cmdHelp_Click();
            form->cmdAccept_Click();
        }
    }
};

TEST(Buttons, ClicksAndClosingDuringARunAreIgnoredUntilItEnds) {
    json scene = drawingScene({{{"file", "Bolt.par"}, {"style", {{"r", 0}, {"g", 0}, {"b", 1}}}}},
                              {{{"type", 1}, {"name", "Bolt.par"}}});
    sim::SimHost host(sceneFrom(scene));
    ImpatientWindow window;
    app::RecordedExit exit;
    app::Form1 form(host.connector(), window, exit);
    window.form = &form;
    ASSERT_TRUE(form.Form_Load());
    form.cmdAccept_Click();

    EXPECT_THAT(window.closeAccepted, testing::Not(IsEmpty()));
    EXPECT_THAT(window.closeAccepted, testing::Each(false));
    EXPECT_EQ(form.programEnd(), app::ProgramEnd::finished) << "the run went on to its own end";
    EXPECT_EQ(exit.end(), app::ProgramEnd::finished);
    EXPECT_TRUE(window.closed());
    EXPECT_EQ(host.inspector().lineStyles().size(), 4u) << "Normal and the three new styles";
    EXPECT_EQ(host.inspector().commands(), std::vector<std::int32_t>{32876});
}

TEST(StartUp, TheWindowIsRaisedOnceWhileStillHidden) {
    sim::SimHost host(sceneFrom(readyScene()));
    app::RecordingWindow window;
    app::RecordedExit exit;
    app::Form1 form(host.connector(), window, exit);
    ASSERT_TRUE(form.Form_Load());
    EXPECT_THAT(window.zOrderCalls(),
                ElementsAre(app::ZOrderCall::setTopmost, app::ZOrderCall::clearTopmost));
    EXPECT_FALSE(window.closed());
    EXPECT_EQ(exit.end(), app::ProgramEnd::running);
}

// A window whose rectangle does not fit the z-order helpers' 32-bit sums.
class OversizedWindow : public app::RecordingWindow {
  public:
    void setTopmost() override {
        app::RecordingWindow::setTopmost();
        throw host::overflowError();
    }
};

TEST(StartUp, AFailingZOrderStepIsToleratedLikeEveryStartUpStep) {
    sim::SimHost host(sceneFrom(readyScene()));
    OversizedWindow window;
    app::RecordedExit exit;
    app::Form1 form(host.connector(), window, exit);
    EXPECT_TRUE(form.Form_Load());
    EXPECT_THAT(window.zOrderCalls(),
                ElementsAre(app::ZOrderCall::setTopmost, app::ZOrderCall::clearTopmost));
    EXPECT_EQ(window.caption(engine::StatusLine::view), u"Select Drawing Views to update");
}

TEST(StartUp, ARefusalClosesTheWindowWithoutRaisingIt) {
    json scene = readyScene();
    scene["host"]["running"] = false;
    sim::SimHost host(sceneFrom(scene));
    app::RecordingWindow window;
    app::RecordedExit exit;
    app::Form1 form(host.connector(), window, exit);
    EXPECT_FALSE(form.Form_Load());
    EXPECT_THAT(window.zOrderCalls(), IsEmpty());
    EXPECT_TRUE(window.closed());
    EXPECT_EQ(exit.end(), app::ProgramEnd::refused);
}

// Over COM the final releases share one bound: the exit must hear that the
// program ends before the first reference goes back, however it ends.
class ExitThatCountsHeldReferences : public app::ProgramExit {
  public:
    explicit ExitThatCountsHeldReferences(const sim::SimInspector& host) : host_(host) {}
    void endingBegins() override { heldWhenTold.push_back(host_.heldReferences()); }
    void endProgram(app::ProgramEnd how) override { recorded.endProgram(how); }

    std::vector<std::int32_t> heldWhenTold;
    app::RecordedExit recorded;

  private:
    const sim::SimInspector& host_;
};

TEST(Shutdown, TheExitHearsOfTheEndBeforeAnyReferenceGoesBack) {
    for (const char* actions : {"exit", "close", "process"}) {
        sim::SimHost host(sceneFrom(readyScene()));
        app::RecordingWindow window;
        ExitThatCountsHeldReferences exit(host.inspector());
        app::Form1 form(host.connector(), window, exit);
        ASSERT_TRUE(form.Form_Load());
        const std::string action = actions;
        if (action == "exit") {
            form.cmdCancel_Click();
        } else if (action == "close") {
            form.closeFromFrame();
        } else {
            form.cmdAccept_Click();
        }
        ASSERT_FALSE(exit.heldWhenTold.empty()) << actions;
        EXPECT_GT(exit.heldWhenTold.front(), 0) << actions << ": references went back first";
        EXPECT_EQ(host.inspector().heldReferences(), 0) << actions;
    }
}

// The host's application object, which lets the user act in the middle of
// the first host call made on it: the Windows program's window dispatches
// messages while a call to Solid Edge is out, so a click or a close can
// arrive inside a start-up call.
class InterruptedApplication final : public host::HostObject {
  public:
    InterruptedApplication(host::ObjectRef application, std::function<void()> meanwhile)
        : application_(std::move(application)), meanwhile_(std::move(meanwhile)) {}

    host::Value invoke(const host::MemberName& member, host::CallKind kind,
                       std::span<host::Argument> args) override {
        if (auto act = std::exchange(meanwhile_, {})) {
            act();
        }
        switch (kind) {
            case host::CallKind::get:
                return member.byName() ? application_.get(member.name, args)
                                       : application_.get(member.id, args);
            case host::CallKind::put:
                application_.put(member.id, args.front());
                return {};
            case host::CallKind::method:
                return application_.call(member.id, args);
        }
        return {};
    }

    host::ObjectRef queryInterface(const host::InterfaceId& iid) override {
        host::ObjectRef cast = application_.tryAs(iid);
        if (cast.empty()) {
            return cast;
        }
        return host::ObjectRef(std::make_shared<InterruptedApplication>(
            std::move(cast), std::exchange(meanwhile_, {})));
    }

  private:
    host::ObjectRef application_;
    std::function<void()> meanwhile_;
};

class InterruptingConnector final : public host::HostConnector {
  public:
    InterruptingConnector(host::HostConnector& host, std::function<void()> meanwhile)
        : host_(host), meanwhile_(std::move(meanwhile)) {}

    host::ObjectRef getRunning(std::u16string_view progId) override {
        return host::ObjectRef(std::make_shared<InterruptedApplication>(
            host_.getRunning(progId), std::exchange(meanwhile_, {})));
    }

  private:
    host::HostConnector& host_;
    std::function<void()> meanwhile_;
};

TEST(StartUp, ClicksAndClosingDeliveredInsideAStartUpCallAreDropped) {
    json scene = drawingScene({{{"file", "Bolt.par"}, {"style", {{"r", 0}, {"g", 0}, {"b", 1}}}}},
                              {{{"type", 1}, {"name", "Bolt.par"}}});
    sim::SimHost host(sceneFrom(scene));
    std::vector<app::UiEvent> shown;
    app::RecordingWindow window([&](const app::UiEvent& event) { shown.push_back(event); });
    app::RecordedExit exit;
    app::Form1* form = nullptr;
    bool delivered = false;
    bool closeAccepted = true;
    InterruptingConnector connector(host.connector(), [&] {
        delivered = true;
        form->cmdAccept_Click();
        closeAccepted = form->closeFromFrame();
        form->cmdCancel_Click();
        form->cmdHelp_Click();
    });
    app::Form1 started(connector, window, exit);
    form = &started;

    ASSERT_TRUE(started.Form_Load()) << "start-up completes normally";
    ASSERT_TRUE(delivered);
    EXPECT_FALSE(closeAccepted);
    EXPECT_EQ(exit.end(), app::ProgramEnd::running);
    EXPECT_FALSE(window.closed());
    EXPECT_EQ(shown.size(), 1u) << "only start-up's own caption; no message, about box or run";
    EXPECT_TRUE(host.inspector().commands().empty());
    EXPECT_EQ(host.inspector().lineStyles().size(), 1u) << "Normal only";

    EXPECT_TRUE(started.idle());
    started.cmdAccept_Click();
    EXPECT_EQ(started.programEnd(), app::ProgramEnd::finished);
    EXPECT_EQ(host.inspector().lineStyles().size(), 4u) << "Normal and the three new styles";
}

std::vector<std::string> startUpDiagnostics(const json& scene) {
    sim::SimHost host(sceneFrom(scene));
    app::RecordingWindow window;
    app::RecordedExit exit;
    std::vector<std::string> lines;
    app::Form1 form(host.connector(), window, exit,
                    [&](std::u16string_view line) { lines.push_back(platform::toUtf8(line)); });
    static_cast<void>(form.Form_Load());
    return lines;
}

TEST(StartUp, EachFailingStepTellsTheDiagnosticsItsErrorNumber) {
    json notRunning = readyScene();
    notRunning["host"]["running"] = false;
    EXPECT_THAT(startUpDiagnostics(notRunning),
                ElementsAre("Tavrelmondix start-up: looking up the running Solid Edge failed with "
                            "error -2147221021 (0x800401E3)",
                            "Tavrelmondix start-up: reading the active document as a draft failed "
                            "with error 91"));

    json assemblyInFront = readyScene();
    assemblyInFront["activeDocument"] = "A1";
    EXPECT_THAT(startUpDiagnostics(assemblyInFront),
                ElementsAre("Tavrelmondix start-up: reading the active document as a draft failed "
                            "with error 13"));

    json uncountable = readyScene();
    uncountable["documents"]["D1"]["fail"] = {"activeSheet"};
    EXPECT_THAT(startUpDiagnostics(uncountable),
                ElementsAre("Tavrelmondix start-up: counting the drawing views of the active "
                            "sheet failed with error -2147467259 (0x80004005)"));

    EXPECT_THAT(startUpDiagnostics(readyScene()), IsEmpty());
}

}  // namespace
}  // namespace tav::test
