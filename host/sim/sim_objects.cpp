// The application, its documents, the draft's sheet and its drawing views.
#include "host/sim/sim_objects.h"

#include "host/sim/fault_keys.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

host::Value putSwitch(SimCall& call, host::DispId member, bool& property, std::string_view key) {
    HostEvent event{HostEvent::Verb::put, "host", member, call.eventArgument(0)};
    return call.performRecorded(std::move(event), call.scene().host.fail, {key}, [&] {
        property = call.booleanArgument(0);
        return host::Value();
    });
}

class ApplicationNode final : public SimNode {
  public:
    const ObjectClass& objectClass() const override { return classes::application; }

    host::Value invoke(SimCall& call) const override {
        Application& app = call.scene().host;
        if (call.reads(ids::application::activeDocument)) {
            return call.perform(app.fail, {fault::application::activeDocument}, [&] {
                const auto& active = call.scene().activeDocument;
                if (!active) {
                    throw hostError(u"No active document");
                }
                return call.handOut(document(*active, call.scene().documents[*active].kind));
            });
        }
        if (call.reads(ids::application::interactive)) {
            return call.perform(noFaults, {}, [&] { return host::Value(app.interactive); });
        }
        if (call.reads(ids::application::delayCompute)) {
            return call.perform(noFaults, {}, [&] { return host::Value(app.delayCompute); });
        }
        if (call.puts(ids::application::interactive)) {
            return putSwitch(call, ids::application::interactive, app.interactive,
                             fault::application::putInteractive);
        }
        if (call.puts(ids::application::delayCompute)) {
            return putSwitch(call, ids::application::delayCompute, app.delayCompute,
                             fault::application::putDelayCompute);
        }
        if (call.reads(ids::application::startCommand)) {
            HostEvent event{HostEvent::Verb::call, "host", ids::application::startCommand,
                            call.eventArguments()};
            return call.performRecorded(std::move(event), app.fail,
                                        {fault::application::startCommand}, [&] {
                                            call.model().commands().push_back(call.longArgument(0));
                                            return host::Value();
                                        });
        }
        return call.unknownMember();
    }
};

class DocumentNode final : public SimNode {
  public:
    DocumentNode(std::size_t document, DocumentKind kind) : document_(document), kind_(kind) {}

    const ObjectClass& objectClass() const override {
        switch (kind_) {
            case DocumentKind::draft:
                return classes::draftDocument;
            case DocumentKind::assembly:
                return classes::assemblyDocument;
            case DocumentKind::part:
                break;
        }
        return classes::partDocument;
    }

    host::Value invoke(SimCall& call) const override {
        const Document& doc = call.scene().documents[document_];
        if (kind_ == DocumentKind::draft) {
            if (call.reads(ids::draftDocument::activeSheet)) {
                return call.perform(doc.fail, {fault::draft::activeSheet},
                                    [&] { return call.handOut(sheet(document_)); });
            }
            if (call.reads(ids::draftDocument::selectSet) ||
                call.readsNamed(ids::draftDocument::selectSetName)) {
                return call.perform(doc.fail, {fault::draft::selectSet},
                                    [&] { return call.handOut(selectSet(document_)); });
            }
            if (call.reads(ids::draftDocument::lineStyles)) {
                return call.perform(doc.fail, {fault::draft::lineStyles},
                                    [&] { return call.handOut(lineStyles(document_)); });
            }
        }
        if (kind_ == DocumentKind::assembly && call.reads(ids::assemblyDocument::occurrences)) {
            return call.perform(doc.fail, {fault::assembly::occurrences},
                                [&] { return call.handOut(occurrences(document_)); });
        }
        return call.unknownMember();
    }

  private:
    std::size_t document_;
    DocumentKind kind_;
};

class SheetNode final : public SimNode {
  public:
    explicit SheetNode(std::size_t draft) : draft_(draft) {}

    const ObjectClass& objectClass() const override { return classes::sheet; }

    host::Value invoke(SimCall& call) const override {
        if (call.reads(ids::sheet::drawingViews)) {
            return call.perform(call.scene().documents[draft_].fail, {fault::draft::drawingViews},
                                [&] { return call.handOut(drawingViews(draft_)); });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
};

class DrawingViewsNode final : public SimNode {
  public:
    explicit DrawingViewsNode(std::size_t draft) : draft_(draft) {}

    const ObjectClass& objectClass() const override { return classes::drawingViews; }

    host::Value invoke(SimCall& call) const override {
        const Document& draft = call.scene().documents[draft_];
        if (call.reads(ids::drawingViews::count)) {
            return call.perform(draft.fail, {fault::draft::drawingViewsCount}, [&] {
                return host::Value(
                    reportedCount(draft.counts, counted::drawingViews, draft.drawingViews.size()));
            });
        }
        if (call.fetchesItem()) {
            return call.perform(draft.fail, {fault::draft::drawingViewsItem}, [&] {
                std::size_t position = itemPosition(call, draft.drawingViews.size());
                return call.handOut(drawingView(draft.drawingViews[position]));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
};

}  // namespace

NodePtr application() {
    return std::make_shared<ApplicationNode>();
}

NodePtr document(std::size_t document, DocumentKind kind) {
    return std::make_shared<DocumentNode>(document, kind);
}

NodePtr sheet(std::size_t draft) {
    return std::make_shared<SheetNode>(draft);
}

NodePtr drawingViews(std::size_t draft) {
    return std::make_shared<DrawingViewsNode>(draft);
}

}  // namespace tav::sim::objects
