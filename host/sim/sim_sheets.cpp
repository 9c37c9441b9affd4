// A draft's sections and sheets, and the drawing views of each sheet.
#include "host/sim/fault_keys.h"
#include "host/sim/member_names.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

class SectionsNode final : public SimNode {
  public:
    explicit SectionsNode(std::size_t draft) : draft_(draft) {}

    const ObjectClass& objectClass() const override { return classes::sections; }

    host::Value invoke(SimCall& call) const override {
        if (call.readsNamed(names::sections::workingSection)) {
            return call.perform(
                noFaults, {}, [&] { return call.handOut(section(draft_, SectionKind::working)); });
        }
        if (call.readsNamed(names::sections::backgroundSection)) {
            return call.perform(noFaults, {}, [&] {
                return call.handOut(section(draft_, SectionKind::background));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
};

class SectionNode final : public SimNode {
  public:
    SectionNode(std::size_t draft, SectionKind kind) : draft_(draft), kind_(kind) {}

    const ObjectClass& objectClass() const override { return classes::section; }

    host::Value invoke(SimCall& call) const override {
        if (call.readsNamed(names::section::sheets)) {
            return call.perform(noFaults, {}, [&] { return call.handOut(sheets(draft_, kind_)); });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
    SectionKind kind_;
};

// The sheets of one section, or all of them, in the draft's order.
class SheetsNode final : public SimNode {
  public:
    SheetsNode(std::size_t draft, std::optional<SectionKind> section)
        : draft_(draft), section_(section) {}

    const ObjectClass& objectClass() const override {
        return section_ ? classes::sectionSheets : classes::sheets;
    }

    host::Value invoke(SimCall& call) const override {
        if (call.readsNamed(names::collection::count)) {
            return call.perform(noFaults, {}, [&] {
                return host::Value(static_cast<std::int32_t>(held(call).size()));
            });
        }
        if (call.readsNamed(names::collection::item) || call.fetchesItem()) {
            return call.perform(noFaults, {}, [&] {
                std::vector<std::size_t> positions = held(call);
                return call.handOut(sheet(draft_, positions[itemPosition(call, positions.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    std::vector<std::size_t> held(const SimCall& call) const {
        const std::vector<Sheet>& all = call.scene().documents[draft_].sheets;
        std::vector<std::size_t> positions;
        for (std::size_t s = 0; s < all.size(); ++s) {
            if (!section_ || all[s].section == *section_) {
                positions.push_back(s);
            }
        }
        return positions;
    }

    std::size_t draft_;
    std::optional<SectionKind> section_;
};

class SheetNode final : public SimNode {
  public:
    SheetNode(std::size_t draft, std::size_t sheet) : draft_(draft), sheet_(sheet) {}

    const ObjectClass& objectClass() const override { return classes::sheet; }

    host::Value invoke(SimCall& call) const override {
        const Document& draft = call.scene().documents[draft_];
        const Sheet& sheet = draft.sheets[sheet_];
        if (call.reads(ids::sheet::drawingViews) || call.readsNamed(names::sheet::drawingViews)) {
            // The draft's fault reaches every sheet; the sheet's only this one.
            return call.perform(draft.fail, {fault::draft::drawingViews}, [&] {
                SimCall::raiseFault(sheet.fail, {fault::sheet::drawingViews});
                return call.handOut(drawingViews(draft_, sheet_));
            });
        }
        if (call.readsNamed(names::sheet::name)) {
            return call.perform(sheet.fail, {fault::sheet::name},
                                [&] { return host::Value(sheet.name); });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
    std::size_t sheet_;
};

class DrawingViewsNode final : public SimNode {
  public:
    DrawingViewsNode(std::size_t draft, std::size_t sheet) : draft_(draft), sheet_(sheet) {}

    const ObjectClass& objectClass() const override { return classes::drawingViews; }

    host::Value invoke(SimCall& call) const override {
        const Document& draft = call.scene().documents[draft_];
        const std::vector<std::size_t>& views = draft.sheets[sheet_].drawingViews;
        if (call.reads(ids::drawingViews::count)) {
            return call.perform(draft.fail, {fault::draft::drawingViewsCount}, [&] {
                return host::Value(
                    reportedCount(draft.counts, counted::drawingViews, views.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(draft.fail, {fault::draft::drawingViewsItem}, [&] {
                return call.handOut(drawingView(views[itemPosition(call, views.size())]));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
    std::size_t sheet_;
};

}  // namespace

NodePtr sections(std::size_t draft) {
    return std::make_shared<SectionsNode>(draft);
}

NodePtr section(std::size_t draft, SectionKind kind) {
    return std::make_shared<SectionNode>(draft, kind);
}

NodePtr sheets(std::size_t draft, std::optional<SectionKind> section) {
    return std::make_shared<SheetsNode>(draft, section);
}

NodePtr sheet(std::size_t draft, std::size_t sheet) {
    return std::make_shared<SheetNode>(draft, sheet);
}

NodePtr drawingViews(std::size_t draft, std::size_t sheet) {
    return std::make_shared<DrawingViewsNode>(draft, sheet);
}

}  // namespace tav::sim::objects
