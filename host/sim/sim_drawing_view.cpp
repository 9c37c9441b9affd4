// Drawing views, their model references, and the model members below them.
#include "host/sim/fault_keys.h"
#include "host/sim/member_names.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "platform/utf.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

class DrawingViewNode final : public SimNode {
  public:
    explicit DrawingViewNode(std::size_t view) : view_(view) {}

    const ObjectClass& objectClass() const override { return classes::drawingView; }

    std::optional<SelectionEntry> selectionEntry() const override {
        return SelectionEntry{SelectionEntry::Kind::drawingView, view_};
    }

    host::Value invoke(SimCall& call) const override {
        const DrawingView& view = call.scene().drawingViews[view_];
        if (call.reads(ids::drawingView::modelReference)) {
            return call.perform(view.fail, {fault::drawingView::modelReference}, [&] {
                if (!view.model) {
                    throw hostError(u"No model reference");
                }
                return call.handOut(modelReference(view_));
            });
        }
        if (call.reads(ids::drawingView::modelMembers)) {
            return call.perform(view.fail, {fault::drawingView::modelMembers},
                                [&] { return call.handOut(viewModelMembers(view_)); });
        }
        if (call.readsNamed(ids::selectSet::typeName)) {
            return call.perform(view.fail, {fault::drawingView::type},
                                [] { return host::Value(ids::selectSet::drawingViewObjectType); });
        }
        if (call.readsNamed(ids::selectSet::drawingViewTypeName)) {
            return call.perform(view.fail, {fault::drawingView::drawingViewType},
                                [&] { return host::Value(view.drawingViewType); });
        }
        if (call.readsNamed(names::drawingView::name)) {
            return call.perform(noFaults, {}, [&] {
                return host::Value(view.name ? *view.name : platform::toUtf16(view.id));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t view_;
};

class ModelReferenceNode final : public SimNode {
  public:
    explicit ModelReferenceNode(std::size_t view) : view_(view) {}

    const ObjectClass& objectClass() const override { return classes::modelReference; }

    host::Value invoke(SimCall& call) const override {
        const DrawingView& view = call.scene().drawingViews[view_];
        const ModelReference& model = view.model.value();
        if (call.reads(ids::modelReference::fileName)) {
            return call.perform(view.fail, {fault::drawingView::modelFile},
                                [&] { return host::Value(model.file); });
        }
        if (call.reads(ids::modelReference::modelDocument)) {
            return call.perform(view.fail, {fault::drawingView::modelDocument}, [&] {
                DocumentKind kind = call.scene().documents[model.document].kind;
                return call.handOut(document(model.document, kind));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t view_;
};

// A view's model members: one item, the root member.
class ViewModelMembersNode final : public SimNode {
  public:
    explicit ViewModelMembersNode(std::size_t view) : view_(view) {}

    const ObjectClass& objectClass() const override { return classes::modelMembers; }

    host::Value invoke(SimCall& call) const override {
        if (call.reads(ids::modelMembers::count)) {
            return call.perform(noFaults, {}, [] { return host::Value(std::int32_t{1}); });
        }
        if (call.fetchesItem()) {
            return call.perform(noFaults, {}, [&] {
                itemPosition(call, 1);
                return call.handOut(modelMember(view_, call.scene().drawingViews[view_].root));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t view_;
};

// The children of a model member, with the member's own faults and counts.
class MemberChildrenNode final : public SimNode {
  public:
    MemberChildrenNode(std::size_t view, ModelMember& owner) : view_(view), owner_(&owner) {}

    const ObjectClass& objectClass() const override { return classes::modelMembers; }

    host::Value invoke(SimCall& call) const override {
        std::vector<ModelMember>& children = owner_->children;
        if (call.reads(ids::modelMembers::count)) {
            return call.perform(owner_->fail, {fault::modelMember::childrenCount}, [&] {
                return host::Value(
                    reportedCount(owner_->counts, counted::children, children.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(owner_->fail, {fault::modelMember::childrenItem}, [&] {
                return call.handOut(
                    modelMember(view_, children[itemPosition(call, children.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t view_;
    ModelMember* owner_;
};

struct EdgeStyleMember {
    host::DispId id;
    std::u16string EdgeStyles::*style;
    std::string_view readKey;
    std::string_view putKey;
};

constexpr EdgeStyleMember edgeStyleMembers[] = {
    {ids::modelMember::visibleEdgeStyle, &EdgeStyles::visible, fault::modelMember::visibleStyle,
     fault::modelMember::putVisible},
    {ids::modelMember::hiddenEdgeStyle, &EdgeStyles::hidden, fault::modelMember::hiddenStyle,
     fault::modelMember::putHidden},
    {ids::modelMember::tangentEdgeStyle, &EdgeStyles::tangent, fault::modelMember::tangentStyle,
     fault::modelMember::putTangent},
};

class ModelMemberNode final : public SimNode {
  public:
    ModelMemberNode(std::size_t view, ModelMember& member) : view_(view), member_(&member) {}

    const ObjectClass& objectClass() const override { return classes::modelMember; }

    host::Value invoke(SimCall& call) const override {
        ModelMember& m = *member_;
        if (call.reads(ids::modelMember::type)) {
            return call.perform(m.fail, {fault::modelMember::type},
                                [&] { return host::Value(m.type); });
        }
        if (call.reads(ids::modelMember::children)) {
            return call.perform(m.fail, {fault::modelMember::children},
                                [&] { return call.handOut(memberChildren(view_, m)); });
        }
        if (call.reads(ids::modelMember::name)) {
            return call.perform(m.fail, {fault::modelMember::name},
                                [&] { return host::Value(m.name); });
        }
        if (call.reads(ids::modelMember::edgeStylesOverridden)) {
            return call.perform(m.fail, {fault::modelMember::edgeStylesOverridden},
                                [&] { return host::Value(m.edgeStylesOverridden); });
        }
        for (const EdgeStyleMember& edge : edgeStyleMembers) {
            std::u16string& current = m.styles.*edge.style;
            if (call.reads(edge.id)) {
                return call.perform(m.fail, {edge.readKey}, [&] { return host::Value(current); });
            }
            if (call.puts(edge.id)) {
                result::HostEvent event{result::HostEvent::Verb::put, "member:" + m.id, edge.id,
                                        call.eventArgument(0)};
                return call.performRecorded(std::move(event), m.fail, {edge.putKey}, [&] {
                    std::u16string name = call.textArgument(0);
                    requireLineStyle(call, name);
                    std::optional<std::size_t> draft = call.model().draftOfView(view_);
                    if (draft) {
                        call.model().documents().willChange(call.scene(), *draft);
                    }
                    current = std::move(name);
                    if (draft) {
                        call.model().documents().markChanged(*draft);
                    }
                    return host::Value();
                });
            }
        }
        return call.unknownMember();
    }

  private:
    // An edge style must be one of the line styles of the member's draft.
    void requireLineStyle(const SimCall& call, const std::u16string& name) const {
        std::optional<std::size_t> draft = call.model().draftOfView(view_);
        if (draft && call.model().lineStyles(*draft).find(name)) {
            return;
        }
        throw noLineStyleNamed(name);
    }

    std::size_t view_;
    ModelMember* member_;
};

}  // namespace

NodePtr drawingView(std::size_t view) {
    return std::make_shared<DrawingViewNode>(view);
}

NodePtr modelReference(std::size_t view) {
    return std::make_shared<ModelReferenceNode>(view);
}

NodePtr viewModelMembers(std::size_t view) {
    return std::make_shared<ViewModelMembersNode>(view);
}

NodePtr memberChildren(std::size_t view, ModelMember& owner) {
    return std::make_shared<MemberChildrenNode>(view, owner);
}

NodePtr modelMember(std::size_t view, ModelMember& member) {
    return std::make_shared<ModelMemberNode>(view, member);
}

}  // namespace tav::sim::objects
