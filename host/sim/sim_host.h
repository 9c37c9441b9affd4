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
class SimNode;   // one object of the host

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

// One document as results show it. A closed document shows what it last
// saved (what the scene gave, when never saved).
struct DocumentState {
    std::string id;
    std::string path;  // "" when it has none
    bool open = false;
    bool active = false;
    std::int32_t saves = 0;
    std::optional<bool> unsaved;  // open documents only: changed since opened or saved
    bool draft = false;
    // Drafts only: the active sheet (1-based), the select set by view id or
    // item id, and the line styles in collection order.
    std::int32_t activeSheet = 0;
    std::vector<std::string> selection;
    std::vector<LineStyleState> lineStyles;
};

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
    std::vector<LineStyleState> lineStyles() const;
    // Every model member of type 1 or 6 in every drawing view, in scene order.
    std::vector<PartMemberState> partMembers() const;

    // Whether the scene describes documents on disk, sheets, alerts or the
    // other things only such scenes use, so that results tell of them.
    bool describesDocuments() const;
    // "DisplayAlerts" as it is now.
    bool displayAlerts() const;
    // Every document of the scene, in scene order.
    std::vector<DocumentState> documents() const;

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

    // How objects passed back as arguments are recognised; see SimModel.
    void setObjectResolver(std::function<const SimNode*(const host::ObjectRef&)> resolver);

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
