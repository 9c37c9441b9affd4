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
#include "host/sim/scene.h"
#include "testbed/result_file/records/host_event.h"
#include "testbed/result_file/records/host_state.h"

namespace tav::sim {

class SimModel;  // the live state behind the objects
class SimNode;   // one object of the host

using HostEventSink = std::function<void(const result::HostEvent&)>;

// What the host's state is, for results and reports. Reads only; makes no
// host call. The COM server writes its result file from this alone.
class SimInspector {
  public:
    explicit SimInspector(std::shared_ptr<const SimModel> model);

    // Host calls made so far.
    std::int32_t hostCalls() const;
    // References handed to the tool and not yet given back.
    std::int32_t heldReferences() const;

    // One of the application's Boolean switches: interactive or delay-compute.
    bool property(host::DispId member) const;
    // The command number of every started command the host carried out, in order.
    std::vector<std::int32_t> commands() const;
    // The select set of the reported draft (the active document when it is a
    // draft, else the first draft of the scene), by view id or item id.
    std::vector<std::string> selection() const;
    // The line styles of the reported draft, in collection order.
    std::vector<result::LineStyleState> lineStyles() const;
    // Every model member of type 1 or 6 in every drawing view, in scene order.
    std::vector<result::PartMemberState> partMembers() const;

    // Whether the scene describes documents on disk, sheets, alerts or the
    // other things only such scenes use, so that results tell of them.
    bool describesDocuments() const;
    // "DisplayAlerts" as it is now.
    bool displayAlerts() const;
    // Every document of the scene, in scene order.
    std::vector<result::DocumentState> documents() const;

  private:
    std::shared_ptr<const SimModel> model_;
};

// The running-application lookup of the simulated host: what the tool's
// start-up goes through in process.
class SimConnector final : public host::HostConnector {
  public:
    explicit SimConnector(std::shared_ptr<SimModel> model);

    // The application when the scene's host runs and `progId` names it
    // (letter case ignored); else a lookup error. Not a host call.
    host::ObjectRef getRunning(std::u16string_view progId) override;

  private:
    std::shared_ptr<SimModel> model_;
};

// A simulated host built from a scene: the lookup the tool attaches through
// and the inspector that reads the results.
class SimHost {
  public:
    explicit SimHost(Scene scene, HostEventSink onEvent = {});
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // Whether the scene's Solid Edge runs at all (a server registers nothing
    // when it does not).
    bool running() const;
    // A new reference to the application object, whether or not the lookup
    // would find it: what a server puts into the running-object table.
    host::ObjectRef application();

    host::HostConnector& connector() { return connector_; }
    const SimInspector& inspector() const { return inspector_; }

  private:
    // Shared with every handle handed out, so that a reference the tool still
    // holds stays valid after the SimHost goes.
    std::shared_ptr<SimModel> model_;
    SimConnector connector_;
    SimInspector inspector_;
};

}  // namespace tav::sim
