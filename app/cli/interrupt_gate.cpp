#include "app/cli/interrupt_gate.h"

#include <vector>

namespace tav::cli {
namespace {

class GuardedObject final : public host::HostObject {
  public:
    GuardedObject(InterruptGate& gate, host::ObjectRef inner)
        : gate_(gate), inner_(std::move(inner)) {}

    host::Value invoke(const host::MemberName& member, host::CallKind kind,
                       std::span<host::Argument> args) override {
        // Objects passed back go to the host as the host's own.
        for (host::Argument& argument : args) {
            if (const host::ObjectRef* object = argument.value.getIf<host::ObjectRef>()) {
                if (const GuardedObject* guarded = object->backendObject<GuardedObject>()) {
                    argument.value = guarded->inner_;
                }
            }
        }
        gate_.beforeCall();
        host::Value result;
        try {
            result = inner_.invoke(member, kind, args);
        } catch (const host::AutomationError& error) {
            gate_.callFailed(error);
            throw;
        }
        if (const host::ObjectRef* object = result.getIf<host::ObjectRef>()) {
            return gate_.guard(*object);
        }
        return result;
    }

    host::ObjectRef queryInterface(const host::InterfaceId& iid) override {
        return gate_.guard(inner_.tryAs(iid));
    }

  private:
    InterruptGate& gate_;
    host::ObjectRef inner_;
};

}  // namespace

host::ObjectRef InterruptGate::guard(host::ObjectRef object) {
    if (object.empty()) {
        return object;
    }
    return host::ObjectRef(std::make_shared<GuardedObject>(*this, std::move(object)));
}

void InterruptGate::beforeCall() {
    ++calls_;
    if (calls_ == requestAtCall_) {
        request();
    }
    if (requested() && !raised_) {
        raised_ = true;
        throw Interrupted();
    }
}

void InterruptGate::callFailed(const host::AutomationError& error) {
    if (host::isHostGoneNumber(error.number())) {
        hostGone_ = true;
    }
}

}  // namespace tav::cli
