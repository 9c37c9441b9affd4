#include "engine/sheet_run.h"

#include <array>

#include "engine/error_modes.h"
#include "engine/host_paths.h"
#include "engine/run_steps.h"
#include "engine/view_run.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

void appendSheetsOf(std::vector<ObjectRef>& sheets, const ObjectRef& sections,
                    std::u16string_view sectionName) {
    const ObjectRef section = host::toObject(sections.get(sectionName));
    const ObjectRef sectionSheets = host::toObject(section.get(dispatch::sections::sheetsName));
    const std::int32_t count = host::toInt32(sectionSheets.get(dispatch::sheets::countName));
    for (std::int32_t i = 1; i <= count; ++i) {
        std::array<host::Argument, 1> index{host::byValue(i)};
        sheets.push_back(host::toObject(sectionSheets.get(dispatch::sheets::itemName, index))
                             .as(dispatch::sheet::iid));
    }
}

bool isUsableViewKind(double kind) {
    for (const std::int32_t unusable : dispatch::selectSet::unusableViewKinds) {
        if (kind == unusable) {
            return false;
        }
    }
    return true;
}

// The views the window's selection would hold once filtered, in index order.
// The window selects and filters before it processes any view, so every
// step here is tolerated: a view that cannot be fetched is left out, one
// whose kind cannot be read is kept.
std::vector<ObjectRef> usableViewsOf(const ObjectRef& sheet) {
    std::vector<ObjectRef> usable;
    ObjectRef views;
    std::int16_t viewCount = 0;  // a count that cannot be read selects nothing
    tolerate([&] {
        views = collection(sheet, dispatch::sheet::drawingViews, dispatch::drawingViews::iid);
        viewCount = host::toInt16(views.get(dispatch::drawingViews::count));
    });
    for (std::int32_t i = 1; i <= viewCount; ++i) {
        ObjectRef view;
        if (!attempt([&] { view = itemAt(views, i, dispatch::drawingView::iid); })) {
            continue;
        }
        bool keep = true;
        tolerate([&] {
            keep = isUsableViewKind(
                host::toDouble(view.get(dispatch::selectSet::drawingViewTypeName)));
        });
        if (keep) {
            usable.push_back(std::move(view));
        }
    }
    return usable;
}

}  // namespace

std::vector<ObjectRef> sheetsToProcess(const ObjectRef& draftDocument, SheetChoice choice) {
    std::vector<ObjectRef> sheets;
    if (choice == SheetChoice::active) {
        sheets.push_back(
            collection(draftDocument, dispatch::draftDocument::activeSheet, dispatch::sheet::iid));
        return sheets;
    }
    const ObjectRef sections =
        host::toObject(draftDocument.get(dispatch::draftDocument::sectionsName));
    appendSheetsOf(sheets, sections, dispatch::sections::workingSectionName);
    if (choice == SheetChoice::all) {
        appendSheetsOf(sheets, sections, dispatch::sections::backgroundSectionName);
    }
    return sheets;
}

SheetRunEnd processSheet(RunContext& context, const ObjectRef& sheet, SheetRunObserver& observer) {
    EngineState& state = context.state;
    // As a fresh press of Process in a fresh window would start.
    state.templateVisible.clear();
    state.templateHidden.clear();
    state.templateTangent.clear();
    state.templateTaken = false;
    state.dotCounter = 0;

    RunSteps steps;
    SheetRunEnd end;
    std::vector<ObjectRef> views = usableViewsOf(sheet);
    const auto viewTotal = static_cast<std::int32_t>(views.size());
    for (std::int32_t j = 1; j <= viewTotal; ++j) {
        state.currentView = std::move(views[static_cast<std::size_t>(j - 1)]);
        state.tables.clear();
        observer.viewStarts(state.currentView, j, viewTotal);
        processCurrentView(context, steps);
        observer.viewDone(state);
        ++end.viewsProcessed;
    }
    state.tables.clear();
    state.currentView.reset();
    state.assemblyDocument.reset();
    end.strict = steps.strict();
    return end;
}

}  // namespace tav::engine
