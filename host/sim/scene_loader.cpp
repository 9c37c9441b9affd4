#include "host/sim/scene_loader.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <span>

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

// A "fail" list; `namedAdd` also accepts "add:NAME".
Faults readFaultList(const Field& list, KeyList allowed, std::string_view owner,
                     bool namedAdd = false) {
    Faults faults;
    for (const Field& entry : list.elements()) {
        std::string key = entry.text();
        bool isNamedAdd = namedAdd && key.starts_with(fault::lineStyles::addNamedPrefix) &&
                          key.size() > fault::lineStyles::addNamedPrefix.size();
        if (!isNamedAdd && !listed(allowed, key)) {
            entry.refuse(inQuotes(key) + " is not a fault key of " + std::string(owner) +
                         " (allowed: " + joined(allowed) + (namedAdd ? ", add:NAME" : "") + ")");
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
        overrides.counts[key] = value.int32();
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

SubOccurrence readSubOccurrence(const Field& field) {
    field.allowOnly({"file", "color", "children", "fail", "counts"});
    SubOccurrence sub;
    sub.file = field.required("file").utf16();
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
    if (children) {
        sub.isSubassembly = true;
        for (const Field& child : children->elements()) {
            sub.children.push_back(readSubOccurrence(child));
        }
    }
    sub.fail = readFaults(field, fault::subOccurrence::all, "a sub-occurrence");
    sub.counts = readCounts(field, counted::anyOccurrence, "a sub-occurrence");
    return sub;
}

Occurrence readOccurrence(const Field& field) {
    field.allowOnly({"file", "style", "faceStyle", "children", "fail", "counts"});
    Occurrence occurrence;
    occurrence.file = field.required("file").utf16();
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
    if (children) {
        occurrence.isSubassembly = true;
        for (const Field& child : children->elements()) {
            occurrence.children.push_back(readSubOccurrence(child));
        }
    }
    occurrence.fail = readFaults(field, fault::occurrence::all, "an occurrence");
    occurrence.counts = readCounts(field, counted::anyOccurrence, "an occurrence");
    return occurrence;
}

class SceneReader {
  public:
    explicit SceneReader(const Field& top) : top_(top) {}

    Scene read() {
        top_.allowOnly(
            {"format", "host", "activeDocument", "documents", "drawingViews", "failCall"});
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
            for (const auto& [id, document] : documents->members()) {
                readDocument(document, scene_.documents[documentIds_.at(id)]);
            }
        }
        Field active = top_.required("activeDocument");
        if (!active.isNull()) {
            scene_.activeDocument = documentIndex(active);
        }
        readFailCall();
        return std::move(scene_);
    }

  private:
    void readHost(const Field& host) {
        host.allowOnly({"running", "properties", "fail"});
        scene_.host.running = optionalBoolean(host, "running", true);
        if (std::optional<Field> properties = host.optional("properties")) {
            properties->allowOnly({"18", "73"});
            scene_.host.interactive = optionalBoolean(*properties, "18", true);
            scene_.host.delayCompute = optionalBoolean(*properties, "73", false);
        }
        scene_.host.fail = readFaults(host, fault::application::all, "the host");
    }

    void collectDocumentIds(const Field& documents) {
        for (const auto& [id, document] : documents.members()) {
            documentIds_[id] = scene_.documents.size();
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
                field.allowOnly({"kind", "occurrences", "fail", "counts"});
                if (std::optional<Field> occurrences = field.optional("occurrences")) {
                    for (const Field& occurrence : occurrences->elements()) {
                        document.occurrences.push_back(readOccurrence(occurrence));
                    }
                }
                document.fail = readFaults(field, fault::assembly::all, "an assembly document");
                document.counts = readCounts(field, counted::assembly, "an assembly document");
                break;
            case DocumentKind::part:
                field.allowOnly({"kind", "fail"});
                document.fail = readFaults(field, fault::part::all, "a part document");
                break;
        }
    }

    void readDraft(const Field& field, Document& draft) {
        field.allowOnly({"kind", "drawingViews", "selection", "lineStyles", "lineStylesFail",
                         "fail", "counts"});
        if (std::optional<Field> views = field.optional("drawingViews")) {
            for (const Field& view : views->elements()) {
                draft.drawingViews.push_back(viewIndex(view));
            }
        }
        if (std::optional<Field> selection = field.optional("selection")) {
            for (const Field& entry : selection->elements()) {
                draft.selection.push_back(readSelectionEntry(entry));
            }
        }
        if (std::optional<Field> styles = field.optional("lineStyles")) {
            for (const Field& style : styles->elements()) {
                draft.lineStyles.push_back(readLineStyle(style, draft));
            }
        }
        if (std::optional<Field> styleFaults = field.optional("lineStylesFail")) {
            draft.lineStylesFail =
                readFaultList(*styleFaults, fault::lineStyles::all, "the line styles", true);
        }
        draft.fail = readFaults(field, fault::draft::all, "a draft document");
        draft.counts = readCounts(field, counted::draft, "a draft document");
    }

    static LineStyle readLineStyle(const Field& field, const Document& draft) {
        field.allowOnly({"name", "color"});
        LineStyle style;
        Field name = field.required("name");
        style.name = name.utf16();
        for (const LineStyle& earlier : draft.lineStyles) {
            if (earlier.name == style.name) {
                name.refuse("duplicate line style name " + inQuotes(name.text()));
            }
        }
        style.color = field.required("color").int32();
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
        if (viewIds_.contains(item.id)) {
            id.refuse(inQuotes(item.id) + " is already the id of a drawing view");
        }
        if (!itemIds_.insert(item.id).second) {
            id.refuse("duplicate selected item id " + inQuotes(item.id));
        }
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
        field.allowOnly({"id", "drawingViewType", "model", "root", "fail"});
        DrawingView view;
        Field id = field.required("id");
        view.id = id.text();
        if (!viewIds_.emplace(view.id, scene_.drawingViews.size()).second) {
            id.refuse("duplicate drawing view id " + inQuotes(view.id));
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
            for (const Field& child : children->elements()) {
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
        member.templateGuard = optionalBoolean(field, "flag26", false);
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
        if (!memberIds_.insert(member.id).second) {
            (id ? *id : field).refuse("duplicate model member id " + inQuotes(member.id));
        }
        member.children = readChildren(field, indexPath);
        member.fail = readFaults(field, fault::modelMember::all, "a model member");
        member.counts = readCounts(field, counted::modelMember, "a model member");
        return member;
    }

    void readFailCall() {
        std::optional<Field> failCall = top_.optional("failCall");
        if (!failCall || failCall->isNull()) {
            return;
        }
        std::int32_t number = failCall->int32();
        if (number < 1) {
            failCall->refuse("must be a positive call number or null");
        }
        scene_.failCall = number;
    }

    std::size_t documentIndex(const Field& reference) const {
        std::string id = reference.text();
        auto found = documentIds_.find(id);
        if (found == documentIds_.end()) {
            reference.refuse("no document has id " + inQuotes(id));
        }
        return found->second;
    }

    std::size_t viewIndex(const Field& reference) const {
        std::string id = reference.text();
        auto found = viewIds_.find(id);
        if (found == viewIds_.end()) {
            reference.refuse("no drawing view has id " + inQuotes(id));
        }
        return found->second;
    }

    Field top_;
    Scene scene_;
    std::map<std::string, std::size_t> documentIds_;
    std::map<std::string, std::size_t> viewIds_;
    std::set<std::string> itemIds_;
    std::set<std::string> memberIds_;
};

}  // namespace

Scene parseScene(std::string_view json, std::string_view fileNameForMessages) {
    scene_json::Json document = scene_json::parseStrict(json, fileNameForMessages);
    Field top(document, "", fileNameForMessages);
    if (!top.isObject()) {
        top.refuse("must be an object");
    }
    return SceneReader(top).read();
}

Scene loadScene(const std::filesystem::path& file) {
    std::u8string utf8Name = file.u8string();
    std::string name(utf8Name.begin(), utf8Name.end());
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw SceneError(name + ": cannot be read");
    }
    std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) {
        throw SceneError(name + ": cannot be read");
    }
    return parseScene(text, name);
}

}  // namespace tav::sim
