#include "host/error.h"
#include "host/value.h"

namespace tav::host {
namespace {

Value invokeOn(HostObject* object, const MemberName& member, CallKind kind,
               std::span<Argument> args) {
    if (object == nullptr) {
        throw objectNotSetError();
    }
    return object->invoke(member, kind, args);
}

}  // namespace

Value ObjectRef::get(DispId member) const {
    return get(member, {});
}

Value ObjectRef::get(DispId member, std::span<Argument> args) const {
    return invokeOn(object(), MemberName{member, {}}, CallKind::get, args);
}

Value ObjectRef::get(std::u16string_view name) const {
    return get(name, {});
}

Value ObjectRef::get(std::u16string_view name, std::span<Argument> args) const {
    return invokeOn(object(), MemberName{0, name}, CallKind::get, args);
}

void ObjectRef::put(DispId member, Value value) const {
    put(member, Argument{std::move(value), false});
}

void ObjectRef::put(DispId member, Argument argument) const {
    invokeOn(object(), MemberName{member, {}}, CallKind::put, std::span<Argument>(&argument, 1));
}

void ObjectRef::put(std::u16string_view name, Value value) const {
    Argument argument{std::move(value), false};
    invokeOn(object(), MemberName{0, name}, CallKind::put, std::span<Argument>(&argument, 1));
}

Value ObjectRef::call(DispId member, std::span<Argument> args) const {
    return invokeOn(object(), MemberName{member, {}}, CallKind::method, args);
}

Value ObjectRef::call(std::u16string_view name, std::span<Argument> args) const {
    return invokeOn(object(), MemberName{0, name}, CallKind::method, args);
}

Value ObjectRef::invoke(const MemberName& member, CallKind kind, std::span<Argument> args) const {
    return invokeOn(object(), member, kind, args);
}

Value ObjectRef::item(Value index) const {
    Argument argument{std::move(index), false};
    return invokeOn(object(), MemberName{dispatch::defaultMember, {}}, CallKind::get,
                    std::span<Argument>(&argument, 1));
}

ObjectRef ObjectRef::as(const InterfaceId& iid) const {
    if (object_ == nullptr) {
        return {};
    }
    ObjectRef cast = tryAs(iid);
    if (cast.empty()) {
        throw typeMismatchError();
    }
    return cast;
}

ObjectRef ObjectRef::tryAs(const InterfaceId& iid) const {
    if (object_ == nullptr) {
        return {};
    }
    return object_->queryInterface(iid);
}

}  // namespace tav::host
