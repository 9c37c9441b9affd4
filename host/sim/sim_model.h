// The live state of the simulated host: the scene as the tool's calls change
// it, the call counter, the count of references the tool holds, the commands
// carried out, and where events go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/sim/document_states.h"
#include "host/sim/line_style_index.h"
#include "host/sim/scene.h"
#include "host/sim/sim_host.h"
#include "host/sim/sim_node.h"
#include "host/value.h"

namespace tav::sim {

class SimModel : public std::enable_shared_from_this<SimModel> {
  public:
    SimModel(Scene scene, HostEventSink onEvent);
    SimModel(const SimModel&) = delete;
    SimModel& operator=(const SimModel&) = delete;

    Scene& scene() { return scene_; }
    const Scene& scene() const { return scene_; }

    // Numbers the next host call.
    std::int32_t beginCall() { return ++hostCalls_; }
    std::int32_t hostCalls() const { return hostCalls_; }

    // A new reference to `node`; it counts as held until its last copy goes.
    // It belongs to the node's own document, else to `owner` (the document
    // of the object it came from), and dies when that document closes.
    host::ObjectRef handOut(NodePtr node, std::optional<std::size_t> owner = std::nullopt);
    void retain() { ++heldReferences_; }
    void release() { --heldReferences_; }
    std::int32_t heldReferences() const { return heldReferences_; }

    // The line styles of document `document` (empty unless it is a draft).
    LineStyleIndex& lineStyles(std::size_t document) { return lineStyleIndexes_.at(document); }

    // Which documents are open, what they saved, how often they closed.
    DocumentStates& documents() { return documents_; }
    const DocumentStates& documents() const { return documents_; }
    // Opens, saves or closes a document, its line styles kept in step.
    void closeDocument(std::size_t document) {
        documents_.close(scene_, lineStyleIndexes_, document);
    }

    void record(const result::HostEvent& event) const;
    std::vector<std::int32_t>& commands() { return commands_; }
    const std::vector<std::int32_t>& commands() const { return commands_; }

    // The draft that results report: the active document when it is a
    // draft, else the first draft.
    std::optional<std::size_t> reportedDraft() const;
    // The draft a drawing view belongs to: the first draft listing it, else
    // the reported draft.
    std::optional<std::size_t> draftOfView(std::size_t view) const;

    // Turns an object the tool passes as an argument back into this host's
    // own node, or null for an object that is not ours: a handle of this
    // model.
    const SimNode* resolve(const host::ObjectRef& ref) const;

    // The select-set entry a value refers to, when it holds one of this
    // host's drawing views or selectable items.
    std::optional<SelectionEntry> selectionEntryOf(const host::Value& value) const;
    const std::string& selectionId(const SelectionEntry& entry) const;
    // A value as events show it.
    nlohmann::json eventValue(const host::Value& value) const;

  private:
    Scene scene_;
    HostEventSink onEvent_;
    std::vector<std::optional<std::size_t>> viewDrafts_;
    std::vector<LineStyleIndex> lineStyleIndexes_;  // one per document
    DocumentStates documents_;
    std::int32_t hostCalls_ = 0;
    std::int32_t heldReferences_ = 0;
    std::vector<std::int32_t> commands_;
};

}  // namespace tav::sim
