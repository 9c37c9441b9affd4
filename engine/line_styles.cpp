#include "engine/line_styles.h"

#include <array>

#include "engine/error_modes.h"
#include "engine/text.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

struct EdgeKind {
    std::u16string_view suffix;
    std::u16string EngineState::*templateName;
    host::DispId memberProperty;
};

constexpr std::array<EdgeKind, 3> edgeKinds{{
    {u"_visible", &EngineState::templateVisible, dispatch::modelMember::visibleEdgeStyle},
    {u"_hidden", &EngineState::templateHidden, dispatch::modelMember::hiddenEdgeStyle},
    {u"_tangent", &EngineState::templateTangent, dispatch::modelMember::tangentEdgeStyle},
}};

std::u16string styleName(const std::u16string& baseName, const EdgeKind& kind) {
    return baseName + std::u16string(kind.suffix);
}

}  // namespace

void applyMemberStyles(RunContext& context, std::int32_t i) {
    const MemberRecord& record = context.state.tables.members.at(i);
    RunStatistics& statistics = context.state.statistics;
    ++statistics.partMembers;
    if (record.color <= noColor) {
        return;
    }
    ++statistics.coloredMembers;
    if (context.state.dryRun) {
        return;
    }
    const std::u16string baseName = decimalText(record.color);
    addStyles(context, baseName, record.color);
    statistics.memberStylesPut += matchStyle(record.member, baseName);
}

void addStyles(RunContext& context, const std::u16string& faceStyleName, ColorValue color) {
    EngineState& state = context.state;
    ObjectRef lineStyles;
    tolerate([&] {
        lineStyles = host::toObject(state.draftDocument.get(dispatch::draftDocument::lineStyles))
                         .as(dispatch::lineStyles::iid);
    });
    ObjectRef style;
    for (const EdgeKind& kind : edgeKinds) {
        const std::u16string name = styleName(faceStyleName, kind);
        style.reset();
        const bool found =
            attempt([&] { style = host::toObject(lineStyles.item(name)); }) && !style.empty();
        if (found) {
            continue;  // used unchanged
        }
        const bool created = attempt([&] {
            std::u16string& templateName = state.*kind.templateName;
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
