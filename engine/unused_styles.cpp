#include "engine/unused_styles.h"

#include <array>
#include <map>

#include "engine/edge_kinds.h"
#include "engine/error_modes.h"
#include "engine/error_text.h"
#include "engine/host_paths.h"
#include "engine/own_style_names.h"
#include "engine/sheet_run.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;
using UseCounts = std::map<std::u16string, std::int64_t>;

// Every item of a collection whose count is its `countId`.
std::vector<ObjectRef> itemsOf(const ObjectRef& items, host::DispId countId,
                               const host::InterfaceId& iid) {
    const std::int32_t count = host::toInt32(items.get(countId));
    std::vector<ObjectRef> all;
    for (std::int32_t i = 1; i <= count; ++i) {
        all.push_back(itemAt(items, i, iid));
    }
    return all;
}

// Strict: the member's three styles, then its children's, all the way down.
void countUses(const ObjectRef& member, UseCounts& uses) {
    for (const EdgeKind& kind : edgeKinds) {
        ++uses[host::toText(member.get(kind.memberProperty))];
    }
    const ObjectRef children =
        collection(member, dispatch::modelMember::children, dispatch::modelMembers::iid);
    for (const ObjectRef& child :
         itemsOf(children, dispatch::modelMembers::count, dispatch::modelMember::iid)) {
        countUses(child, uses);
    }
}

// Strict: how often each style is used by the members of every view of
// every sheet.
UseCounts styleUses(const ObjectRef& draftDocument) {
    UseCounts uses;
    for (const ObjectRef& sheet : sheetsToProcess(draftDocument, SheetChoice::all)) {
        const ObjectRef views =
            collection(sheet, dispatch::sheet::drawingViews, dispatch::drawingViews::iid);
        for (const ObjectRef& view :
             itemsOf(views, dispatch::drawingViews::count, dispatch::drawingView::iid)) {
            const ObjectRef members =
                collection(view, dispatch::drawingView::modelMembers, dispatch::modelMembers::iid);
            for (const ObjectRef& member :
                 itemsOf(members, dispatch::modelMembers::count, dispatch::modelMember::iid)) {
                countUses(member, uses);
            }
        }
    }
    return uses;
}

// Strict: the names of the draft's styles that are the tool's own, in the
// collection's order.
std::vector<std::u16string> ownStyleNames(const ObjectRef& lineStyles) {
    const std::int32_t count = host::toInt32(lineStyles.get(dispatch::lineStyles::countName));
    std::vector<std::u16string> names;
    for (std::int32_t i = 1; i <= count; ++i) {
        const ObjectRef style = host::toObject(lineStyles.item(host::Value(i)));
        std::u16string name = host::toText(style.get(dispatch::lineStyle::nameName));
        if (isOwnStyleName(name)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

// A dry run changed nothing: its planned puts move the uses it would have moved.
void applyPlannedChanges(const EngineState& state, UseCounts& uses) {
    for (const auto& [from, to] : state.plannedStyleChanges) {
        --uses[from];
        ++uses[to];
    }
}

}  // namespace

StyleRemoval removeUnusedStyles(RunContext& context) {
    EngineState& state = context.state;
    StyleRemoval removal;
    ObjectRef lineStyles;
    std::vector<std::u16string> candidates;
    UseCounts uses;
    const bool searched = attempt(
        [&] {
            lineStyles =
                host::toObject(state.draftDocument.get(dispatch::draftDocument::lineStyles));
            candidates = ownStyleNames(lineStyles);
            uses = styleUses(state.draftDocument);
        },
        [&](const host::AutomationError& error) {
            removal.notSearched = u"which styles are in use cannot be read: " + errorText(error);
        });
    if (!searched) {
        return removal;
    }
    if (state.dryRun) {
        applyPlannedChanges(state, uses);
    }
    for (const std::u16string& name : candidates) {
        if (const auto used = uses.find(name); used != uses.end() && used->second > 0) {
            continue;
        }
        if (state.dryRun) {
            removal.removed.push_back(name);
            continue;
        }
        std::array<host::Argument, 1> argument{host::byValue(name)};
        const bool removed =
            attempt([&] { lineStyles.call(dispatch::lineStyles::removeName, argument); },
                    [&](const host::AutomationError& error) {
                        removal.refused.emplace_back(name, errorText(error));
                    });
        if (removed) {
            removal.removed.push_back(name);
            ++state.statistics.stylesRemoved;
        }
    }
    return removal;
}

}  // namespace tav::engine
