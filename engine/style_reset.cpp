#include "engine/style_reset.h"

#include <set>

#include "engine/edge_kinds.h"
#include "engine/error_modes.h"
#include "engine/own_style_names.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

std::u16string quoted(std::u16string_view text) {
    std::u16string quotedText;
    quotedText.reserve(text.size() + 2);
    quotedText.push_back(u'"');
    quotedText.append(text);
    quotedText.push_back(u'"');
    return quotedText;
}

StyleOrigin none(std::u16string why) {
    return {std::nullopt, std::move(why)};
}

// The style of that name, or an empty reference when the draft does not
// hold it (or the lookup fails).
ObjectRef styleNamed(const ObjectRef& lineStyles, const std::u16string& name) {
    ObjectRef style;
    tolerate([&] { style = host::toObject(lineStyles.item(name)); });
    return style;
}

StyleOrigin followParents(const EngineState& state, const std::u16string& start) {
    ObjectRef lineStyles;
    if (!attempt([&] {
            lineStyles =
                host::toObject(state.draftDocument.get(dispatch::draftDocument::lineStyles));
        })) {
        return none(u"the draft's line styles cannot be read");
    }
    std::set<std::u16string> met{start};
    std::u16string current = start;
    for (;;) {
        const ObjectRef style = styleNamed(lineStyles, current);
        if (style.empty()) {
            return none(quoted(current) + u" is not in the draft");
        }
        std::u16string parent;
        if (!attempt([&] { parent = host::toText(style.get(dispatch::lineStyle::parentName)); })) {
            return none(u"the parent of " + quoted(current) + u" cannot be read");
        }
        if (parent.empty()) {
            return none(quoted(current) + u" has no parent");
        }
        if (!isOwnStyleName(parent)) {
            if (styleNamed(lineStyles, parent).empty()) {
                return none(u"its origin " + quoted(parent) + u" is not in the draft");
            }
            return {parent, {}};
        }
        if (!met.insert(parent).second) {
            return none(u"its parents come back to " + quoted(parent));
        }
        current = parent;
    }
}

void keep(MemberRecord& record, RunStatistics& statistics, const std::u16string& style,
          const std::u16string& why) {
    ++statistics.edgeStylesKept;
    if (!record.resetNote.empty()) {
        record.resetNote += u"; ";
    }
    record.resetNote += quoted(style) + u" kept: " + why;
}

}  // namespace

const StyleOrigin& styleOriginOf(EngineState& state, const std::u16string& styleName) {
    auto found = state.styleOrigins.find(styleName);
    if (found == state.styleOrigins.end()) {
        found = state.styleOrigins.emplace(styleName, followParents(state, styleName)).first;
    }
    return found->second;
}

void resetMemberStyles(RunContext& context, std::int32_t i) {
    EngineState& state = context.state;
    MemberRecord& record = state.tables.members.at(i);
    RunStatistics& statistics = state.statistics;
    ++statistics.partMembers;
    bool changed = false;
    for (std::size_t k = 0; k < edgeKinds.size(); ++k) {
        const EdgeKind& kind = edgeKinds[k];
        std::u16string current;
        if (!attempt([&] { current = host::toText(record.member.get(kind.memberProperty)); })) {
            continue;  // nothing known of it: not one of ours as far as the run can tell
        }
        const std::optional<OwnStyleName> own = parseOwnStyleName(current);
        if (!own || own->kind != k) {
            continue;  // not ours, or ours for another kind of edge: left alone
        }
        const StyleOrigin& origin = styleOriginOf(state, current);
        if (!origin.style) {
            keep(record, statistics, current, origin.whyNone);
            continue;
        }
        if (state.dryRun) {
            if (state.recordPlannedStyles) {
                state.plannedStyleChanges.emplace_back(current, *origin.style);
            }
        } else if (attempt([&] { record.member.put(kind.memberProperty, *origin.style); })) {
            ++statistics.memberStylesPut;
        } else {
            keep(record, statistics, current, u"Solid Edge refused " + quoted(*origin.style));
            continue;
        }
        record.resetStyles[k] = *origin.style;
        changed = true;
    }
    if (changed) {
        ++statistics.resetMembers;
    }
}

}  // namespace tav::engine
