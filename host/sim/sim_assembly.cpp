// An assembly's top-level occurrences, and what a part occurrence shows of
// its colour: the occurrence style, or the face style of the part's body.
#include "host/sim/fault_keys.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "host/sim/sim_occurrence_core.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

class OccurrencesNode final : public SimNode {
  public:
    explicit OccurrencesNode(std::size_t assembly) : assembly_(assembly) {}

    const ObjectClass& objectClass() const override { return classes::occurrences; }

    host::Value invoke(SimCall& call) const override {
        const Document& assembly = call.scene().documents[assembly_];
        const std::vector<Occurrence>& items = assembly.occurrences;
        if (call.reads(ids::occurrences::count)) {
            return call.perform(assembly.fail, {fault::assembly::occurrencesCount}, [&] {
                return host::Value(
                    reportedCount(assembly.counts, counted::occurrences, items.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(assembly.fail, {fault::assembly::occurrencesItem}, [&] {
                return call.handOut(occurrence(items[itemPosition(call, items.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t assembly_;
};

class OccurrenceNode final : public SimNode {
  public:
    explicit OccurrenceNode(const Occurrence& occurrence) : occurrence_(&occurrence) {}

    const ObjectClass& objectClass() const override { return classes::occurrence; }

    host::Value invoke(SimCall& call) const override {
        const Occurrence& o = *occurrence_;
        if (std::optional<host::Value> shared = answerSharedMember(call, o, topLevelMembers)) {
            return std::move(*shared);
        }
        if (call.reads(ids::occurrence::style)) {
            return call.perform(o.fail, {fault::occurrence::style}, [&] {
                return o.style ? call.handOut(occurrenceStyle(o)) : host::Value(host::ObjectRef());
            });
        }
        if (call.reads(ids::occurrence::partDocument)) {
            return call.perform(o.fail, {fault::occurrence::partDocument},
                                [&] { return call.handOut(partDocument(o)); });
        }
        return call.unknownMember();
    }

  private:
    const Occurrence* occurrence_;
};

// Objects below an occurrence that belong to no interface of ours and answer
// one late-bound name each.
class NamedStepNode final : public SimNode {
  public:
    using Next = NodePtr (*)(const Occurrence&);

    NamedStepNode(const ObjectClass& objectClass, const Occurrence& occurrence,
                  std::u16string_view name, std::string_view key, Next next)
        : class_(&objectClass), occurrence_(&occurrence), name_(name), key_(key), next_(next) {}

    const ObjectClass& objectClass() const override { return *class_; }

    host::Value invoke(SimCall& call) const override {
        if (call.readsNamed(name_)) {
            return call.perform(occurrence_->fail, {key_},
                                [&] { return call.handOut(next_(*occurrence_)); });
        }
        return call.unknownMember();
    }

  private:
    const ObjectClass* class_;
    const Occurrence* occurrence_;
    std::u16string_view name_;
    std::string_view key_;
    Next next_;
};

class OccurrenceStyleNode final : public SimNode {
  public:
    explicit OccurrenceStyleNode(const Occurrence& occurrence) : occurrence_(&occurrence) {}

    const ObjectClass& objectClass() const override { return classes::occurrenceStyle; }

    host::Value invoke(SimCall& call) const override {
        const OccurrenceStyle& style = occurrence_->style.value();
        const Faults& fail = occurrence_->fail;
        auto component = [&style](double value) {
            return style.single ? host::Value(static_cast<float>(value)) : host::Value(value);
        };
        if (call.readsNamed(ids::occurrence::diffuseRedName)) {
            return call.perform(fail, {fault::occurrence::styleRed},
                                [&] { return component(style.color.red); });
        }
        if (call.readsNamed(ids::occurrence::diffuseGreenName)) {
            return call.perform(fail, {fault::occurrence::styleGreen},
                                [&] { return component(style.color.green); });
        }
        if (call.readsNamed(ids::occurrence::diffuseBlueName)) {
            return call.perform(fail, {fault::occurrence::styleBlue},
                                [&] { return component(style.color.blue); });
        }
        return call.unknownMember();
    }

  private:
    const Occurrence* occurrence_;
};

class BodyNode final : public SimNode {
  public:
    explicit BodyNode(const Occurrence& occurrence) : occurrence_(&occurrence) {}

    const ObjectClass& objectClass() const override { return classes::body; }

    host::Value invoke(SimCall& call) const override {
        const Occurrence& o = *occurrence_;
        if (call.reads(ids::body::faceStyle)) {
            return call.perform(o.fail, {fault::occurrence::faceStyle}, [&] {
                return o.faceStyle ? call.handOut(faceStyle(o)) : host::Value(host::ObjectRef());
            });
        }
        return call.unknownMember();
    }

  private:
    const Occurrence* occurrence_;
};

class FaceStyleNode final : public SimNode {
  public:
    explicit FaceStyleNode(const Occurrence& occurrence) : occurrence_(&occurrence) {}

    const ObjectClass& objectClass() const override { return classes::faceStyle; }

    host::Value invoke(SimCall& call) const override {
        const Rgb& color = occurrence_->faceStyle.value();
        const Faults& fail = occurrence_->fail;
        if (call.reads(ids::faceStyle::red)) {
            return call.perform(fail, {fault::occurrence::faceStyleRed},
                                [&] { return host::Value(color.red); });
        }
        if (call.reads(ids::faceStyle::green)) {
            return call.perform(fail, {fault::occurrence::faceStyleGreen},
                                [&] { return host::Value(color.green); });
        }
        if (call.reads(ids::faceStyle::blue)) {
            return call.perform(fail, {fault::occurrence::faceStyleBlue},
                                [&] { return host::Value(color.blue); });
        }
        return call.unknownMember();
    }

  private:
    const Occurrence* occurrence_;
};

}  // namespace

NodePtr occurrences(std::size_t assembly) {
    return std::make_shared<OccurrencesNode>(assembly);
}

NodePtr occurrence(const Occurrence& occurrence) {
    return std::make_shared<OccurrenceNode>(occurrence);
}

NodePtr occurrenceStyle(const Occurrence& occurrence) {
    return std::make_shared<OccurrenceStyleNode>(occurrence);
}

// The part document answers "Models" with its first model (whatever the
// index asked), and the model answers "body".
NodePtr partDocument(const Occurrence& occurrence) {
    return std::make_shared<NamedStepNode>(classes::partDocument, occurrence,
                                           ids::occurrence::modelsName, fault::occurrence::models,
                                           &models);
}

NodePtr models(const Occurrence& occurrence) {
    return std::make_shared<NamedStepNode>(classes::model, occurrence, ids::occurrence::bodyName,
                                           fault::occurrence::body, &body);
}

NodePtr body(const Occurrence& occurrence) {
    return std::make_shared<BodyNode>(occurrence);
}

NodePtr faceStyle(const Occurrence& occurrence) {
    return std::make_shared<FaceStyleNode>(occurrence);
}

}  // namespace tav::sim::objects
