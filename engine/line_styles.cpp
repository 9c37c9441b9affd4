#include "engine/line_styles.h"

#include <array>

#include "engine/edge_kinds.h"
#include "engine/error_modes.h"
#include "engine/paper_safe.h"
#include "engine/text.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

std::u16string styleName(const std::u16string& baseName, const EdgeKind& kind) {
    return baseName + std::u16string(kind.suffix);
}

// The template each edge kind's style is created from, in edgeKinds' order.
constexpr std::array<std::u16string EngineState::*, edgeKindCount> templateNames{
    &EngineState::templateVisible, &EngineState::templateHidden, &EngineState::templateTangent};

// In a dry run that looks for unused styles: what the member's edges would
// change from and to. A style that cannot be read changes from nothing known.
void recordPlannedStyles(EngineState& state, const ObjectRef& member,
                         const std::u16string& baseName) {
    for (const EdgeKind& kind : edgeKinds) {
        std::u16string current;
        tolerate([&] { current = host::toText(member.get(kind.memberProperty)); });
        state.plannedStyleChanges.emplace_back(std::move(current), styleName(baseName, kind));
    }
}

}  // namespace

ColorValue styleColor(const EngineState& state, ColorValue partColor) {
    if (!state.paperSafeRatio || partColor <= noColor) {
        return partColor;
    }
    return paperSafeColor(partColor, *state.paperSafeRatio);
}

void applyMemberStyles(RunContext& context, std::int32_t i) {
    EngineState& state = context.state;
    const MemberRecord& record = state.tables.members.at(i);
    RunStatistics& statistics = state.statistics;
    ++statistics.partMembers;
    if (record.color <= noColor) {
        return;
    }
    ++statistics.coloredMembers;
    const ColorValue color = styleColor(state, record.color);
    const std::u16string baseName = decimalText(color);
    if (state.dryRun) {
        if (state.recordPlannedStyles) {
            recordPlannedStyles(state, record.member, baseName);
        }
        return;
    }
    addStyles(context, baseName, color);
    statistics.memberStylesPut += matchStyle(record.member, baseName);
}

void addStyles(RunContext& context, const std::u16string& baseName, ColorValue color) {
    EngineState& state = context.state;
    // The draft's line styles are fetched afresh for every member coloured, on
    // purpose: it keeps the host calls and their order, on which the results,
    // the numbering of faults and drawings coloured before depend.
    ObjectRef lineStyles;
    tolerate([&] {
        lineStyles = host::toObject(state.draftDocument.get(dispatch::draftDocument::lineStyles))
                         .as(dispatch::lineStyles::iid);
    });
    ObjectRef style;
    for (std::size_t k = 0; k < edgeKinds.size(); ++k) {
        const std::u16string name = styleName(baseName, edgeKinds[k]);
        style.reset();
        const bool found =
            attempt([&] { style = host::toObject(lineStyles.item(name)); }) && !style.empty();
        if (found) {
            continue;  // used unchanged
        }
        const bool created = attempt([&] {
            std::u16string& templateName = state.*templateNames[k];
            std::array<host::Argument, 2> arguments{host::byValue(name),
                                                    host::byReference(templateName)};
            style = host::toObject(lineStyles.call(dispatch::lineStyles::add, arguments))
                        .as(dispatch::lineStyle::iid);
            // The template is passed by reference to the captured name.
            if (const auto* changed = arguments[1].value.getIf<std::u16string>()) {
                templateName = *changed;
            }
        });
        if (created) {
            ++state.statistics.stylesCreated;
        }
        // After a failed creation the working reference is empty and this
        // step fails without reaching the host.
        if (attempt([&] { style.put(dispatch::lineStyle::color, host::byReference(color)); })) {
            ++state.statistics.styleColorsPut;
        }
    }
}

std::int32_t matchStyle(const ObjectRef& member, const std::u16string& baseName) {
    std::int32_t stylesPut = 0;
    for (const EdgeKind& kind : edgeKinds) {
        if (attempt([&] { member.put(kind.memberProperty, styleName(baseName, kind)); })) {
            ++stylesPut;
        }
    }
    return stylesPut;
}

}  // namespace tav::engine
