#include "host/sim/sim_host.h"

#include <stdexcept>

#include "host/ascii_case.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "platform/utf.h"

namespace tav::sim {
namespace {

namespace ids = host::dispatch;

// Collects the members of type 1 or 6 below `member`, depth first.
void collectPartMembers(const DrawingView& view, const ModelMember& member, const std::string& path,
                        std::vector<result::PartMemberState>& out) {
    for (const ModelMember& child : member.children) {
        std::string name = platform::toUtf8(child.name);
        if (child.type == ids::modelMember::partType ||
            child.type == ids::modelMember::otherPartType) {
            out.push_back({view.id, child.id, path, name, platform::toUtf8(child.styles.visible),
                           platform::toUtf8(child.styles.hidden),
                           platform::toUtf8(child.styles.tangent)});
        }
        collectPartMembers(view, child, path + "/" + name, out);
    }
}

std::vector<result::LineStyleState> lineStylesOf(const Document& draft) {
    std::vector<result::LineStyleState> styles;
    styles.reserve(draft.lineStyles.size());
    for (const LineStyle& style : draft.lineStyles) {
        std::optional<std::string> templateName;
        if (style.templateName) {
            templateName = platform::toUtf8(*style.templateName);
        }
        styles.push_back({platform::toUtf8(style.name), style.color, std::move(templateName)});
    }
    return styles;
}

}  // namespace

SimInspector::SimInspector(std::shared_ptr<const SimModel> model) : model_(std::move(model)) {}

SimConnector::SimConnector(std::shared_ptr<SimModel> model) : model_(std::move(model)) {}

host::ObjectRef SimConnector::getRunning(std::u16string_view progId) {
    if (!model_->scene().host.running || !host::equalsIgnoringAsciiCase(progId, host::hostProgId)) {
        throw host::AutomationError(notRunningNumber, u"Operation unavailable");
    }
    return model_->handOut(objects::application());
}

SimHost::SimHost(Scene scene, HostEventSink onEvent)
    : model_(std::make_shared<SimModel>(std::move(scene), std::move(onEvent))),
      connector_(model_),
      inspector_(model_) {}

SimHost::~SimHost() = default;

bool SimHost::running() const {
    return model_->scene().host.running;
}

host::ObjectRef SimHost::application() {
    return model_->handOut(objects::application());
}

std::int32_t SimInspector::hostCalls() const {
    return model_->hostCalls();
}

std::int32_t SimInspector::heldReferences() const {
    return model_->heldReferences();
}

bool SimInspector::property(host::DispId member) const {
    const Application& app = model_->scene().host;
    if (member == ids::application::interactive) {
        return app.interactive;
    }
    if (member == ids::application::delayCompute) {
        return app.delayCompute;
    }
    throw std::invalid_argument("the host has no Boolean property " + std::to_string(member));
}

std::vector<std::int32_t> SimInspector::commands() const {
    return model_->commands();
}

std::vector<std::string> SimInspector::selection() const {
    std::vector<std::string> ids;
    if (std::optional<std::size_t> draft = model_->reportedDraft()) {
        for (const SelectionEntry& entry : model_->scene().documents[*draft].selection) {
            ids.push_back(model_->selectionId(entry));
        }
    }
    return ids;
}

std::vector<result::LineStyleState> SimInspector::lineStyles() const {
    std::optional<std::size_t> draft = model_->reportedDraft();
    return draft ? lineStylesOf(model_->scene().documents[*draft])
                 : std::vector<result::LineStyleState>{};
}

bool SimInspector::describesDocuments() const {
    return model_->scene().describesDocuments;
}

bool SimInspector::displayAlerts() const {
    return model_->scene().host.displayAlerts;
}

std::vector<result::DocumentState> SimInspector::documents() const {
    const Scene& scene = model_->scene();
    const DocumentStates& states = model_->documents();
    std::vector<result::DocumentState> out;
    for (std::size_t d = 0; d < scene.documents.size(); ++d) {
        const Document& doc = scene.documents[d];
        result::DocumentState state;
        state.id = doc.id;
        state.path = platform::toUtf8(doc.path.value_or(u""));
        state.open = states.isOpen(d);
        state.active = scene.activeDocument == d;
        state.saves = states.saves(d);
        if (state.open) {
            state.unsaved = states.unsaved(d);
        }
        state.draft = doc.kind == DocumentKind::draft;
        if (state.draft) {
            state.activeSheet = static_cast<std::int32_t>(doc.activeSheet) + 1;
            for (const SelectionEntry& entry : doc.selection) {
                state.selection.push_back(model_->selectionId(entry));
            }
            state.lineStyles = lineStylesOf(doc);
        }
        out.push_back(std::move(state));
    }
    return out;
}

std::vector<result::PartMemberState> SimInspector::partMembers() const {
    std::vector<result::PartMemberState> members;
    for (const DrawingView& view : model_->scene().drawingViews) {
        collectPartMembers(view, view.root, "", members);
    }
    return members;
}

}  // namespace tav::sim
