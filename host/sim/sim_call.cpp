#include "host/sim/sim_call.h"

#include "host/ascii_case.h"
#include "host/conversions.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "platform/utf.h"

namespace tav::sim {
namespace {

// A conversion the host cannot make is a host error, not one of the tool's.
template <class Convert>
auto convertArgument(const host::Value& value, Convert&& convert) {
    try {
        return convert(value);
    } catch (const host::AutomationError&) {
        throw hostError(u"Type mismatch");
    }
}

}  // namespace

SimCall::SimCall(SimModel& model, std::int32_t number, const host::MemberName& member,
                 host::CallKind kind, std::span<host::Argument> args,
                 std::optional<std::size_t> document)
    : model_(model),
      number_(number),
      member_(member),
      kind_(kind),
      args_(args),
      document_(document) {}

Scene& SimCall::scene() const {
    return model_.scene();
}

bool SimCall::reads(host::DispId id) const {
    return kind_ != host::CallKind::put && !member_.byName() && member_.id == id;
}

bool SimCall::readsNamed(std::u16string_view name) const {
    return kind_ != host::CallKind::put && member_.byName() &&
           host::equalsIgnoringAsciiCase(member_.name, name);
}

bool SimCall::puts(host::DispId id) const {
    return kind_ == host::CallKind::put && !member_.byName() && member_.id == id;
}

bool SimCall::putsNamed(std::u16string_view name) const {
    return kind_ == host::CallKind::put && member_.byName() &&
           host::equalsIgnoringAsciiCase(member_.name, name);
}

bool SimCall::fetchesItem() const {
    return reads(host::dispatch::defaultMember) && !args_.empty();
}

const host::Value& SimCall::argument(std::size_t position) const {
    if (position >= args_.size()) {
        throw hostError(u"Argument not optional");
    }
    return args_[position].value;
}

bool SimCall::booleanArgument(std::size_t position) const {
    return convertArgument(argument(position), host::toBool);
}

std::int32_t SimCall::longArgument(std::size_t position) const {
    return convertArgument(argument(position), host::toInt32);
}

std::u16string SimCall::textArgument(std::size_t position) const {
    return convertArgument(argument(position), host::toText);
}

nlohmann::json SimCall::eventArgument(std::size_t position) const {
    return position < args_.size() ? model_.eventValue(args_[position].value) : nullptr;
}

nlohmann::json SimCall::eventArguments() const {
    nlohmann::json values = nlohmann::json::array();
    for (const host::Argument& arg : args_) {
        values.push_back(model_.eventValue(arg.value));
    }
    return values;
}

host::Value SimCall::handOut(NodePtr node) const {
    return model_.handOut(std::move(node), document_);
}

void SimCall::raiseFault(const Faults& faults, FaultKeyList keys) {
    for (std::string_view key : keys) {
        if (faults.contains(key)) {
            throw simulatedFailure(key);
        }
    }
}

host::Value SimCall::unknownMember() {
    // As an automation client reports a member or name the object lacks.
    return perform(noFaults, {}, []() -> host::Value { throw host::memberNotSupportedError(); });
}

void SimCall::raiseInjectedFailure(const Faults& faults, FaultKeyList keys) const {
    if (model_.scene().failCall == number_) {
        throw failedCall(number_);
    }
    raiseFault(faults, keys);
}

void SimCall::record(result::HostEvent event) const {
    event.call = number_;
    model_.record(event);
}

}  // namespace tav::sim
