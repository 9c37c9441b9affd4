// One draft of the command-line tool: its sheets, one after another, then
// the closing command once for the document.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/run_context.h"
#include "engine/sheet_run.h"
#include "engine/unused_styles.h"
#include "host/value.h"

namespace tav::engine {

struct DocumentRunOptions {
    SheetChoice sheets = SheetChoice::working;
    bool dryRun = false;
    StyleAction styleAction = StyleAction::color;
    std::optional<double> paperSafeRatio;
    // After the sheets and the closing command.
    bool removeUnusedStyles = false;
};

struct DocumentRunEnd {
    std::int32_t sheetsProcessed = 0;
    std::int32_t viewsProcessed = 0;
    // What was removed; none unless asked for.
    std::optional<StyleRemoval> removal;
    // A reset's edges kept as they were, each `"255_visible" kept: why`,
    // once per style (every member with that style keeps it for that reason).
    std::vector<std::u16string> keptStyles;
};

// Processes `draftDocument` (its line styles are created once and reused by
// the later sheets). The state's application must be set; its statistics
// count what changed. An AutomationError that leaves is a failure that would
// have ended the window's run: it ends this document, whose remaining sheets
// are skipped. The closing command runs after the last sheet, in that
// sheet's error mode, and not in a dry run. Unused styles are then removed
// when asked, a step that never ends the document.
DocumentRunEnd processDocument(RunContext& context, const host::ObjectRef& draftDocument,
                               const DocumentRunOptions& options, SheetRunObserver& observer);

}  // namespace tav::engine
