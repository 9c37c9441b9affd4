// One object of the simulated host, as the tool can reach it: a small
// immutable description of where it sits in the scene. The live state stays
// in the model; handles (SimHandle) carry nodes to the tool.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "host/automation_ids.h"
#include "host/sim/object_classes.h"
#include "host/sim/scene.h"
#include "host/value.h"

namespace tav::sim {

class SimCall;

class SimNode {
  public:
    virtual ~SimNode() = default;
    // The class of the object, as the host's type information describes it.
    virtual const ObjectClass& objectClass() const = 0;
    // The one interface of ours this object answers to, if any.
    std::optional<host::InterfaceId> interfaceId() const { return objectClass().iid; }
    // Carries out one host call on this object.
    virtual host::Value invoke(SimCall& call) const = 0;
    // What a select set holds when this object is added to it; nothing for an
    // object that cannot be selected.
    virtual std::optional<SelectionEntry> selectionEntry() const { return std::nullopt; }
    // The document the object is: a document names itself, and the objects
    // below it take their document from the object they came from.
    virtual std::optional<std::size_t> ownDocument() const { return std::nullopt; }
};

using NodePtr = std::shared_ptr<const SimNode>;

}  // namespace tav::sim
