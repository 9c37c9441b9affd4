#include "engine/member_walk.h"

#include "engine/error_modes.h"
#include "engine/host_paths.h"
#include "engine/progress_dots.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
namespace member = host::dispatch::modelMember;
using host::ObjectRef;

constexpr std::u16string_view restartCaption = u"Processing ModelMembers.";

ObjectRef childrenOf(const ObjectRef& objmm) {
    return collection(objmm, member::children, dispatch::modelMembers::iid);
}

std::int16_t childCount(const ObjectRef& objmm) {
    return host::toInt16(childrenOf(objmm).get(dispatch::modelMembers::count));
}

ObjectRef childAt(const ObjectRef& objmm, std::int32_t position) {
    return itemAt(childrenOf(objmm), position, member::iid);
}

double memberType(const ObjectRef& objmm) {
    return host::toDouble(objmm.get(member::type));
}

// Tolerant: the first part member whose template guard reads False supplies
// the three edge style names; a name that cannot be read stays empty.
void captureTemplates(EngineState& state, const ObjectRef& objmm) {
    bool guard = true;
    if (!attempt([&] { guard = host::toBool(objmm.get(member::templateGuard)); }) || guard) {
        return;  // a guard that cannot be read supplies nothing either
    }
    tolerate([&] { state.templateVisible = host::toText(objmm.get(member::visibleEdgeStyle)); });
    tolerate([&] { state.templateHidden = host::toText(objmm.get(member::hiddenEdgeStyle)); });
    tolerate([&] { state.templateTangent = host::toText(objmm.get(member::tangentEdgeStyle)); });
    state.templateTaken = true;
}

// Tolerant: the record is written even when the member's name cannot be read.
void appendMemberRecord(RunTables& tables, const ObjectRef& objmm, const std::u16string& path) {
    MemberRecord* record = nullptr;
    if (!attempt([&] { record = &tables.members.append(); })) {
        return;
    }
    tolerate([&] { record->fileName = host::toText(objmm.get(member::name)); });
    record->asmPath = path;
    record->member = objmm;
    record->color = noColor;
}

void walkContainer(RunContext& context, const ObjectRef& objmm, const std::u16string& path) {
    std::int16_t count = 0;
    if (!attempt([&] { count = childCount(objmm); })) {
        return;  // children that cannot be counted contribute nothing
    }
    for (std::int32_t j = 1; j <= count; ++j) {
        // A child whose fetch or path fails is abandoned; its siblings go on.
        tolerate([&] {
            ObjectRef child = childAt(objmm, j);
            std::u16string childPath = path + u"/" + host::toText(objmm.get(member::name));
            readModelMembers(context, child, childPath);
        });
    }
}

}  // namespace

void readAllModelMembers(RunContext& context, const ObjectRef& objdrv) {
    ObjectRef viewMembers =
        collection(objdrv, dispatch::drawingView::modelMembers, dispatch::modelMembers::iid);
    ObjectRef root = itemAt(viewMembers, 1, member::iid);
    viewMembers.reset();
    const std::int16_t count = childCount(root);
    for (std::int32_t i = 1; i <= count; ++i) {
        readModelMembers(context, childAt(root, i), u"");
    }
    root.reset();
}

void readModelMembers(RunContext& context, const ObjectRef& objmm, const std::u16string& path) {
    progressStep(context, restartCaption);

    // From here on every failure is absorbed.
    double type = 0;
    if (!attempt([&] { type = memberType(objmm); })) {
        return;  // a member of unknown type is skipped with everything below it
    }
    if (type == member::containerType) {
        walkContainer(context, objmm, path);
        return;
    }
    // The type is read twice more, once for each kind of part member.
    bool isPart = false;
    if (!attempt([&] {
            const double first = memberType(objmm);
            const double second = memberType(objmm);
            isPart = first == member::partType || second == member::otherPartType;
        })) {
        return;
    }
    if (!isPart) {
        return;  // other types: no record, children not visited
    }
    EngineState& state = context.state;
    if (!state.templateTaken) {
        captureTemplates(state, objmm);
    }
    appendMemberRecord(state.tables, objmm, path);
}

}  // namespace tav::engine
