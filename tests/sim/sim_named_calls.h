// Calls by name on the simulated host, as a late-bound client makes them:
// reads, puts and method calls with arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"

namespace tav::sim::test_support {

inline host::Value invokeNamed(const host::ObjectRef& target, std::u16string_view name,
                               host::CallKind kind, std::vector<host::Value> values) {
    std::vector<host::Argument> args;
    for (host::Value& value : values) {
        args.push_back(host::byValue(std::move(value)));
    }
    return target.backendObject<host::HostObject>()->invoke(host::MemberName{0, name}, kind, args);
}

inline host::Value getNamed(const host::ObjectRef& target, std::u16string_view name,
                            std::vector<host::Value> args = {}) {
    return invokeNamed(target, name, host::CallKind::get, std::move(args));
}

inline host::Value callNamed(const host::ObjectRef& target, std::u16string_view name,
                             std::vector<host::Value> args = {}) {
    return invokeNamed(target, name, host::CallKind::method, std::move(args));
}

inline void putNamed(const host::ObjectRef& target, std::u16string_view name, host::Value value) {
    invokeNamed(target, name, host::CallKind::put, {std::move(value)});
}

inline host::Value text(std::u16string_view value) {
    return host::Value(std::u16string(value));
}

}  // namespace tav::sim::test_support
