#include "app/lifecycle.h"

#include <cstdint>
#include <utility>

#include "engine/error_modes.h"
#include "engine/host_paths.h"
#include "engine/host_switches.h"
#include "engine/run_driver.h"
#include "engine/text.h"
#include "host/conversions.h"
#include "host/error.h"

namespace tav::app {
namespace {
namespace dispatch = host::dispatch;
using engine::tolerate;

// The number as the fatal error message shows it; a failed HRESULT (a
// negative number) also in the hexadecimal form it is looked up by.
std::u16string errorNumberText(std::int32_t number) {
    std::u16string text = engine::decimalText(number);
    if (number < 0) {
        const std::string hex = host::hexNumberText(number);
        text += u" (" + std::u16string(hex.begin(), hex.end()) + u")";
    }
    return text;
}

}  // namespace

Form1::Form1(host::HostConnector& connector, MainWindow& window, ProgramExit& exit,
             StartUpDiagnostics diagnostics)
    : connector_(connector), window_(window), exit_(exit), diagnostics_(std::move(diagnostics)) {}

template <class Step>
bool Form1::startUpStep(std::u16string_view name, Step&& step) {
    return engine::attempt(std::forward<Step>(step), [&](const host::AutomationError& error) {
        if (diagnostics_) {
            diagnostics_(u"Tavrelmondix start-up: " + std::u16string(name) +
                         u" failed with error " + errorNumberText(error.number()));
        }
    });
}

bool Form1::Form_Load() {
    // Every step is tolerated; a failure in the first two is remembered.
    bool errorIndicator = false;
    if (!startUpStep(u"looking up the running Solid Edge", [&] {
            state_.hostApp = connector_.getRunning(host::hostProgId).as(dispatch::application::iid);
        })) {
        errorIndicator = true;
    }
    if (!startUpStep(u"reading the active document as a draft", [&] {
            state_.draftDocument =
                host::toObject(state_.hostApp.get(dispatch::application::activeDocument))
                    .as(dispatch::draftDocument::iid);
        })) {
        errorIndicator = true;
    }
    if (errorIndicator) {
        refuse(u"A SE Draft file from an ASM must be open");
        return false;
    }

    bool noDrawingViews = true;  // a count that cannot be read counts as none
    static_cast<void>(startUpStep(u"counting the drawing views of the active sheet", [&] {
        noDrawingViews = host::toInt32(engine::activeSheetDrawingViews(state_.draftDocument)
                                           .get(dispatch::drawingViews::count)) == 0;
    }));
    if (noDrawingViews) {
        refuse(u"There are no Drawing Views in this Sheet. Exiting.");
        return false;
    }

    state_.templateTaken = false;
    window_.setCaption(engine::StatusLine::view, u"Select Drawing Views to update");
    state_.dotCounter = 0;
    // Still tolerated like every step of start-up: the z-order helpers raise
    // "Overflow" for a window rectangle whose size does not fit 32 bits.
    tolerate([&] { window_.setTopmost(); });
    tolerate([&] { window_.clearTopmost(); });
    startingUp_ = false;
    return true;
}

void Form1::cmdAccept_Click() {
    if (!idle()) {
        return;
    }
    runInProgress_ = true;
    const engine::RunEnd runEnd = engine::cmdAccept_Click(state_, window_);
    if (runEnd == engine::RunEnd::completed) {
        my_end(ProgramEnd::finished);
    } else {
        endProgram(ProgramEnd::fatal);
    }
}

void Form1::cmdCancel_Click() {
    if (idle()) {
        my_end(ProgramEnd::finished);
    }
}

void Form1::cmdHelp_Click() {
    if (idle()) {
        window_.showAbout(loadAboutBox());
    }
}

bool Form1::closeFromFrame() {
    if (!idle()) {
        return false;
    }
    endProgram(ProgramEnd::closed);
    return true;
}

void Form1::refuse(std::u16string_view message) {
    window_.showMessage(message);
    my_end(ProgramEnd::refused);
}

void Form1::my_end(ProgramEnd reason) {
    exit_.endingBegins();
    // Every step is tried, whatever the state of the host and the references.
    state_.tables.clear();
    releaseDocuments();
    // The host's switches are put back even when a completed run has just put
    // them back, on purpose: it keeps the host calls and their order, on which
    // the results, the numbering of faults and drawings coloured before depend.
    engine::restoreHostSwitches(state_.hostApp, [](auto&& put) { tolerate(put); });
    state_.hostApp.reset();
    endProgram(reason);
}

void Form1::releaseDocuments() {
    state_.currentView.reset();
    state_.assemblyDocument.reset();
    state_.draftDocument.reset();
}

void Form1::releaseHostReferences() {
    state_.tables.clear();
    releaseDocuments();
    state_.hostApp.reset();
}

void Form1::endProgram(ProgramEnd reason) {
    // However the program ends (after an error, or closed from the frame,
    // without the shutdown steps), the host gets every reference back before
    // the process goes: Solid Edge then frees those objects at once instead
    // of holding them until COM notices that the process is gone. Giving a
    // reference back is no host call.
    exit_.endingBegins();
    releaseHostReferences();
    end_ = reason;
    runInProgress_ = false;
    window_.closeAll();
    exit_.endProgram(reason);
}

}  // namespace tav::app
