// Sub-occurrences at any level below an assembly's top, the colour query that
// fills its first array with the part's colour, and what occurrences at every
// level answer alike.
#include "host/sim/fault_keys.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "host/sim/sim_occurrence_core.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

// The sub-occurrences of an occurrence or of a sub-occurrence; the owner's
// fault keys and count override apply.
class SubOccurrencesNode final : public SimNode {
  public:
    explicit SubOccurrencesNode(const OccurrenceCore& owner) : owner_(&owner) {}

    const ObjectClass& objectClass() const override { return classes::subOccurrences; }

    host::Value invoke(SimCall& call) const override {
        const std::vector<SubOccurrence>& items = owner_->children;
        if (call.reads(ids::subOccurrences::count)) {
            return call.perform(owner_->fail, {fault::anyOccurrence::subOccurrencesCount}, [&] {
                return host::Value(
                    reportedCount(owner_->counts, counted::subOccurrences, items.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(owner_->fail, {fault::anyOccurrence::subOccurrencesItem}, [&] {
                return call.handOut(subOccurrence(items[itemPosition(call, items.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    const OccurrenceCore* owner_;
};

class SubOccurrenceNode final : public SimNode {
  public:
    explicit SubOccurrenceNode(const SubOccurrence& sub) : sub_(&sub) {}

    const ObjectClass& objectClass() const override { return classes::subOccurrence; }

    host::Value invoke(SimCall& call) const override {
        if (std::optional<host::Value> shared = answerSharedMember(call, *sub_, subLevelMembers)) {
            return std::move(*shared);
        }
        if (call.reads(ids::subOccurrence::displayColors)) {
            return call.perform(sub_->fail, {fault::subOccurrence::displayColors}, [&] {
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

std::optional<host::Value> answerSharedMember(SimCall& call, const OccurrenceCore& occurrence,
                                              const OccurrenceMembers& members) {
    const OccurrenceCore& o = occurrence;
    if (call.reads(members.isSubassembly)) {
        return call.perform(o.fail, {fault::anyOccurrence::isSubassembly},
                            [&] { return host::Value(o.isSubassembly); });
    }
    if (call.reads(members.subOccurrences)) {
        return call.perform(o.fail, {fault::anyOccurrence::subOccurrences},
                            [&] { return call.handOut(subOccurrences(o)); });
    }
    if (call.reads(members.fileName)) {
        return call.perform(o.fail, {fault::anyOccurrence::file},
                            [&] { return host::Value(o.file); });
    }
    return std::nullopt;
}

NodePtr subOccurrences(const OccurrenceCore& owner) {
    return std::make_shared<SubOccurrencesNode>(owner);
}

NodePtr subOccurrence(const SubOccurrence& sub) {
    return std::make_shared<SubOccurrenceNode>(sub);
}

}  // namespace tav::sim::objects
