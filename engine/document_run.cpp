#include "engine/document_run.h"

#include <array>
#include <vector>

#include "engine/error_modes.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;

void startClosingCommand(const host::ObjectRef& hostApp) {
    std::array<host::Argument, 1> command{host::byValue(dispatch::application::commandAfterRun)};
    hostApp.call(dispatch::application::startCommand, command);
}

// Releases the document's objects however its run ends.
class DocumentHold {
  public:
    DocumentHold(EngineState& state, const host::ObjectRef& draftDocument) : state_(state) {
        state_.draftDocument = draftDocument;
    }
    ~DocumentHold() {
        state_.tables.clear();
        state_.styleOrigins.clear();
        state_.plannedStyleChanges.clear();
        state_.currentView.reset();
        state_.assemblyDocument.reset();
        state_.draftDocument.reset();
    }
    DocumentHold(const DocumentHold&) = delete;
    DocumentHold& operator=(const DocumentHold&) = delete;

  private:
    EngineState& state_;
};

}  // namespace

DocumentRunEnd processDocument(RunContext& context, const host::ObjectRef& draftDocument,
                               const DocumentRunOptions& options, SheetRunObserver& observer) {
    DocumentHold hold(context.state, draftDocument);
    EngineState& state = context.state;
    state.dryRun = options.dryRun;
    state.statistics = {};
    state.styleAction = options.styleAction;
    state.paperSafeRatio = options.paperSafeRatio;
    state.recordPlannedStyles = options.dryRun && options.removeUnusedStyles;
    DocumentRunEnd end;
    const std::vector<host::ObjectRef> sheets = sheetsToProcess(draftDocument, options.sheets);
    const auto sheetTotal = static_cast<std::int32_t>(sheets.size());
    bool lastSheetStrict = false;
    for (std::int32_t s = 1; s <= sheetTotal; ++s) {
        const host::ObjectRef& sheet = sheets[static_cast<std::size_t>(s - 1)];
        observer.sheetStarts(sheet, s, sheetTotal);
        const SheetRunEnd sheetEnd = processSheet(context, sheet, observer);
        end.viewsProcessed += sheetEnd.viewsProcessed;
        ++end.sheetsProcessed;
        lastSheetStrict = sheetEnd.strict;
    }
    if (!options.dryRun) {
        if (lastSheetStrict) {
            startClosingCommand(context.state.hostApp);
        } else {
            tolerate([&] { startClosingCommand(context.state.hostApp); });
        }
    }
    for (const auto& [style, origin] : state.styleOrigins) {
        if (!origin.style) {
            end.keptStyles.push_back(u"\"" + style + u"\" kept: " + origin.whyNone);
        }
    }
    if (options.removeUnusedStyles) {
        end.removal = removeUnusedStyles(context);
    }
    return end;
}

}  // namespace tav::engine
