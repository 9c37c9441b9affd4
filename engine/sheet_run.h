// The command-line tool's work on a draft: sheet after sheet, each processed
// exactly as the window's Process treats the active sheet when nothing is
// selected, but without the select set and without touching the active
// sheet: the sheet's drawing views are taken in index order instead.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

enum class SheetChoice {
    working,  // every working sheet, in order
    active,   // the active sheet only
    all,      // the working sheets, then the background sheets
};

// What a draft's run tells its caller as it goes, so that a failure can be
// placed and each view's members reported.
class SheetRunObserver {
  public:
    virtual ~SheetRunObserver() = default;
    virtual void sheetStarts(const host::ObjectRef& sheet, std::int32_t sheetNumber,
                             std::int32_t sheetTotal) = 0;
    virtual void viewStarts(const host::ObjectRef& view, std::int32_t viewNumber,
                            std::int32_t viewTotal) = 0;
    // The view's styles are put; the state's tables still hold its members.
    virtual void viewDone(const EngineState& state) = 0;
};

// The sheets to process, in order. Strict: a failure ends the draft's run.
std::vector<host::ObjectRef> sheetsToProcess(const host::ObjectRef& draftDocument,
                                             SheetChoice choice);

struct SheetRunEnd {
    std::int32_t viewsProcessed = 0;
    // The sheet's run ended strict (a view yielded a model reference).
    bool strict = false;
};

// One sheet, with the window's error modes: tolerant until a view yields a
// model reference, strict from then on (the error leaves, and ends the
// draft's run). Template names are taken afresh for the sheet.
SheetRunEnd processSheet(RunContext& context, const host::ObjectRef& sheet,
                         SheetRunObserver& observer);

}  // namespace tav::engine
