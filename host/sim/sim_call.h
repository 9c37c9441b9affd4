// One host call as an object of the simulated host receives it: which member
// is asked for, its arguments, and the rules every call follows. A call first
// fails if it is the scene's failCall, then if the object's fault list holds
// one of the operation's keys; only then does the operation run. State
// changes are reported as HostEvents after the attempt, failed or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

#include "host/sim/scene.h"
#include "host/sim/sim_node.h"
#include "host/value.h"
#include "testbed/result_file/records/host_event.h"

namespace tav::sim {

class SimModel;

using FaultKeyList = std::initializer_list<std::string_view>;

class SimCall {
  public:
    // `document`: the document of the object called, if any.
    SimCall(SimModel& model, std::int32_t number, const host::MemberName& member,
            host::CallKind kind, std::span<host::Argument> args,
            std::optional<std::size_t> document = std::nullopt);

    SimModel& model() const { return model_; }
    Scene& scene() const;

    // What is asked. A get and a method call reach the same members; a put
    // only the members that can be set.
    bool reads(host::DispId id) const;
    bool readsNamed(std::u16string_view name) const;
    bool puts(host::DispId id) const;
    bool putsNamed(std::u16string_view name) const;
    // The default member with an argument: a collection item.
    bool fetchesItem() const;

    // Arguments, converted as the host converts them; a missing or
    // unconvertible argument raises a host error.
    std::span<host::Argument> arguments() const { return args_; }
    const host::Value& argument(std::size_t position) const;
    bool booleanArgument(std::size_t position) const;
    std::int32_t longArgument(std::size_t position) const;
    std::u16string textArgument(std::size_t position) const;
    // The argument as an event shows it (null when it is missing).
    nlohmann::json eventArgument(std::size_t position) const;
    // Every argument, as an event shows a method's arguments.
    nlohmann::json eventArguments() const;

    // A new reference to `node`, as a returned value; it belongs to the
    // called object's document unless it is a document itself.
    host::Value handOut(NodePtr node) const;

    // Raises the first of `keys` that `faults` holds, for an operation that
    // answers to the faults of more than one object (after `perform` has
    // checked the call number and the first object's).
    static void raiseFault(const Faults& faults, FaultKeyList keys);

    // Runs `action` unless the call is the failing one or `faults` holds one
    // of `keys`.
    template <class Action>
    host::Value perform(const Faults& faults, FaultKeyList keys, Action&& action) {
        raiseInjectedFailure(faults, keys);
        return std::forward<Action>(action)();
    }

    // As `perform`, then reports `event` with whether the call succeeded.
    template <class Action>
    host::Value performRecorded(result::HostEvent event, const Faults& faults, FaultKeyList keys,
                                Action&& action) {
        try {
            host::Value result = perform(faults, keys, std::forward<Action>(action));
            event.ok = true;
            record(std::move(event));
            return result;
        } catch (...) {
            event.ok = false;
            record(std::move(event));
            throw;
        }
    }

    // A member the object does not have.
    host::Value unknownMember();

  private:
    void raiseInjectedFailure(const Faults& faults, FaultKeyList keys) const;
    void record(result::HostEvent event) const;

    SimModel& model_;
    std::int32_t number_;
    const host::MemberName& member_;
    host::CallKind kind_;
    std::span<host::Argument> args_;
    std::optional<std::size_t> document_;
};

// For operations that no scene can fail.
inline const Faults noFaults{};

}  // namespace tav::sim
