// A reference the simulated host hands to the tool. Each handle counts as one
// held reference from its creation until the tool drops the last copy of the
// ObjectRef holding it. Handles keep the model alive, so a reference may
// outlive the SimHost that made it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "host/sim/sim_node.h"
#include "host/value.h"

namespace tav::sim {

class SimModel;

class SimHandle final : public host::HostObject {
  public:
    // `document`: the document the object belongs to, if any, closed
    // `closures` times when it was handed out.
    SimHandle(std::shared_ptr<SimModel> model, NodePtr node, std::optional<std::size_t> document,
              std::uint32_t closures);
    ~SimHandle() override;
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;

    host::Value invoke(const host::MemberName& member, host::CallKind kind,
                       std::span<host::Argument> args) override;
    host::ObjectRef queryInterface(const host::InterfaceId& iid) override;

    const SimModel& model() const { return *model_; }
    const SimNode& node() const { return *node_; }

  private:
    std::shared_ptr<SimModel> model_;
    NodePtr node_;
    std::optional<std::size_t> document_;
    std::uint32_t closures_;
};

}  // namespace tav::sim
