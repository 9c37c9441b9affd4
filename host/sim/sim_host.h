// The simulated Solid Edge: an in-memory object model answering the same
// dispatch ids and names as the real host, built from a scene.
//
// It counts host calls (and fails the call numbered `failCall`), raises the
// faults a scene injects, counts the references the tool holds, and reports
// every state-changing call as a HostEvent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_connector.h"
#include "host/sim/host_event.h"
#include "host/sim/scene.h"

namespace tav::sim {

class SimModel;  // the live state behind the objects

using HostEventSink = std::function<void(const HostEvent&)>;

struct LineStyleState {
    std::string name;
    std::int32_t color = 0;
    std::optional<std::string> templateName;  // empty for a style the scene brought
};

struct PartMemberState {
    std::string view;  // the drawing view's id
    std::string id;    // the member's id, or its index path ("V1/2/1")
    std::string path;  // names of the enclosing containers, "/" before each
    std::string name;
    std::string visible;
    std::string hidden;
    std::string tangent;
};

class SimHost : public host::HostConnector {
  public:
    explicit SimHost(Scene scene, HostEventSink onEvent = {});
    ~SimHost() override;
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // The application when the scene's host runs and `progId` names it
    // (letter case ignored); else a lookup error. Not a host call.
    host::ObjectRef getRunning(std::u16string_view progId) override;

    // Host calls made so far.
    std::int32_t hostCalls() const;
    // References handed to the tool and not yet given back.
    std::int32_t heldReferences() const;

    // The application's Boolean property (18 or 73).
    bool property(host::DispId member) const;
    // Arguments of every dispatch 79 call the host carried out, in order.
    std::vector<std::int32_t> commands() const;
    // The select set of the reported draft (the active document when it is a
    // draft, else the first draft of the scene), by view id or item id.
    std::vector<std::string> selection() const;
    // The line styles of the reported draft, in collection order.
    std::vector<LineStyleState> lineStyles() const;
    // Every model member of type 1 or 6 in every drawing view, in scene order.
    std::vector<PartMemberState> partMembers() const;

  private:
    // Shared with every handle handed out, so that a reference the tool still
    // holds stays valid after the SimHost goes.
    std::shared_ptr<SimModel> model_;
};

}  // namespace tav::sim
