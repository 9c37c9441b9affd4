#include "host/sim/scene_loader.h"

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "host/sim/fault_keys.h"
#include "host/sim/scene_json.h"

namespace tav::sim {
namespace {

using scene_json::Field;
using KeyList = std::span<const std::string_view>;

std::string inQuotes(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

std::string joined(KeyList keys) {
    std::string text;
    for (std::string_view key : keys) {
        text.append(text.empty() ? "" : ", ").append(key);
    }
    return text.empty() ? "none" : text;
}

bool listed(KeyList keys, std::string_view key) {
    for (std::string_view candidate : keys) {
        if (candidate == key) {
            return true;
        }
    }
    return false;
}

// The fault keys a scene could not use before it could describe documents on
// disk and their sheets: a scene that uses one tells of every document in its
// results.
bool isDocumentFaultKey(std::string_view key) {
    static constexpr std::array keys{fault::application::documents,
                                     fault::application::putDisplayAlerts,
                                     fault::application::documentsOpen,
                                     fault::application::documentsItem,
                                     fault::anyDocument::open,
                                     fault::anyDocument::save,
                                     fault::anyDocument::close,
                                     fault::anyDocument::fullName,
                                     fault::anyDocument::readOnly,
                                     fault::draft::sections,
                                     fault::draft::sheets,
                                     fault::lineStyles::remove};
    return listed(keys, key) || key.starts_with(fault::lineStyles::removeNamedPrefix);
}

bool holdsDocumentFaultKey(const Faults& faults) {
    for (const std::string& key : faults.keys) {
        if (isDocumentFaultKey(key)) {
            return true;
        }
    }
    return false;
}

// Whether `key` is PREFIX followed by a name.
bool isNamed(std::string_view key, std::string_view prefix) {
    return key.starts_with(prefix) && key.size() > prefix.size();
}

// A "fail" list; `named` also accepts "add:NAME" and "remove:NAME".
Faults readFaultList(const Field& list, KeyList allowed, std::string_view owner,
                     bool named = false) {
    Faults faults;
    for (const Field& entry : list.elements()) {
        std::string key = entry.text();
        bool isNamedKey = named && (isNamed(key, fault::lineStyles::addNamedPrefix) ||
                                    isNamed(key, fault::lineStyles::removeNamedPrefix));
        if (!isNamedKey && !listed(allowed, key)) {
            entry.refuse(inQuotes(key) + " is not a fault key of " + std::string(owner) +
                         " (allowed: " + joined(allowed) +
                         (named ? ", add:NAME, remove:NAME" : "") + ")");
        }
        faults.keys.insert(std::move(key));
    }
    return faults;
}

Faults readFaults(const Field& object, KeyList allowed, std::string_view owner) {
    std::optional<Field> list = object.optional("fail");
    return list ? readFaultList(*list, allowed, owner) : Faults{};
}

CountOverrides readCounts(const Field& object, KeyList allowed, std::string_view owner) {
    CountOverrides overrides;
    std::optional<Field> counts = object.optional("counts");
    if (!counts) {
        return overrides;
    }
    for (const auto& [key, value] : counts->members()) {
        if (!listed(allowed, key)) {
            value.refuse(inQuotes(key) + " is not a collection of " + std::string(owner) +
                         " (allowed: " + joined(allowed) + ")");
        }
        overrides.counts[std::string(key)] = value.int32();
    }
    return overrides;
}

bool optionalBoolean(const Field& object, std::string_view key, bool fallback) {
    std::optional<Field> field = object.optional(key);
    return field ? field->boolean() : fallback;
}

double readComponent(const Field& component, bool single) {
    double value = component.number();
    if (single && std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        component.refuse("does not fit a single-precision number");
    }
    return value;
}

Rgb readRgb(const Field& object, bool single) {
    return {readComponent(object.required("r"), single),
            readComponent(object.required("g"), single),
            readComponent(object.required("b"), single)};
}

Rgb readColorArray(const Field& array) {
    std::vector<Field> items = array.elements();
    if (items.size() != 3) {
        array.refuse("must hold three numbers (red, green, blue)");
    }
    return {items[0].number(), items[1].number(), items[2].number()};
}

// What occurrences share at every level: the file, the children that make a
// subassembly, faults and count overrides.
void readOccurrenceCore(const Field& field, const std::optional<Field>& children,
                        OccurrenceCore& core, KeyList faultKeys, std::string_view owner);

SubOccurrence readSubOccurrence(const Field& field) {
    field.allowOnly({"file", "color", "children", "fail", "counts"});
    SubOccurrence sub;
    std::optional<Field> color = field.optional("color");
    std::optional<Field> children = field.optional("children");
    if (color && children) {
        field.refuse(
            "a sub-occurrence takes either \"color\" (a part) or \"children\" (a "
            "subassembly), not both");
    }
    if (color) {
        sub.color = readColorArray(*color);
    }
    readOccurrenceCore(field, children, sub, fault::subOccurrence::all, "a sub-occurrence");
    return sub;
}

void readOccurrenceCore(const Field& field, const std::optional<Field>& children,
                        OccurrenceCore& core, KeyList faultKeys, std::string_view owner) {
    core.file = field.required("file").utf16();
    if (children) {
        core.isSubassembly = true;
        std::vector<Field> items = children->elements();
        core.children.reserve(items.size());
        for (const Field& child : items) {
            core.children.push_back(readSubOccurrence(child));
        }
    }
    core.fail = readFaults(field, faultKeys, owner);
    core.counts = readCounts(field, counted::anyOccurrence, owner);
}

Occurrence readOccurrence(const Field& field) {
    field.allowOnly({"file", "style", "faceStyle", "children", "fail", "counts"});
    Occurrence occurrence;
    std::optional<Field> style = field.optional("style");
    std::optional<Field> faceStyle = field.optional("faceStyle");
    std::optional<Field> children = field.optional("children");
    if (int(style.has_value()) + int(faceStyle.has_value()) + int(children.has_value()) > 1) {
        field.refuse("an occurrence takes only one of \"style\", \"faceStyle\" and \"children\"");
    }
    if (style) {
        style->allowOnly({"r", "g", "b", "single"});
        bool single = optionalBoolean(*style, "single", false);
        occurrence.style = OccurrenceStyle{readRgb(*style, single), single};
    }
    if (faceStyle && !faceStyle->isNull()) {
        faceStyle->allowOnly({"r", "g", "b"});
        occurrence.faceStyle = readRgb(*faceStyle, false);
    }
    readOccurrenceCore(field, children, occurrence, fault::occurrence::all, "an occurrence");
    return occurrence;
}

// One of the words `choices` names, as the value it stands for.
template <class Value>
Value oneOf(const Field& field, std::initializer_list<std::pair<std::string_view, Value>> choices) {
    const std::string word = field.text();
    std::string allowed;
    for (const auto& [name, value] : choices) {
        if (word == name) {
            return value;
        }
        allowed += (allowed.empty() ? "" : ", ") + inQuotes(name);
    }
    field.refuse("must be one of " + allowed);
}

// A call number of the run: 1 or more.
std::int32_t callNumber(const Field& field, std::string_view what) {
    std::int32_t number = field.int32();
    if (number < 1) {
        field.refuse(what);
    }
    return number;
}

class SceneReader {
  public:
    // `values`: how many JSON values the scene holds. Nearly every id belongs
    // to an object of three values or more (a member: the object, its type,
    // its name), so a third of them is room for the ids at once.
    SceneReader(const Field& top, std::size_t values) : top_(top) { ids_.reserve(values / 3); }

    Scene read() {
        top_.allowOnly({"format", "host", "activeDocument", "documents", "drawingViews", "failCall",
                        "busy", "crashAtCall", "com"});
        Field format = top_.required("format");
        if (format.text() != sceneFormat) {
            format.refuse("must be " + inQuotes(sceneFormat));
        }
        if (std::optional<Field> host = top_.optional("host")) {
            readHost(*host);
        }
        std::optional<Field> documents = top_.optional("documents");
        if (documents) {
            collectDocumentIds(*documents);
        }
        if (std::optional<Field> views = top_.optional("drawingViews")) {
            for (const Field& view : views->elements()) {
                scene_.drawingViews.push_back(readDrawingView(view));
            }
        }
        if (documents) {
            std::size_t index = 0;
            for (const auto& member : documents->members()) {
                readDocument(member.second, scene_.documents[index++]);
            }
            refuseSharedPaths(*documents);
        }
        Field active = top_.required("activeDocument");
        if (!active.isNull()) {
            scene_.activeDocument = documentIndex(active);
            if (!scene_.documents[*scene_.activeDocument].open) {
                active.refuse("the active document must be open");
            }
        }
        readFailCall();
        readComOnlyKeys();
        return std::move(scene_);
    }

  private:
    void readHost(const Field& host) {
        host.allowOnly({"running", "properties", "displayAlerts", "fail"});
        scene_.host.running = optionalBoolean(host, "running", true);
        if (std::optional<Field> alerts = host.optional("displayAlerts")) {
            scene_.host.displayAlerts = alerts->boolean();
            scene_.describesDocuments = true;
        }
        if (std::optional<Field> properties = host.optional("properties")) {
            properties->allowOnly({"18", "73"});
            scene_.host.interactive = optionalBoolean(*properties, "18", true);
            scene_.host.delayCompute = optionalBoolean(*properties, "73", false);
        }
        scene_.host.fail = readFaults(host, fault::application::all, "the host");
        noteDocumentFaults(scene_.host.fail);
    }

    void noteDocumentFaults(const Faults& faults) {
        if (holdsDocumentFaultKey(faults)) {
            scene_.describesDocuments = true;
        }
    }

    // Two documents cannot be one file: Open finds a document by its path,
    // letter case ignored as Windows ignores it.
    void refuseSharedPaths(const Field& documents) const {
        std::unordered_map<std::u16string, std::string> owners;
        std::size_t index = 0;
        for (const auto& [id, field] : documents.members()) {
            const std::optional<std::u16string>& path = scene_.documents[index++].path;
            if (!path) {
                continue;
            }
            std::u16string key = *path;
            for (char16_t& c : key) {
                if (c >= u'A' && c <= u'Z') {
                    c = static_cast<char16_t>(c - u'A' + u'a');
                }
            }
            auto [found, added] = owners.emplace(std::move(key), std::string(id));
            if (!added) {
                field.required("path").refuse("the path of the document " +
                                              inQuotes(found->second) + " too");
            }
        }
    }

    // What every document may carry: its path, whether it is open, whether
    // it is read-only.
    void readDiskState(const Field& field, Document& document) {
        if (std::optional<Field> path = field.optional("path")) {
            document.path = path->utf16();
            scene_.describesDocuments = true;
        }
        if (std::optional<Field> open = field.optional("open")) {
            document.open = open->boolean();
            scene_.describesDocuments = true;
        }
        if (std::optional<Field> readOnly = field.optional("readOnly")) {
            document.readOnly = readOnly->boolean();
            scene_.describesDocuments = true;
        }
    }

    void collectDocumentIds(const Field& documents) {
        for (const auto& [id, document] : documents.members()) {
            registerId(document, std::string(id), IdKind::document);
            documentIds_[std::string(id)] = scene_.documents.size();
            Document& entry = scene_.documents.emplace_back();
            entry.id = id;
            Field kind = document.required("kind");
            std::string name = kind.text();
            if (name == "draft") {
                entry.kind = DocumentKind::draft;
            } else if (name == "assembly") {
                entry.kind = DocumentKind::assembly;
            } else if (name == "part") {
                entry.kind = DocumentKind::part;
            } else {
                kind.refuse("must be \"draft\", \"assembly\" or \"part\"");
            }
        }
    }

    void readDocument(const Field& field, Document& document) {
        switch (document.kind) {
            case DocumentKind::draft:
                readDraft(field, document);
                break;
            case DocumentKind::assembly:
                field.allowOnly(
                    {"kind", "path", "open", "readOnly", "occurrences", "fail", "counts"});
                readDiskState(field, document);
                if (std::optional<Field> occurrences = field.optional("occurrences")) {
                    std::vector<Field> items = occurrences->elements();
                    document.occurrences.reserve(items.size());
                    for (const Field& occurrence : items) {
                        document.occurrences.push_back(readOccurrence(occurrence));
                    }
                }
                document.fail = readFaults(field, fault::assembly::all, "an assembly document");
                noteDocumentFaults(document.fail);
                document.counts = readCounts(field, counted::assembly, "an assembly document");
                break;
            case DocumentKind::part:
                field.allowOnly({"kind", "path", "open", "readOnly", "fail"});
                readDiskState(field, document);
                document.fail = readFaults(field, fault::part::all, "a part document");
                noteDocumentFaults(document.fail);
                break;
        }
    }

    void readDraft(const Field& field, Document& draft) {
        field.allowOnly({"kind", "path", "open", "readOnly", "drawingViews", "sheets",
                         "activeSheet", "selection", "lineStyles", "lineStylesFail", "fail",
                         "counts"});
        readDiskState(field, draft);
        readSheets(field, draft);
        if (std::optional<Field> selection = field.optional("selection")) {
            for (const Field& entry : selection->elements()) {
                draft.selection.push_back(readSelectionEntry(entry));
            }
        }
        if (std::optional<Field> styles = field.optional("lineStyles")) {
            std::unordered_set<std::u16string> names;
            for (const Field& style : styles->elements()) {
                draft.lineStyles.push_back(readLineStyle(style, names));
            }
        }
        if (std::optional<Field> styleFaults = field.optional("lineStylesFail")) {
            draft.lineStylesFail =
                readFaultList(*styleFaults, fault::lineStyles::all, "the line styles", true);
            noteDocumentFaults(draft.lineStylesFail);
        }
        draft.fail = readFaults(field, fault::draft::all, "a draft document");
        noteDocumentFaults(draft.fail);
        draft.counts = readCounts(field, counted::draft, "a draft document");
    }

    // The draft's sheets; without "sheets", one working sheet "Sheet1" holds
    // the draft's "drawingViews".
    void readSheets(const Field& field, Document& draft) {
        std::optional<Field> sheets = field.optional("sheets");
        std::optional<Field> views = field.optional("drawingViews");
        if (sheets && views) {
            field.refuse("a draft takes either \"sheets\" or \"drawingViews\", not both");
        }
        if (!sheets) {
            Sheet& only = draft.sheets.emplace_back();
            only.name = u"Sheet1";
            if (views) {
                only.drawingViews = sheetViews(*views);
            }
        } else {
            scene_.describesDocuments = true;
            for (const Field& entry : sheets->elements()) {
                draft.sheets.push_back(readSheet(entry));
            }
            if (draft.sheets.empty()) {
                sheets->refuse("a draft has at least one sheet");
            }
        }
        if (std::optional<Field> active = field.optional("activeSheet")) {
            scene_.describesDocuments = true;
            std::int32_t index = active->int32();
            if (index < 1 || static_cast<std::size_t>(index) > draft.sheets.size()) {
                active->refuse("must be a sheet's position, 1 to " +
                               std::to_string(draft.sheets.size()));
            }
            draft.activeSheet = static_cast<std::size_t>(index) - 1;
        }
    }

    Sheet readSheet(const Field& field) {
        field.allowOnly({"name", "section", "drawingViews", "fail"});
        Sheet sheet;
        sheet.name = field.required("name").utf16();
        if (std::optional<Field> section = field.optional("section")) {
            sheet.section = oneOf<SectionKind>(*section, {{"working", SectionKind::working},
                                                          {"background", SectionKind::background}});
        }
        if (std::optional<Field> views = field.optional("drawingViews")) {
            sheet.drawingViews = sheetViews(*views);
        }
        sheet.fail = readFaults(field, fault::sheet::all, "a sheet");
        return sheet;
    }

    // A sheet's drawing views; each view is on one sheet at most.
    std::vector<std::size_t> sheetViews(const Field& list) {
        std::vector<std::size_t> views;
        for (const Field& reference : list.elements()) {
            std::size_t view = viewIndex(reference);
            if (!viewsOnSheets_.insert(view).second) {
                reference.refuse("the drawing view " + inQuotes(reference.text()) +
                                 " is already on a sheet");
            }
            views.push_back(view);
        }
        return views;
    }

    LineStyle readLineStyle(const Field& field, std::unordered_set<std::u16string>& names) {
        field.allowOnly({"name", "color", "parent", "fail"});
        LineStyle style;
        Field name = field.required("name");
        style.name = name.utf16();
        if (!names.insert(style.name).second) {
            name.refuse("duplicate line style name " + inQuotes(name.text()));
        }
        style.color = field.required("color").int32();
        if (std::optional<Field> parent = field.optional("parent")) {
            style.parent = parent->utf16();
            scene_.describesDocuments = true;
        }
        style.fail = readFaults(field, fault::lineStyle::all, "a line style");
        if (!style.fail.keys.empty()) {
            scene_.describesDocuments = true;
        }
        return style;
    }

    SelectionEntry readSelectionEntry(const Field& field) {
        if (field.has("ref")) {
            field.allowOnly({"ref"});
            return {SelectionEntry::Kind::drawingView, viewIndex(field.required("ref"))};
        }
        field.allowOnly({"id", "type", "drawingViewType", "fail"});
        SelectedItem item;
        Field id = field.required("id");
        item.id = id.text();
        registerId(id, item.id, IdKind::selectedItem);
        item.type = field.required("type").int32();
        std::optional<Field> viewType = field.optional("drawingViewType");
        if (viewType && !viewType->isNull()) {
            item.drawingViewType = viewType->int32();
        }
        item.fail = readFaults(field, fault::selectedItem::all, "a selected item");
        scene_.selectedItems.push_back(std::move(item));
        return {SelectionEntry::Kind::item, scene_.selectedItems.size() - 1};
    }

    DrawingView readDrawingView(const Field& field) {
        field.allowOnly({"id", "name", "drawingViewType", "model", "root", "fail"});
        DrawingView view;
        Field id = field.required("id");
        view.id = id.text();
        registerId(id, view.id, IdKind::drawingView);
        if (view.id.find('/') != std::string::npos) {
            id.refuse(
                "a drawing view id must not hold \"/\", which separates the parts of "
                "member index paths");
        }
        viewIds_.emplace(view.id, scene_.drawingViews.size());
        if (std::optional<Field> name = field.optional("name")) {
            view.name = name->utf16();
            scene_.describesDocuments = true;
        }
        if (std::optional<Field> type = field.optional("drawingViewType")) {
            view.drawingViewType = type->int32();
        }
        Field model = field.required("model");
        if (!model.isNull()) {
            model.allowOnly({"file", "document"});
            view.model = ModelReference{model.required("file").utf16(),
                                        documentIndex(model.required("document"))};
        }
        Field root = field.required("root");
        root.allowOnly({"children", "fail", "counts"});
        view.root.id = view.id;
        view.root.children = readChildren(root, view.id);
        view.root.fail = readFaults(root, fault::modelMember::root, "a view's root member");
        view.root.counts = readCounts(root, counted::modelMember, "a view's root member");
        view.fail = readFaults(field, fault::drawingView::all, "a drawing view");
        return view;
    }

    // Members are named by index path ("V1/2/1") unless they carry an id;
    // the path counts positions whatever ids the enclosing members have.
    std::vector<ModelMember> readChildren(const Field& field, const std::string& parentPath) {
        std::vector<ModelMember> members;
        if (std::optional<Field> children = field.optional("children")) {
            std::vector<Field> items = children->elements();
            members.reserve(items.size());
            for (const Field& child : items) {
                std::string path = parentPath + "/" + std::to_string(members.size() + 1);
                members.push_back(readMember(child, path));
            }
        }
        return members;
    }

    ModelMember readMember(const Field& field, const std::string& indexPath) {
        field.allowOnly({"type", "name", "children", "flag26", "styles", "id", "fail", "counts"});
        ModelMember member;
        member.type = field.required("type").int32();
        member.name = field.required("name").utf16();
        member.edgeStylesOverridden = optionalBoolean(field, "flag26", false);
        if (std::optional<Field> styles = field.optional("styles")) {
            styles->allowOnly({"visible", "hidden", "tangent"});
            auto read = [&styles](std::string_view key, std::u16string& into) {
                if (std::optional<Field> name = styles->optional(key)) {
                    into = name->utf16();
                }
            };
            read("visible", member.styles.visible);
            read("hidden", member.styles.hidden);
            read("tangent", member.styles.tangent);
        }
        std::optional<Field> id = field.optional("id");
        member.id = id ? id->text() : indexPath;
        registerId(id ? *id : field, member.id, IdKind::modelMember);
        member.children = readChildren(field, indexPath);
        member.fail = readFaults(field, fault::modelMember::all, "a model member");
        member.counts = readCounts(field, counted::modelMember, "a model member");
        return member;
    }

    void readFailCall() {
        std::optional<Field> failCall = top_.optional("failCall");
        if (failCall && !failCall->isNull()) {
            scene_.failCall = callNumber(*failCall, "must be a positive call number or null");
        }
    }

    // Keys that only the server over COM acts on; kept in the scene for it.
    void readComOnlyKeys() {
        if (std::optional<Field> busy = top_.optional("busy")) {
            busy->allowOnly({"call", "rejections"});
            scene_.busy =
                BusyHost{callNumber(busy->required("call"), "must be a positive call number"),
                         callNumber(busy->required("rejections"), "must be a positive number")};
        }
        if (std::optional<Field> crash = top_.optional("crashAtCall")) {
            scene_.crashAtCall = callNumber(*crash, "must be a positive call number");
        }
        if (std::optional<Field> com = top_.optional("com")) {
            readComStrictness(*com);
        }
    }

    void readComStrictness(const Field& com) {
        using Strict = ComStrictness;
        com.allowOnly({"names", "numbers", "errors", "stall", "classIds", "byRef", "arrays",
                       "typeLibrary", "busyKinds"});
        ComStrictness& strict = scene_.com;
        if (std::optional<Field> names = com.optional("names")) {
            strict.names = oneOf<Strict::Names>(
                *names,
                {{"shared", Strict::Names::shared}, {"perInterface", Strict::Names::perInterface}});
        }
        if (std::optional<Field> numbers = com.optional("numbers")) {
            strict.numbers = oneOf<Strict::Numbers>(
                *numbers, {{"exact", Strict::Numbers::exact}, {"varied", Strict::Numbers::varied}});
        }
        if (std::optional<Field> errors = com.optional("errors")) {
            strict.errors =
                oneOf<Strict::Errors>(*errors, {{"exception", Strict::Errors::exception},
                                                {"deferred", Strict::Errors::deferred},
                                                {"direct", Strict::Errors::direct}});
        }
        if (std::optional<Field> stall = com.optional("stall")) {
            stall->allowOnly({"call", "ms"});
            Strict::Stall held;
            held.call = callNumber(stall->required("call"), "must be a positive call number");
            held.ms = stall->required("ms").int32();
            if (held.ms < 0) {
                stall->required("ms").refuse("must be a number of milliseconds, 0 or more");
            }
            strict.stall = held;
        }
        if (std::optional<Field> classIds = com.optional("classIds")) {
            strict.classIds = oneOf<Strict::ClassIds>(
                *classIds,
                {{"same", Strict::ClassIds::same}, {"separate", Strict::ClassIds::separate}});
        }
        if (std::optional<Field> byRef = com.optional("byRef")) {
            strict.byRef = oneOf<Strict::ByRef>(
                *byRef, {{"exact", Strict::ByRef::exact}, {"declared", Strict::ByRef::declared}});
        }
        if (std::optional<Field> arrays = com.optional("arrays")) {
            strict.arrays = oneOf<Strict::Arrays>(*arrays, {{"r8", Strict::Arrays::r8},
                                                            {"r4", Strict::Arrays::r4},
                                                            {"variant", Strict::Arrays::variant}});
        }
        if (std::optional<Field> library = com.optional("typeLibrary")) {
            strict.typeLibrary = oneOf<Strict::TypeLibrary>(
                *library, {{"small", Strict::TypeLibrary::small},
                           {"solidEdge", Strict::TypeLibrary::solidEdge}});
        }
        if (std::optional<Field> busyKinds = com.optional("busyKinds")) {
            strict.busyKinds = oneOf<Strict::BusyKinds>(
                *busyKinds,
                {{"invoke", Strict::BusyKinds::invoke}, {"all", Strict::BusyKinds::all}});
        }
    }

    // Documents, drawing views, selected items and model members name each
    // other and appear in results by id, so every id is unique across all
    // four and never empty.
    enum class IdKind { document, drawingView, selectedItem, modelMember };

    static std::string_view kindName(IdKind kind) {
        switch (kind) {
            case IdKind::document:
                return "document";
            case IdKind::drawingView:
                return "drawing view";
            case IdKind::selectedItem:
                return "selected item";
            case IdKind::modelMember:
                break;
        }
        return "model member";
    }

    void registerId(const Field& where, const std::string& id, IdKind kind) {
        if (id.empty()) {
            where.refuse("an id must not be empty");
        }
        auto [found, added] = ids_.emplace(id, kind);
        if (added) {
            return;
        }
        std::string name(kindName(found->second));
        if (found->second == kind) {
            where.refuse("duplicate " + name + " id " + inQuotes(id));
        }
        where.refuse(inQuotes(id) + " is already the id of a " + name);
    }

    using IndexById = std::unordered_map<std::string, std::size_t>;

    static std::size_t resolve(const Field& reference, const IndexById& indices, IdKind kind) {
        std::string id = reference.text();
        auto found = indices.find(id);
        if (found == indices.end()) {
            reference.refuse("no " + std::string(kindName(kind)) + " has id " + inQuotes(id));
        }
        return found->second;
    }

    std::size_t documentIndex(const Field& reference) const {
        return resolve(reference, documentIds_, IdKind::document);
    }

    std::size_t viewIndex(const Field& reference) const {
        return resolve(reference, viewIds_, IdKind::drawingView);
    }

    Field top_;
    Scene scene_;
    IndexById documentIds_;
    IndexById viewIds_;
    std::unordered_set<std::size_t> viewsOnSheets_;
    std::unordered_map<std::string, IdKind> ids_;
};

constexpr scene_json::NestingLimit nestingLimit{"children", maxNestingLevels,
                                                "model members and sub-occurrences"};

Scene sceneFrom(const scene_json::Tree& tree, std::string_view fileName) {
    Field top(tree, 0, fileName);
    if (!top.isObject()) {
        top.refuse("must be an object");
    }
    return SceneReader(top, tree.size()).read();
}

[[noreturn]] void refuseFile(std::string_view name, std::string_view what) {
    throw SceneError(std::string(name) + ": " + std::string(what));
}

[[noreturn]] void refuseTooLarge(std::string_view name) {
    refuseFile(name, "is larger than the " + std::to_string(maxSceneBytes / (1024 * 1024)) +
                         " MiB a scene may take");
}

// The whole file, read only when it is a regular file no larger than a scene
// may be: a directory, a device or a pipe is refused without reading it.
std::string readSceneFile(const std::filesystem::path& file, const std::string& name) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error) {
        refuseFile(name, "cannot be read: " + error.message());
    }
    if (std::filesystem::is_directory(status)) {
        refuseFile(name, "cannot be read: it is a directory");
    }
    if (!std::filesystem::is_regular_file(status)) {
        refuseFile(name, "cannot be read: it is not a regular file");
    }
    std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > maxSceneBytes) {
        refuseTooLarge(name);
    }
    std::string text;
    try {
        std::ifstream stream(file, std::ios::binary);
        if (!stream) {
            refuseFile(name, "cannot be read");
        }
        std::vector<char> buffer(std::size_t{1} << 16);
        // Read in pieces, so that a file that grows while it is read still
        // stops at the limit.
        while (stream.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
               stream.gcount() > 0) {
            text.append(buffer.data(), static_cast<std::size_t>(stream.gcount()));
            if (text.size() > maxSceneBytes) {
                refuseTooLarge(name);
            }
        }
        if (stream.bad()) {
            refuseFile(name, "cannot be read");
        }
    } catch (const std::ios_base::failure& failure) {
        refuseFile(name, std::string("cannot be read: ") + failure.what());
    }
    return text;
}

}  // namespace

Scene parseScene(std::string_view json, std::string_view fileNameForMessages) {
    if (json.size() > maxSceneBytes) {
        refuseTooLarge(fileNameForMessages);
    }
    return sceneFrom(scene_json::parseStrict(json, fileNameForMessages, nestingLimit),
                     fileNameForMessages);
}

Scene loadScene(const std::filesystem::path& file) {
    std::u8string utf8Name = file.u8string();
    std::string name(utf8Name.begin(), utf8Name.end());
    scene_json::Tree tree;
    {
        std::string text = readSceneFile(file, name);
        tree = scene_json::parseStrict(text, name, nestingLimit);
    }  // the text goes before the scene is built from the tree
    return sceneFrom(tree, name);
}

}  // namespace tav::sim
