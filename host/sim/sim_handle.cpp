#include "host/sim/sim_handle.h"

#include "host/ascii_case.h"
#include "host/error.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"

namespace tav::sim {
namespace {

bool answersName(const ObjectClass& objectClass, std::u16string_view name) {
    for (std::u16string_view known : objectClass.lateBoundNames) {
        if (host::equalsIgnoringAsciiCase(known, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

SimHandle::SimHandle(std::shared_ptr<SimModel> model, NodePtr node,
                     std::optional<std::size_t> document, std::uint32_t closures)
    : model_(std::move(model)), node_(std::move(node)), document_(document), closures_(closures) {
    model_->retain();
}

SimHandle::~SimHandle() {
    model_->release();
}

host::Value SimHandle::invoke(const host::MemberName& member, host::CallKind kind,
                              std::span<host::Argument> args) {
    if (member.byName() && !answersName(node_->objectClass(), member.name)) {
        // As a name the object cannot look up: the call never reaches it.
        throw host::memberNotSupportedError();
    }
    SimCall call(*model_, model_->beginCall(), member, kind, args, document_);
    if (document_ && model_->documents().closures(*document_) != closures_) {
        // Its document closed after it was handed out.
        return call.perform(noFaults, {}, []() -> host::Value {
            throw hostError(u"The object's document has been closed");
        });
    }
    return node_->invoke(call);
}

host::ObjectRef SimHandle::queryInterface(const host::InterfaceId& iid) {
    if (node_->interfaceId() != iid) {
        return {};
    }
    // The same object: it lives and dies with this reference's document.
    return host::ObjectRef(std::make_shared<SimHandle>(model_, node_, document_, closures_));
}

}  // namespace tav::sim
