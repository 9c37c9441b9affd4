#include "host/sim/sim_model.h"

#include <type_traits>
#include <variant>

#include "host/sim/sim_handle.h"
#include "platform/utf.h"

namespace tav::sim {

namespace {

// The draft each view's sheet belongs to; a view on no sheet goes with the
// reported draft.
std::vector<std::optional<std::size_t>> draftsOfViews(const Scene& scene,
                                                      std::optional<std::size_t> reported) {
    std::vector<std::optional<std::size_t>> drafts(scene.drawingViews.size(), std::nullopt);
    for (std::size_t d = 0; d < scene.documents.size(); ++d) {
        for (const Sheet& sheet : scene.documents[d].sheets) {
            for (std::size_t view : sheet.drawingViews) {
                if (!drafts[view]) {
                    drafts[view] = d;
                }
            }
        }
    }
    for (auto& draft : drafts) {
        if (!draft) {
            draft = reported;
        }
    }
    return drafts;
}

std::vector<LineStyleIndex> lineStyleIndexesOf(Scene& scene) {
    std::vector<LineStyleIndex> indexes;
    indexes.reserve(scene.documents.size());
    for (Document& document : scene.documents) {
        indexes.emplace_back(document.lineStyles);
    }
    return indexes;
}

}  // namespace

SimModel::SimModel(Scene scene, HostEventSink onEvent)
    : scene_(std::move(scene)),
      onEvent_(std::move(onEvent)),
      viewDrafts_(draftsOfViews(scene_, reportedDraft())),
      lineStyleIndexes_(lineStyleIndexesOf(scene_)),
      documents_(scene_, viewDrafts_) {}

host::ObjectRef SimModel::handOut(NodePtr node, std::optional<std::size_t> owner) {
    std::optional<std::size_t> document = node->ownDocument();
    if (!document) {
        document = owner;
    }
    std::uint32_t closures = document ? documents_.closures(*document) : 0;
    return host::ObjectRef(
        std::make_shared<SimHandle>(shared_from_this(), std::move(node), document, closures));
}

void SimModel::record(const result::HostEvent& event) const {
    if (onEvent_) {
        onEvent_(event);
    }
}

std::optional<std::size_t> SimModel::reportedDraft() const {
    const auto& active = scene_.activeDocument;
    if (active && scene_.documents[*active].kind == DocumentKind::draft) {
        return active;
    }
    for (std::size_t d = 0; d < scene_.documents.size(); ++d) {
        if (scene_.documents[d].kind == DocumentKind::draft) {
            return d;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SimModel::draftOfView(std::size_t view) const {
    return viewDrafts_.at(view);
}

const SimNode* SimModel::resolve(const host::ObjectRef& ref) const {
    const SimHandle* handle = ref.backendObject<SimHandle>();
    if (handle == nullptr || &handle->model() != this) {
        return nullptr;
    }
    return &handle->node();
}

std::optional<SelectionEntry> SimModel::selectionEntryOf(const host::Value& value) const {
    const auto* ref = value.getIf<host::ObjectRef>();
    const SimNode* node = ref ? resolve(*ref) : nullptr;
    if (node == nullptr) {
        return std::nullopt;
    }
    return node->selectionEntry();
}

const std::string& SimModel::selectionId(const SelectionEntry& entry) const {
    return entry.kind == SelectionEntry::Kind::drawingView
               ? scene_.drawingViews.at(entry.index).id
               : scene_.selectedItems.at(entry.index).id;
}

nlohmann::json SimModel::eventValue(const host::Value& value) const {
    return std::visit(
        [this, &value](const auto& v) -> nlohmann::json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, host::Value::Empty>) {
                return nullptr;
            } else if constexpr (std::is_same_v<T, std::u16string>) {
                return platform::toUtf8(v);
            } else if constexpr (std::is_same_v<T, host::ObjectRef>) {
                std::optional<SelectionEntry> entry = selectionEntryOf(value);
                return entry ? nlohmann::json(selectionId(*entry)) : nlohmann::json(nullptr);
            } else if constexpr (std::is_same_v<T, host::DoubleArray>) {
                return v.items;
            } else {
                return v;
            }
        },
        value.storage());
}

}  // namespace tav::sim
