#include "engine/member_walk.h"

#include "engine/error_modes.h"
#include "engine/host_paths.h"
#include "engine/progress_dots.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
namespace memberIds = host::dispatch::modelMember;
using host::ObjectRef;

constexpr std::u16string_view restartCaption = u"Processing ModelMembers.";

// The children's collection is fetched afresh for the count and for every
// child, on purpose: it keeps the host calls and their order, on which the
// results, the numbering of faults and drawings coloured before depend.
ObjectRef childrenOf(const ObjectRef& member) {
    return collection(member, memberIds::children, dispatch::modelMembers::iid);
}

std::int16_t childCount(const ObjectRef& member) {
    return host::toInt16(childrenOf(member).get(dispatch::modelMembers::count));
}

ObjectRef childAt(const ObjectRef& member, std::int32_t position) {
    return itemAt(childrenOf(member), position, memberIds::iid);
}

double memberType(const ObjectRef& member) {
    return host::toDouble(member.get(memberIds::type));
}

// Tolerant: the first part member that shows the drawing's own edge styles
// (none set on the member itself) supplies the three style names; a name that
// cannot be read stays empty.
void captureTemplates(EngineState& state, const ObjectRef& member) {
    bool overridden = true;
    if (!attempt([&] { overridden = host::toBool(member.get(memberIds::edgeStylesOverridden)); }) ||
        overridden) {
        return;  // a flag that cannot be read supplies nothing either
    }
    tolerate(
        [&] { state.templateVisible = host::toText(member.get(memberIds::visibleEdgeStyle)); });
    tolerate([&] { state.templateHidden = host::toText(member.get(memberIds::hiddenEdgeStyle)); });
    tolerate(
        [&] { state.templateTangent = host::toText(member.get(memberIds::tangentEdgeStyle)); });
    state.templateTaken = true;
}

// Tolerant: the record is written even when the member's name cannot be read.
void appendMemberRecord(RunTables& tables, const ObjectRef& member, const std::u16string& path) {
    MemberRecord* record = nullptr;
    if (!attempt([&] { record = &tables.members.append(); })) {
        return;
    }
    tolerate([&] { record->fileName = host::toText(member.get(memberIds::name)); });
    record->assemblyPath = path;
    record->member = member;
    record->color = noColor;
}

void walkContainer(RunContext& context, const ObjectRef& member, const std::u16string& path) {
    std::int16_t count = 0;
    if (!attempt([&] { count = childCount(member); })) {
        return;  // children that cannot be counted contribute nothing
    }
    for (std::int32_t j = 1; j <= count; ++j) {
        // A child whose fetch or path fails is abandoned; its siblings go on.
        // The container's name is read again for each child's path, on purpose:
        // a name that fails for one child abandons that child only, and it
        // keeps the host calls and their order, on which the results, the
        // numbering of faults and drawings coloured before depend.
        tolerate([&] {
            ObjectRef child = childAt(member, j);
            std::u16string childPath = path + u"/" + host::toText(member.get(memberIds::name));
            readModelMembers(context, child, childPath);
        });
    }
}

}  // namespace

void readAllModelMembers(RunContext& context, const ObjectRef& view) {
    ObjectRef viewMembers =
        collection(view, dispatch::drawingView::modelMembers, dispatch::modelMembers::iid);
    ObjectRef root = itemAt(viewMembers, 1, memberIds::iid);
    viewMembers.reset();
    const std::int16_t count = childCount(root);
    for (std::int32_t i = 1; i <= count; ++i) {
        readModelMembers(context, childAt(root, i), u"");
    }
    root.reset();
}

void readModelMembers(RunContext& context, const ObjectRef& member, const std::u16string& path) {
    progressStep(context, restartCaption);

    // From here on every failure is absorbed.
    double type = 0;
    if (!attempt([&] { type = memberType(member); })) {
        return;  // a member of unknown type is skipped with everything below it
    }
    if (type == memberIds::containerType) {
        walkContainer(context, member, path);
        return;
    }
    // The type is read twice more, once for each kind of part member, on
    // purpose: a host that answers differently from one read to the next (or
    // fails on a later read) decides a member the same way, and it keeps the
    // host calls and their order, on which the results, the numbering of faults
    // and drawings coloured before depend.
    bool isPart = false;
    if (!attempt([&] {
            const double first = memberType(member);
            const double second = memberType(member);
            isPart = first == memberIds::partType || second == memberIds::otherPartType;
        })) {
        return;
    }
    if (!isPart) {
        return;  // other types: no record, children not visited
    }
    EngineState& state = context.state;
    if (!state.templateTaken) {
        captureTemplates(state, member);
    }
    appendMemberRecord(state.tables, member, path);
}

}  // namespace tav::engine
