// Sub-occurrences at any level below an assembly's top, and the colour query
// that fills its first array with the part's colour.
#include "host/sim/fault_keys.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

// The sub-occurrences of an occurrence or of a sub-occurrence; the owner's
// fault keys and count override apply.
class SubOccurrencesNode final : public SimNode {
  public:
    SubOccurrencesNode(const std::vector<SubOccurrence>& items, const Faults& ownerFaults,
                       const CountOverrides& ownerCounts)
        : items_(&items), faults_(&ownerFaults), counts_(&ownerCounts) {}

    std::optional<host::InterfaceId> interfaceId() const override {
        return ids::subOccurrences::iid;
    }

    host::Value invoke(SimCall& call) const override {
        const std::vector<SubOccurrence>& items = *items_;
        if (call.reads(ids::subOccurrences::count)) {
            return call.perform(*faults_, {fault::anyOccurrence::subOccurrencesCount}, [&] {
                return host::Value(reportedCount(*counts_, counted::subOccurrences, items.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(*faults_, {fault::anyOccurrence::subOccurrencesItem}, [&] {
                return call.handOut(subOccurrence(items[itemPosition(call, items.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    const std::vector<SubOccurrence>* items_;
    const Faults* faults_;
    const CountOverrides* counts_;
};

class SubOccurrenceNode final : public SimNode {
  public:
    explicit SubOccurrenceNode(const SubOccurrence& sub) : sub_(&sub) {}

    std::optional<host::InterfaceId> interfaceId() const override {
        return ids::subOccurrence::iid;
    }

    host::Value invoke(SimCall& call) const override {
        const SubOccurrence& s = *sub_;
        if (call.reads(ids::subOccurrence::isSubassembly)) {
            return call.perform(s.fail, {fault::subOccurrence::isSubassembly},
                                [&] { return host::Value(s.isSubassembly); });
        }
        if (call.reads(ids::subOccurrence::subOccurrences)) {
            return call.perform(s.fail, {fault::subOccurrence::subOccurrences}, [&] {
                return call.handOut(subOccurrences(s.children, s.fail, s.counts));
            });
        }
        if (call.reads(ids::subOccurrence::fileName)) {
            return call.perform(s.fail, {fault::subOccurrence::file},
                                [&] { return host::Value(s.file); });
        }
        if (call.reads(ids::subOccurrence::colorQuery)) {
            return call.perform(s.fail, {fault::subOccurrence::colorQuery}, [&] {
                fillColor(call);
                return host::Value();
            });
        }
        return call.unknownMember();
    }

  private:
    // Elements 1..3 of the first array get red, green and blue; without a
    // colour every argument stays as it came.
    void fillColor(const SimCall& call) const {
        if (!sub_->color) {
            return;
        }
        auto* array = call.arguments().empty()
                          ? nullptr
                          : call.arguments()[0].value.getIf<host::DoubleArray>();
        if (array == nullptr || array->items.size() < 3) {
            throw hostError(u"Type mismatch: the first argument must be an array of 3 doubles");
        }
        array->items[0] = sub_->color->red;
        array->items[1] = sub_->color->green;
        array->items[2] = sub_->color->blue;
    }

    const SubOccurrence* sub_;
};

}  // namespace

NodePtr subOccurrences(const std::vector<SubOccurrence>& items, const Faults& ownerFaults,
                       const CountOverrides& ownerCounts) {
    return std::make_shared<SubOccurrencesNode>(items, ownerFaults, ownerCounts);
}

NodePtr subOccurrence(const SubOccurrence& sub) {
    return std::make_shared<SubOccurrenceNode>(sub);
}

}  // namespace tav::sim::objects
