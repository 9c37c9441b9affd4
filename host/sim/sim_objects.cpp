// The application, its documents collection and the documents themselves:
// what each holds, and documents opened, saved and closed as files.
#include "host/sim/sim_objects.h"

#include "host/sim/fault_keys.h"
#include "host/sim/member_names.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "platform/utf.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

host::Value putSwitch(SimCall& call, host::DispId member, bool& property, std::string_view key) {
    result::HostEvent event{result::HostEvent::Verb::put, "host", member, call.eventArgument(0)};
    return call.performRecorded(std::move(event), call.scene().host.fail, {key}, [&] {
        property = call.booleanArgument(0);
        return host::Value();
    });
}

// An event of a member called by name.
result::HostEvent namedEvent(result::HostEvent::Verb verb, std::string object,
                             std::u16string_view member, nlohmann::json payload) {
    result::HostEvent event{verb, std::move(object), 0, std::move(payload)};
    event.memberName = platform::toUtf8(member);
    return event;
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
            result::HostEvent event{result::HostEvent::Verb::call, "host",
                                    ids::application::startCommand, call.eventArguments()};
            return call.performRecorded(std::move(event), app.fail,
                                        {fault::application::startCommand}, [&] {
                                            call.model().commands().push_back(call.longArgument(0));
                                            return host::Value();
                                        });
        }
        return invokeNamed(call, app);
    }

  private:
    static host::Value invokeNamed(SimCall& call, Application& app) {
        if (call.readsNamed(names::application::documents)) {
            return call.perform(app.fail, {fault::application::documents},
                                [&] { return call.handOut(documents()); });
        }
        if (call.readsNamed(names::application::displayAlerts)) {
            return call.perform(noFaults, {}, [&] { return host::Value(app.displayAlerts); });
        }
        if (call.putsNamed(names::application::displayAlerts)) {
            result::HostEvent event =
                namedEvent(result::HostEvent::Verb::put, "host", names::application::displayAlerts,
                           call.eventArgument(0));
            return call.performRecorded(std::move(event), app.fail,
                                        {fault::application::putDisplayAlerts}, [&] {
                                            app.displayAlerts = call.booleanArgument(0);
                                            return host::Value();
                                        });
        }
        if (call.readsNamed(names::application::doIdle)) {
            return call.perform(noFaults, {}, [] { return host::Value(); });
        }
        return call.unknownMember();
    }
};

// The open documents, and opening one by its path.
class DocumentsNode final : public SimNode {
  public:
    const ObjectClass& objectClass() const override { return classes::documents; }

    host::Value invoke(SimCall& call) const override {
        Application& app = call.scene().host;
        const std::vector<std::size_t>& open = call.model().documents().openDocuments();
        if (call.readsNamed(names::collection::count)) {
            return call.perform(
                noFaults, {}, [&] { return host::Value(static_cast<std::int32_t>(open.size())); });
        }
        if (call.readsNamed(names::collection::item) || call.fetchesItem()) {
            return call.perform(app.fail, {fault::application::documentsItem}, [&] {
                std::size_t d = open[itemPosition(call, open.size())];
                return call.handOut(document(d, call.scene().documents[d].kind));
            });
        }
        if (call.readsNamed(names::documents::open)) {
            result::HostEvent event = namedEvent(result::HostEvent::Verb::call, "documents",
                                                 names::documents::open, call.eventArguments());
            return call.performRecorded(std::move(event), app.fail,
                                        {fault::application::documentsOpen},
                                        [&] { return openFile(call); });
        }
        return call.unknownMember();
    }

  private:
    static host::Value openFile(SimCall& call) {
        std::u16string fileName = call.textArgument(0);
        DocumentStates& states = call.model().documents();
        std::optional<std::size_t> found = states.withPath(call.scene(), fileName);
        if (!found) {
            throw hostError(u"The file \"" + fileName + u"\" does not exist");
        }
        Document& doc = call.scene().documents[*found];
        if (!states.isOpen(*found)) {
            // Only a file that is really read can fail to open.
            SimCall::raiseFault(doc.fail, {fault::anyDocument::open});
        }
        states.open(call.scene(), *found);
        return call.handOut(document(*found, doc.kind));
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

    std::optional<std::size_t> ownDocument() const override { return document_; }

    host::Value invoke(SimCall& call) const override {
        const Document& doc = call.scene().documents[document_];
        if (kind_ == DocumentKind::draft) {
            if (call.reads(ids::draftDocument::activeSheet)) {
                return call.perform(doc.fail, {fault::draft::activeSheet}, [&] {
                    return call.handOut(sheet(document_, doc.activeSheet));
                });
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
            if (call.readsNamed(names::draft::sections)) {
                return call.perform(doc.fail, {fault::draft::sections},
                                    [&] { return call.handOut(sections(document_)); });
            }
            if (call.readsNamed(names::draft::sheets)) {
                return call.perform(doc.fail, {fault::draft::sheets},
                                    [&] { return call.handOut(sheets(document_, std::nullopt)); });
            }
        }
        if (kind_ == DocumentKind::assembly && call.reads(ids::assemblyDocument::occurrences)) {
            return call.perform(doc.fail, {fault::assembly::occurrences},
                                [&] { return call.handOut(occurrences(document_)); });
        }
        return invokeFileMember(call, doc);
    }

  private:
    // What every document answers as a file.
    host::Value invokeFileMember(SimCall& call, const Document& doc) const {
        if (call.readsNamed(names::document::fullName)) {
            return call.perform(doc.fail, {fault::anyDocument::fullName},
                                [&] { return host::Value(doc.path.value_or(u"")); });
        }
        if (call.readsNamed(names::document::readOnly)) {
            return call.perform(doc.fail, {fault::anyDocument::readOnly},
                                [&] { return host::Value(doc.readOnly); });
        }
        if (call.readsNamed(names::document::save)) {
            result::HostEvent event =
                namedEvent(result::HostEvent::Verb::call, "document:" + doc.id,
                           names::document::save, call.eventArguments());
            return call.performRecorded(std::move(event), doc.fail, {fault::anyDocument::save},
                                        [&] {
                                            save(call, doc);
                                            return host::Value();
                                        });
        }
        if (call.readsNamed(names::document::close)) {
            result::HostEvent event =
                namedEvent(result::HostEvent::Verb::call, "document:" + doc.id,
                           names::document::close, call.eventArguments());
            return call.performRecorded(std::move(event), doc.fail, {fault::anyDocument::close},
                                        [&] {
                                            close(call, doc);
                                            return host::Value();
                                        });
        }
        return call.unknownMember();
    }

    void save(SimCall& call, const Document& doc) const {
        if (doc.readOnly) {
            throw hostError(u"The document is read-only and cannot be saved");
        }
        call.model().documents().save(call.scene(), document_);
    }

    // SaveChanges (absent: False) saves first, as Save does, its faults
    // included; a Close that fails changes nothing.
    void close(SimCall& call, const Document& doc) const {
        const bool saveChanges = !call.arguments().empty() && call.booleanArgument(0);
        if (saveChanges) {
            SimCall::raiseFault(doc.fail, {fault::anyDocument::save});
            save(call, doc);
        }
        call.model().closeDocument(document_);
    }

    std::size_t document_;
    DocumentKind kind_;
};

}  // namespace

NodePtr application() {
    return std::make_shared<ApplicationNode>();
}

NodePtr documents() {
    return std::make_shared<DocumentsNode>();
}

NodePtr document(std::size_t document, DocumentKind kind) {
    return std::make_shared<DocumentNode>(document, kind);
}

}  // namespace tav::sim::objects
