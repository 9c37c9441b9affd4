// A draft's select set and the selected objects that are not drawing views.
#include "host/sim/fault_keys.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

class SelectSetNode final : public SimNode {
  public:
    explicit SelectSetNode(std::size_t draft) : draft_(draft) {}

    const ObjectClass& objectClass() const override { return classes::selectSet; }

    host::Value invoke(SimCall& call) const override {
        Document& draft = call.scene().documents[draft_];
        std::vector<SelectionEntry>& entries = draft.selection;
        if (call.reads(ids::selectSet::count)) {
            return call.perform(draft.fail, {fault::draft::selectSetCount}, [&] {
                return host::Value(reportedCount(draft.counts, counted::selectSet, entries.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(draft.fail, {fault::draft::selectSetItem}, [&] {
                return call.handOut(selected(entries[itemPosition(call, entries.size())]));
            });
        }
        if (call.reads(ids::selectSet::add)) {
            return change(call, draft, ids::selectSet::add, fault::draft::selectSetAdd, [&] {
                std::optional<SelectionEntry> entry =
                    call.model().selectionEntryOf(call.argument(0));
                if (!entry) {
                    throw hostError(u"The object cannot be selected");
                }
                entries.push_back(*entry);
            });
        }
        if (call.reads(ids::selectSet::remove)) {
            return change(call, draft, ids::selectSet::remove, fault::draft::selectSetRemove, [&] {
                std::size_t position = itemPosition(call, entries.size());
                entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
            });
        }
        if (call.reads(ids::selectSet::clear)) {
            return change(call, draft, ids::selectSet::clear, fault::draft::selectSetClear,
                          [&] { entries.clear(); });
        }
        return call.unknownMember();
    }

  private:
    // A call that changes the select set, reported with its arguments.
    template <class Action>
    host::Value change(SimCall& call, const Document& draft, host::DispId member,
                       std::string_view faultKey, Action&& action) const {
        result::HostEvent event{result::HostEvent::Verb::call, "selectSet", member,
                                call.eventArguments()};
        return call.performRecorded(std::move(event), draft.fail, {faultKey}, [&] {
            // What a Close takes back: the selection as it was.
            call.model().documents().willChange(call.scene(), draft_);
            action();
            return host::Value();
        });
    }

    std::size_t draft_;
};

class SelectedItemNode final : public SimNode {
  public:
    explicit SelectedItemNode(std::size_t item) : item_(item) {}

    const ObjectClass& objectClass() const override { return classes::selectedObject; }

    std::optional<SelectionEntry> selectionEntry() const override {
        return SelectionEntry{SelectionEntry::Kind::item, item_};
    }

    host::Value invoke(SimCall& call) const override {
        const SelectedItem& item = call.scene().selectedItems[item_];
        if (call.readsNamed(ids::selectSet::typeName)) {
            return call.perform(item.fail, {fault::selectedItem::type},
                                [&] { return host::Value(item.type); });
        }
        if (call.readsNamed(ids::selectSet::drawingViewTypeName)) {
            return call.perform(item.fail, {fault::selectedItem::drawingViewType}, [&] {
                if (!item.drawingViewType) {
                    throw hostError(u"Object doesn't support this property or method");
                }
                return host::Value(*item.drawingViewType);
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t item_;
};

}  // namespace

NodePtr selectSet(std::size_t draft) {
    return std::make_shared<SelectSetNode>(draft);
}

NodePtr selectedItem(std::size_t item) {
    return std::make_shared<SelectedItemNode>(item);
}

NodePtr selected(const SelectionEntry& entry) {
    return entry.kind == SelectionEntry::Kind::drawingView ? drawingView(entry.index)
                                                           : selectedItem(entry.index);
}

}  // namespace tav::sim::objects
