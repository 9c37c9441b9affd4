#include "host/sim/sim_handle.h"

#include "host/sim/sim_call.h"
#include "host/sim/sim_model.h"

namespace tav::sim {

SimHandle::SimHandle(std::shared_ptr<SimModel> model, NodePtr node)
    : model_(std::move(model)), node_(std::move(node)) {
    model_->retain();
}

SimHandle::~SimHandle() {
    model_->release();
}

host::Value SimHandle::invoke(const host::MemberName& member, host::CallKind kind,
                              std::span<host::Argument> args) {
    SimCall call(*model_, model_->beginCall(), member, kind, args);
    return node_->invoke(call);
}

host::ObjectRef SimHandle::queryInterface(const host::InterfaceId& iid) {
    if (node_->interfaceId() != iid) {
        return {};
    }
    return model_->handOut(node_);
}

}  // namespace tav::sim
