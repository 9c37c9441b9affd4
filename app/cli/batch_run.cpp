#include "app/cli/batch_run.h"

#include <array>
#include <optional>

#include "app/cli/silent_window.h"
#include "app/cli/windows_path.h"
#include "engine/document_run.h"
#include "engine/edge_kinds.h"
#include "engine/error_modes.h"
#include "engine/error_text.h"
#include "engine/line_styles.h"
#include "engine/text.h"
#include "host/conversions.h"
#include "platform/utf.h"

namespace tav::cli {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

// Solid Edge's settings held for the whole command: the window's two
// switches, and DisplayAlerts off so that no dialog of the host stops a
// batch. Each goes back to the value it had; one that could not be read
// goes back to what the window gives it. One never put needs no restoring.
class HeldSettings {
  public:
    explicit HeldSettings(ObjectRef hostApp) : hostApp_(std::move(hostApp)) {}

    void hold() {
        for (Setting& setting : settings_) {
            engine::tolerate([&] { setting.start = host::toBool(get(setting)); });
            setting.put = true;
            engine::tolerate([&] { put(setting, setting.during); });
        }
    }
    // Each put is tried whatever happened to the one before.
    void restore() {
        for (Setting& setting : settings_) {
            if (setting.put) {
                engine::tolerate([&] { put(setting, setting.start); });
            }
        }
    }

  private:
    struct Setting {
        host::MemberName member;
        bool during;
        bool start;  // until read: the window's value
        bool put = false;
    };

    host::Value get(const Setting& setting) const {
        return hostApp_.invoke(setting.member, host::CallKind::get, {});
    }
    void put(const Setting& setting, bool value) const {
        std::array<host::Argument, 1> argument{host::byValue(value)};
        hostApp_.invoke(setting.member, host::CallKind::put, argument);
    }

    ObjectRef hostApp_;
    std::array<Setting, 3> settings_{{
        {{dispatch::application::interactive, {}}, false, true},
        {{dispatch::application::delayCompute, {}}, true, false},
        {{0, dispatch::application::displayAlertsName}, false, true},
    }};
};

std::u16string quoted(std::u16string_view text) {
    return u"\"" + std::u16string(text) + u"\"";
}

using engine::errorText;

std::string utf8(std::u16string_view text) {
    return platform::toUtf8(text);
}

// Where the run is, for failure lines, progress and the report. Names are
// read only when something needs them, once each.
class RunPlace final : public engine::SheetRunObserver {
  public:
    RunPlace(CliEnvironment& environment, std::vector<std::vector<std::string>>* reportRows)
        : environment_(environment), reportRows_(reportRows) {}

    void documentStarts(std::u16string path, std::size_t number, std::size_t total) {
        path_ = std::move(path);
        documentNumber_ = number;
        documentTotal_ = total;
        documentEnds();
    }

    void documentEnds() {
        sheet_.reset();
        view_.reset();
    }

    void sheetStarts(const ObjectRef& sheet, std::int32_t number, std::int32_t total) override {
        sheet_ = Named{sheet, number, std::nullopt};
        sheetTotal_ = total;
        view_.reset();
    }

    void viewStarts(const ObjectRef& view, std::int32_t number, std::int32_t total) override {
        view_ = Named{view, number, std::nullopt};
        if (environment_.showsProgress()) {
            environment_.showProgress(
                u"[" + engine::decimalText(static_cast<std::int64_t>(documentNumber_)) + u"/" +
                engine::decimalText(static_cast<std::int64_t>(documentTotal_)) + u"] " + path_ +
                u": sheet " + engine::decimalText(sheet_ ? sheet_->number : 0) + u" of " +
                engine::decimalText(sheetTotal_) + u", view " + engine::decimalText(number) +
                u" of " + engine::decimalText(total));
        }
    }

    void viewDone(const engine::EngineState& state) override {
        if (reportRows_ == nullptr) {
            return;
        }
        const std::string sheetName = utf8(nameOf(sheet_, dispatch::sheet::nameName, u"sheet "));
        const std::string viewName = utf8(nameOf(view_, dispatch::drawingView::nameName, u"view "));
        for (const engine::MemberRecord& record : state.tables.members.records()) {
            reportRows_->push_back(reportRow(state, record, sheetName, viewName));
        }
    }

    // " on sheet "Sheet1", view "V2"" for a failure, as far as the run got.
    std::u16string placeText() {
        std::u16string text;
        if (sheet_) {
            text += u" on sheet " + quoted(nameOf(sheet_, dispatch::sheet::nameName, u"sheet "));
            if (view_) {
                text +=
                    u", view " + quoted(nameOf(view_, dispatch::drawingView::nameName, u"view "));
            }
        }
        return text;
    }

  private:
    struct Named {
        ObjectRef object;
        std::int32_t number = 0;
        std::optional<std::u16string> name;
    };

    // A name that cannot be read is shown by position ("sheet 2").
    static std::u16string nameOf(std::optional<Named>& named, std::u16string_view member,
                                 std::u16string_view byPosition) {
        if (!named) {
            return {};
        }
        if (!named->name) {
            std::u16string name = std::u16string(byPosition) + engine::decimalText(named->number);
            engine::tolerate([&] { name = host::toText(named->object.get(member)); });
            named->name = std::move(name);
        }
        return *named->name;
    }

    std::vector<std::string> reportRow(const engine::EngineState& state,
                                       const engine::MemberRecord& record,
                                       const std::string& sheetName, const std::string& viewName) {
        const bool colored = record.color > engine::noColor;
        const engine::ColorValue styleColor = engine::styleColor(state, record.color);
        std::array<std::u16string, engine::edgeKindCount> styles;
        for (std::size_t k = 0; k < styles.size(); ++k) {
            const engine::EdgeKind& kind = engine::edgeKinds[k];
            if (colored && state.dryRun) {
                // What the member would get.
                styles[k] = engine::decimalText(styleColor) + std::u16string(kind.suffix);
            } else if (!record.resetStyles[k].empty() && state.dryRun) {
                styles[k] = record.resetStyles[k];
            } else {
                engine::tolerate(
                    [&] { styles[k] = host::toText(record.member.get(kind.memberProperty)); });
            }
        }
        std::u16string colour;
        if (colored) {
            colour = engine::decimalText(record.color);
            if (styleColor != record.color) {
                colour += u"->" + engine::decimalText(styleColor);  // darkened for paper
            }
        }
        std::vector<std::string> row{utf8(path_),
                                     sheetName,
                                     viewName,
                                     utf8(record.assemblyPath + u"/" + record.fileName),
                                     utf8(record.fileName),
                                     utf8(colour),
                                     utf8(styles[0]),
                                     utf8(styles[1]),
                                     utf8(styles[2])};
        if (state.styleAction == engine::StyleAction::reset) {
            row.push_back(utf8(record.resetNote));
        }
        return row;
    }

    CliEnvironment& environment_;
    std::vector<std::vector<std::string>>* reportRows_;
    std::u16string path_;
    std::size_t documentNumber_ = 0;
    std::size_t documentTotal_ = 0;
    std::optional<Named> sheet_;
    std::optional<Named> view_;
    std::int32_t sheetTotal_ = 0;
};

class HostGone : public std::exception {};

class BatchRun {
  public:
    BatchRun(CliEnvironment& environment, host::HostConnector& connector, InterruptGate& gate,
             const CliOptions& options)
        : environment_(environment),
          connector_(connector),
          gate_(gate),
          options_(options),
          context_{state_, window_},
          place_(environment, options.report ? &end_.reportRows : nullptr) {
        if (options.report) {
            end_.reportRows.push_back({"Document", "Sheet", "View", "Member", "Part file", "Colour",
                                       "Visible style", "Hidden style", "Tangent style"});
            if (options.reset) {
                end_.reportRows.back().push_back("Reset note");
            }
        }
    }

    BatchEnd run(const std::vector<DocumentEntry>& documents, bool activeDocumentOnly) {
        if (!attachToSolidEdge()) {
            message(u"Solid Edge is not running");
            for (const DocumentEntry& entry : documents) {
                notProcessed(entry.path, u"Solid Edge is not running");
            }
            return finish();
        }
        HeldSettings settings(state_.hostApp);
        try {
            settings.hold();
            if (activeDocumentOnly) {
                processActiveDocument();
            } else {
                for (std::size_t i = 0; i < documents.size(); ++i) {
                    processEntry(documents[i], i + 1, documents.size());
                }
            }
        } catch (const Interrupted&) {
            end_.interrupted = true;
        } catch (const HostGone&) {
            for (std::size_t i = reportedCount(); i < documents.size(); ++i) {
                notProcessed(documents[i].path, u"Solid Edge is no longer running");
            }
        }
        if (end_.interrupted) {
            for (std::size_t i = reportedCount(); i < documents.size(); ++i) {
                notProcessed(documents[i].path, u"interrupted");
            }
            message(u"interrupted");
        }
        settings.restore();
        state_.hostApp.reset();
        return finish();
    }

  private:
    bool attachToSolidEdge() {
        return engine::attempt([&] {
            state_.hostApp =
                gate_.guard(connector_.getRunning(host::hostProgId)).as(dispatch::application::iid);
        });
    }

    std::size_t reportedCount() const { return end_.documents.size(); }

    // A line for the user that concerns no single document.
    void message(std::u16string text) {
        environment_.printLine(text);
        end_.messages.push_back(std::move(text));
    }

    BatchEnd finish() {
        bool all = !end_.interrupted;
        for (const DocumentOutcome& outcome : end_.documents) {
            all = all && outcome.processed;
        }
        end_.succeeded = all && end_.messages.empty();
        return std::move(end_);
    }

    void report(DocumentOutcome outcome) {
        if (!options_.quiet || !outcome.processed) {
            environment_.printLine(documentLine(outcome));
        }
        if (!options_.quiet) {
            for (const std::u16string& detail : outcome.details) {
                environment_.printLine(detail);
            }
        }
        end_.documents.push_back(std::move(outcome));
    }

    void notProcessed(std::u16string path, std::u16string reason) {
        DocumentOutcome outcome;
        outcome.path = std::move(path);
        outcome.reason = std::move(reason);
        report(std::move(outcome));
    }

    void processActiveDocument() {
        ObjectRef document;
        engine::tolerate([&] {
            document = host::toObject(state_.hostApp.get(dispatch::application::activeDocument));
        });
        if (document.empty()) {
            message(u"No document is active in Solid Edge: open a Draft first");
            return;
        }
        if (document.tryAs(dispatch::draftDocument::iid).empty()) {
            message(u"The active document is not a Draft");
            return;
        }
        std::u16string path;
        engine::tolerate(
            [&] { path = host::toText(document.get(dispatch::document::fullNameName)); });
        place_.documentStarts(path, 1, 1);
        processOpenDocument(path, document, /*openedHere=*/false);
    }

    void processEntry(const DocumentEntry& entry, std::size_t number, std::size_t total) {
        if (entry.refusal) {
            notProcessed(entry.path, *entry.refusal);
            return;
        }
        if (!hasDraftExtension(entry.path)) {
            notProcessed(entry.path, u"not a Draft: the file name does not end in .dft");
            return;
        }
        place_.documentStarts(entry.path, number, total);
        const double start = environment_.clockSeconds();
        ObjectRef document;
        bool openedHere = false;
        std::u16string failedStep = u"the open documents cannot be read: ";
        try {
            document = findOpenDocument(entry.path);
            if (document.empty()) {
                failedStep = u"Solid Edge cannot open it: ";
                std::array<host::Argument, 1> fileName{host::byValue(entry.path)};
                document =
                    host::toObject(documents().call(dispatch::documents::openName, fileName));
                openedHere = true;
            }
        } catch (const host::AutomationError& error) {
            DocumentOutcome outcome;
            outcome.path = entry.path;
            outcome.reason = failedStep + errorText(error);
            outcome.seconds = environment_.clockSeconds() - start;
            report(std::move(outcome));
            stopWhenHostGone();
            return;
        }
        processOpenDocument(entry.path, document, openedHere, start);
    }

    ObjectRef documents() {
        if (documents_.empty()) {
            documents_ = host::toObject(state_.hostApp.get(dispatch::application::documentsName));
        }
        return documents_;
    }

    // The open document whose full name is `path` (letter case ignored).
    ObjectRef findOpenDocument(const std::u16string& path) {
        const ObjectRef openDocuments = documents();
        const std::int32_t count = host::toInt32(openDocuments.get(dispatch::documents::countName));
        for (std::int32_t i = 1; i <= count; ++i) {
            std::array<host::Argument, 1> index{host::byValue(i)};
            ObjectRef document =
                host::toObject(openDocuments.get(dispatch::documents::itemName, index));
            if (samePathIgnoringCase(host::toText(document.get(dispatch::document::fullNameName)),
                                     path)) {
                return document;
            }
        }
        return {};
    }

    void processOpenDocument(const std::u16string& path, const ObjectRef& document,
                             bool openedHere) {
        processOpenDocument(path, document, openedHere, environment_.clockSeconds());
    }

    void processOpenDocument(const std::u16string& path, const ObjectRef& document, bool openedHere,
                             double start) {
        state_.statistics = {};
        DocumentOutcome outcome;
        outcome.path = path;
        try {
            workOn(outcome, document);
        } catch (const Interrupted&) {
            outcome.reason = u"interrupted";
            place_.documentEnds();
            leaveUnprocessed(outcome, document, openedHere);
            outcome.seconds = environment_.clockSeconds() - start;
            report(std::move(outcome));
            throw;
        }
        // Nothing of the document is held once it is closed.
        place_.documentEnds();
        if (gate_.hostGone()) {
            // A tolerated step met it: the run did not really go through.
            outcome.processed = false;
            outcome.reason = u"Solid Edge is no longer running";
            outcome.notes.clear();
        }
        if (!outcome.processed) {
            leaveUnprocessed(outcome, document, openedHere);
        } else if (openedHere) {
            closeWithoutSaving(outcome, document);
        }
        outcome.seconds = environment_.clockSeconds() - start;
        report(std::move(outcome));
        stopWhenHostGone();
    }

    // The document's whole run. Sets the outcome's `processed`, or its
    // reason when the document did not get through. A host error that ends
    // the document is caught here; an interrupt leaves.
    void workOn(DocumentOutcome& outcome, const ObjectRef& document) {
        const ObjectRef draft = document.tryAs(dispatch::draftDocument::iid);
        if (draft.empty()) {
            outcome.reason = u"not a Draft";
            return;
        }
        try {
            if (host::toBool(document.get(dispatch::document::readOnlyName))) {
                outcome.reason = u"read-only: left unchanged";
                return;
            }
        } catch (const host::AutomationError& error) {
            outcome.reason = u"cannot tell whether it is read-only: " + errorText(error);
            return;
        }
        try {
            const engine::DocumentRunEnd runEnd =
                engine::processDocument(context_, draft,
                                        {.sheets = options_.sheets,
                                         .dryRun = options_.dryRun,
                                         .styleAction = options_.reset ? engine::StyleAction::reset
                                                                       : engine::StyleAction::color,
                                         .paperSafeRatio = options_.paperSafeRatio,
                                         .removeUnusedStyles = options_.removeUnusedStyles},
                                        place_);
            outcome.sheets = runEnd.sheetsProcessed;
            outcome.views = runEnd.viewsProcessed;
            countWork(outcome);
            noteKeptStyles(outcome, runEnd);
            if (runEnd.removal) {
                noteRemoval(outcome, *runEnd.removal);
            }
        } catch (const host::AutomationError& error) {
            countWork(outcome);
            outcome.reason = errorText(error) + place_.placeText();
            return;
        }
        if (options_.dryRun) {
            outcome.notes.push_back(u"dry run: nothing changed");
        } else if (!state_.statistics.documentChanged()) {
            outcome.notes.push_back(u"unchanged");
        } else if (options_.noSave) {
            outcome.notes.push_back(u"not saved (--no-save)");
        } else {
            try {
                document.call(dispatch::document::saveName, {});
                outcome.notes.push_back(u"saved");
            } catch (const host::AutomationError& error) {
                outcome.reason = u"cannot be saved: " + errorText(error);
                return;
            }
        }
        outcome.processed = true;
    }

    void countWork(DocumentOutcome& outcome) const {
        outcome.partMembers = state_.statistics.partMembers;
        outcome.coloredMembers = state_.statistics.coloredMembers;
        outcome.stylesCreated = state_.statistics.stylesCreated;
        if (options_.reset) {
            outcome.resetMembers = state_.statistics.resetMembers;
        }
    }

    // Edges a reset left with one of the tool's styles: how many, and for
    // each style whose origin is unknown, why.
    void noteKeptStyles(DocumentOutcome& outcome, const engine::DocumentRunEnd& runEnd) const {
        const std::int32_t kept = state_.statistics.edgeStylesKept;
        if (kept == 0) {
            return;
        }
        outcome.notes.push_back(engine::decimalText(kept) +
                                (kept == 1 ? u" edge style kept" : u" edge styles kept"));
        for (const std::u16string& why : runEnd.keptStyles) {
            outcome.notes.push_back(why);
        }
    }

    void noteRemoval(DocumentOutcome& outcome, const engine::StyleRemoval& removal) const {
        if (removal.notSearched) {
            outcome.notes.push_back(u"no unused style removed: " + *removal.notSearched);
            return;
        }
        const auto count = static_cast<std::int32_t>(removal.removed.size());
        const std::u16string styles = count == 1 ? u" unused style" : u" unused styles";
        if (options_.dryRun) {
            outcome.notes.push_back(engine::decimalText(count) + styles + u" would be removed");
            for (const std::u16string& name : removal.removed) {
                outcome.details.push_back(u"  would remove line style " + quoted(name));
            }
        } else {
            outcome.notes.push_back(engine::decimalText(count) + styles + u" removed");
        }
        for (const auto& [name, error] : removal.refused) {
            outcome.notes.push_back(u"line style " + quoted(name) + u" not removed: " + error);
        }
    }

    // A document that did not get through is not saved: one the tool opened
    // is closed without saving, one the user had open stays open, changed in
    // memory only when the run changed it.
    void leaveUnprocessed(DocumentOutcome& outcome, const ObjectRef& document, bool openedHere) {
        if (gate_.hostGone()) {
            return;  // nothing is left to close
        }
        if (openedHere) {
            closeWithoutSaving(outcome, document);
        } else if (state_.statistics.documentChanged()) {
            outcome.notes.push_back(u"left open with unsaved changes");
        }
    }

    void closeWithoutSaving(DocumentOutcome& outcome, const ObjectRef& document) {
        std::array<host::Argument, 1> saveChanges{host::byValue(false)};
        if (!engine::attempt([&] { document.call(dispatch::document::closeName, saveChanges); })) {
            outcome.notes.push_back(u"could not be closed: left open");
        } else if (!outcome.processed && state_.statistics.documentChanged()) {
            outcome.notes.push_back(u"closed without saving");
        }
    }

    void stopWhenHostGone() const {
        if (gate_.hostGone()) {
            throw HostGone();
        }
    }

    CliEnvironment& environment_;
    host::HostConnector& connector_;
    InterruptGate& gate_;
    const CliOptions& options_;
    engine::EngineState state_;
    SilentWindow window_;
    engine::RunContext context_;
    BatchEnd end_;
    RunPlace place_;
    ObjectRef documents_;
};

}  // namespace

BatchEnd runBatch(CliEnvironment& environment, host::HostConnector& connector, InterruptGate& gate,
                  const CliOptions& options, const std::vector<DocumentEntry>& documents,
                  bool activeDocumentOnly) {
    return BatchRun(environment, connector, gate, options).run(documents, activeDocumentOnly);
}

}  // namespace tav::cli
