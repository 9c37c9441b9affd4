#include "engine/run_driver.h"

#include <array>
#include <string>
#include <utility>

#include "engine/error_modes.h"
#include "engine/host_paths.h"
#include "engine/host_switches.h"
#include "engine/run_steps.h"
#include "engine/text.h"
#include "engine/view_run.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

class Run {
  public:
    Run(EngineState& state, StatusWindow& window) : context_{state, window} {}

    RunEnd execute() {
        try {
            selectViews();
            filterSelection();
            processSelectedViews();
            closeRun();
            return RunEnd::completed;
        } catch (const host::AutomationError& error) {
            // Only strict steps let an error out.
            window().showMessage(u"Error " + decimalText(error.number()) + u": " +
                                 error.description());
            restoreHostAfterFailure();
            return RunEnd::fatal;
        }
    }

  private:
    // A step in the run's current error mode (see RunSteps).
    template <class Step>
    bool step(Step&& action) {
        return steps_.step(std::forward<Step>(action));
    }

    ObjectRef selectedItem(std::int32_t position) {
        return host::toObject(selectSet_.item(static_cast<std::int16_t>(position)));
    }

    void selectViews() {
        window().setCaption(StatusLine::view, u"Working");
        userSelection_ = true;
        // The active document is read again, not taken from start-up, on
        // purpose: it keeps the host calls and their order, on which the
        // results, the numbering of faults and drawings coloured before depend.
        step([&] {
            ObjectRef activeDocument =
                host::toObject(state().hostApp.get(dispatch::application::activeDocument));
            selectSet_ = host::toObject(activeDocument.get(dispatch::draftDocument::selectSetName))
                             .as(dispatch::selectSet::iid);
        });
        bool nothingSelected = true;  // a count that cannot be read counts as nothing
        step([&] {
            nothingSelected = host::toInt32(selectSet_.get(dispatch::selectSet::count)) == 0;
        });
        if (nothingSelected) {
            userSelection_ = false;
            selectEveryViewOfTheSheet();
        }
        holdHostSwitches(state().hostApp, [&](auto&& put) { step(put); });
    }

    void selectEveryViewOfTheSheet() {
        std::int16_t viewCount = 0;  // a count that cannot be read selects nothing
        step([&] {
            viewCount = host::toInt16(
                activeSheetDrawingViews(state().draftDocument).get(dispatch::drawingViews::count));
        });
        // The sheet's views are fetched afresh for every view added, on
        // purpose: it keeps the host calls and their order, on which the
        // results, the numbering of faults and drawings coloured before depend.
        for (std::int32_t i = 1; i <= viewCount; ++i) {
            step([&] {
                std::array<host::Argument, 1> view{
                    host::byValue(itemAt(activeSheetDrawingViews(state().draftDocument), i,
                                         dispatch::drawingView::iid))};
                selectSet_.call(dispatch::selectSet::add, view);
            });
        }
    }

    // Leaves only drawing views of usable kinds in the selection. Walks from
    // the end so that removing an item keeps the positions still to examine.
    // The item is fetched afresh for each read, and a view's kind is read
    // twice, once for each unusable kind, on purpose: it keeps the host calls
    // and their order, on which the results, the numbering of faults and
    // drawings coloured before depend.
    void filterSelection() {
        std::int16_t itemCount = 0;
        step([&] { itemCount = host::toInt16(selectSet_.get(dispatch::selectSet::count)); });
        for (std::int32_t k = itemCount; k >= 1; --k) {
            bool isDrawingView = true;  // a type that cannot be read passes the test
            step([&] {
                isDrawingView =
                    host::toDouble(selectedItem(k).get(dispatch::selectSet::typeName)) ==
                    dispatch::selectSet::drawingViewObjectType;
            });
            bool keep = false;
            if (isDrawingView) {
                keep = true;  // a view kind that cannot be read stays selected
                step([&] {
                    const double kind = host::toDouble(
                        selectedItem(k).get(dispatch::selectSet::drawingViewTypeName));
                    const double kindAgain = host::toDouble(
                        selectedItem(k).get(dispatch::selectSet::drawingViewTypeName));
                    keep = kind != dispatch::selectSet::unusableViewKinds[0] &&
                           kindAgain != dispatch::selectSet::unusableViewKinds[1];
                });
            }
            if (!keep) {
                step([&] {
                    std::array<host::Argument, 1> position{
                        host::byValue(static_cast<std::int16_t>(k))};
                    selectSet_.call(dispatch::selectSet::remove, position);
                });
            }
        }
    }

    void processSelectedViews() {
        std::int16_t viewTotal = 0;
        step([&] { viewTotal = host::toInt16(selectSet_.get(dispatch::selectSet::count)); });
        std::int16_t viewNumber = 0;
        for (std::int32_t j = 1; j <= viewTotal; ++j) {
            step([&] { state().currentView = selectedItem(j).as(dispatch::drawingView::iid); });
            state().tables.clear();
            viewNumber = static_cast<std::int16_t>(viewNumber + 1);
            window().setCaption(StatusLine::view, u"Processing View " + decimalText(viewNumber) +
                                                      u" to " + decimalText(viewTotal));
            processCurrentView(context_, steps_);
        }
    }

    // Through the draft's select set read afresh, not the one the run holds, on
    // purpose: it keeps the host calls and their order, on which the results,
    // the numbering of faults and drawings coloured before depend.
    void emptyOwnSelection() {
        ObjectRef selection =
            host::toObject(state().draftDocument.get(dispatch::draftDocument::selectSet))
                .as(dispatch::selectSet::iid);
        selection.call(dispatch::selectSet::clear, {});
    }

    void closeRun() {
        if (!userSelection_) {
            step([&] { emptyOwnSelection(); });
        }
        restoreHostSwitches(state().hostApp, [&](auto&& put) { step(put); });
        step([&] {
            std::array<host::Argument, 1> command{
                host::byValue(dispatch::application::commandAfterRun)};
            state().hostApp.call(dispatch::application::startCommand, command);
        });
    }

    // After a failed run the host must not stay non-interactive: each step
    // is tried whatever happened to the one before. The closing command is
    // not started.
    void restoreHostAfterFailure() {
        if (!userSelection_) {
            tolerate([&] { emptyOwnSelection(); });
        }
        restoreHostSwitches(state().hostApp, [](auto&& put) { tolerate(put); });
    }

    EngineState& state() { return context_.state; }
    StatusWindow& window() { return context_.window; }

    RunContext context_;
    ObjectRef selectSet_;  // held for the whole run
    bool userSelection_ = true;
    RunSteps steps_;
};

}  // namespace

RunEnd cmdAccept_Click(EngineState& state, StatusWindow& window) {
    return Run(state, window).execute();
}

}  // namespace tav::engine
