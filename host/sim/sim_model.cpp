#include "host/sim/sim_model.h"

#include <type_traits>
#include <variant>

#include "host/sim/sim_handle.h"
#include "host/utf.h"

namespace tav::sim {

SimModel::SimModel(Scene scene, HostEventSink onEvent)
    : scene_(std::move(scene)), onEvent_(std::move(onEvent)) {
    viewDrafts_.assign(scene_.drawingViews.size(), std::nullopt);
    for (std::size_t d = 0; d < scene_.documents.size(); ++d) {
        for (std::size_t view : scene_.documents[d].drawingViews) {
            if (!viewDrafts_[view]) {
                viewDrafts_[view] = d;
            }
        }
    }
    lineStyleIndexes_.reserve(scene_.documents.size());
    for (Document& document : scene_.documents) {
        lineStyleIndexes_.emplace_back(document.lineStyles);
    }
    for (auto& draft : viewDrafts_) {
        if (!draft) {
            draft = reportedDraft();
        }
    }
}

host::ObjectRef SimModel::handOut(NodePtr node) {
    return host::ObjectRef(std::make_shared<SimHandle>(shared_from_this(), std::move(node)));
}

void SimModel::record(const HostEvent& event) const {
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
    if (resolver_) {
        return resolver_(ref);
    }
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
                return host::toUtf8(v);
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
