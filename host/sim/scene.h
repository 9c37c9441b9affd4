// The plain data of a simulated Solid Edge session, as a scene file describes
// it: the application, its documents, the drawing views with their model
// members, and the faults to inject. Text the tool sees (names, file names) is
// UTF-16; ids that only the scene and the results use are UTF-8.
//
// The simulated host starts from a Scene and keeps its live state in it: the
// select sets, line styles and member edge styles change as the tool works.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tav::sim {

// Operations that raise a host error whenever they are called on an object.
struct Faults {
    std::set<std::string, std::less<>> keys;
    bool contains(std::string_view key) const { return keys.find(key) != keys.end(); }
};

// Collections that report a fixed number of items whatever they hold.
struct CountOverrides {
    std::map<std::string, std::int32_t, std::less<>> counts;
    std::optional<std::int32_t> find(std::string_view collection) const {
        auto found = counts.find(collection);
        return found == counts.end() ? std::nullopt : std::optional(found->second);
    }
};

struct Rgb {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// An occurrence style; `single` makes the host return its components as
// single-precision values.
struct OccurrenceStyle {
    Rgb color;
    bool single = false;
};

struct SubOccurrence;

// What an occurrence is at every level of an assembly: a part, or a
// subassembly holding sub-occurrences.
struct OccurrenceCore {
    std::u16string file;
    bool isSubassembly = false;
    std::vector<SubOccurrence> children;
    Faults fail;
    CountOverrides counts;
};

// An occurrence below the top level; a part shows its colour through the
// colour query.
struct SubOccurrence : OccurrenceCore {
    std::optional<Rgb> color;  // absent: the colour query leaves its arguments alone
};

// A top-level occurrence of an assembly; a part shows its colour through its
// occurrence style, else through the face style of its body.
struct Occurrence : OccurrenceCore {
    std::optional<OccurrenceStyle> style;
    std::optional<Rgb> faceStyle;
};

struct LineStyle {
    std::u16string name;
    std::int32_t color = 0;
    // The style it was created from; empty for a style the scene brought.
    std::optional<std::u16string> templateName;
    // The style a scene's style was made from ("Parent"); none: "".
    std::optional<std::u16string> parent;
    Faults fail;
    // Who the style is while it lasts, whatever its position: a style that
    // was removed, or that a Close took back, answers no more calls.
    std::uint32_t serial = 0;
};

// An object in a select set: a drawing view, or another selected object.
struct SelectionEntry {
    enum class Kind { drawingView, item };
    Kind kind = Kind::drawingView;
    std::size_t index = 0;  // into Scene::drawingViews or Scene::selectedItems
    bool operator==(const SelectionEntry&) const = default;
};

// A selected object that is not a drawing view.
struct SelectedItem {
    std::string id;
    std::int32_t type = 0;
    std::optional<std::int32_t> drawingViewType;  // empty: reading it fails
    Faults fail;
};

enum class DocumentKind { draft, assembly, part };

enum class SectionKind { working, background };

// One sheet of a draft: its name, its section and its drawing views
// (indices into Scene::drawingViews), in index order.
struct Sheet {
    std::u16string name;
    SectionKind section = SectionKind::working;
    std::vector<std::size_t> drawingViews;
    Faults fail;
};

struct Document {
    std::string id;
    DocumentKind kind = DocumentKind::draft;
    // Any document: its full file name (none: "FullName" is ""), whether it
    // is open when the session starts, and whether it may be saved.
    std::optional<std::u16string> path;
    bool open = true;
    bool readOnly = false;
    // Draft: its sheets (a draft the scene gives no sheets has one working
    // sheet, "Sheet1"), the active one, the select set and the line styles.
    std::vector<Sheet> sheets;
    std::size_t activeSheet = 0;  // into sheets
    std::vector<SelectionEntry> selection;
    std::vector<LineStyle> lineStyles;
    Faults lineStylesFail;
    // Assembly: the top-level occurrences.
    std::vector<Occurrence> occurrences;
    Faults fail;
    CountOverrides counts;
};

struct EdgeStyles {
    std::u16string visible = u"Normal";
    std::u16string hidden = u"Normal";
    std::u16string tangent = u"Normal";
};

struct ModelMember {
    // The id given in the scene, else the index path ("V1/2/1"); a view's
    // root member has the view's id.
    std::string id;
    std::int32_t type = 0;
    std::u16string name;
    std::vector<ModelMember> children;
    bool edgeStylesOverridden = false;
    EdgeStyles styles;
    Faults fail;
    CountOverrides counts;
};

struct ModelReference {
    std::u16string file;
    std::size_t document = 0;  // index into Scene::documents
};

struct DrawingView {
    std::string id;
    std::optional<std::u16string> name;  // "Name"; none: the id
    std::int32_t drawingViewType = 1;
    std::optional<ModelReference> model;  // empty: the view has no model reference
    ModelMember root;
    Faults fail;
};

struct Application {
    bool running = false;
    // The scene's "properties" give them by dispatch id ("18", "73").
    bool interactive = true;
    bool delayCompute = false;
    bool displayAlerts = true;
    Faults fail;
};

// Host behaviour that only the server over COM acts on (the in-process host
// ignores it): call `call` is rejected as busy `rejections` times first.
struct BusyHost {
    std::int32_t call = 0;
    std::int32_t rejections = 0;
};

// How strict a host the server over COM plays (the in-process host ignores
// it): how it numbers late-bound names, which VARIANT types its numbers come
// in, how it reports errors, a call it holds inside a dialog; whether its
// documents' interfaces share the ids the tool casts to, how it takes the
// colour query's by-reference arguments and in which element type its arrays
// come, how large its type library is, and which incoming calls a busy host
// rejects.
struct ComStrictness {
    enum class Names { shared, perInterface };
    enum class Numbers { exact, varied };
    enum class Errors { exception, deferred, direct };
    struct Stall {
        std::int32_t call = 0;
        std::int32_t ms = 0;
    };
    enum class ClassIds { same, separate };
    enum class ByRef { exact, declared };
    enum class Arrays { r8, r4, variant };
    enum class TypeLibrary { small, solidEdge };
    enum class BusyKinds { invoke, all };

    Names names = Names::shared;
    Numbers numbers = Numbers::exact;
    Errors errors = Errors::exception;
    std::optional<Stall> stall;
    ClassIds classIds = ClassIds::same;
    ByRef byRef = ByRef::exact;
    Arrays arrays = Arrays::r8;
    TypeLibrary typeLibrary = TypeLibrary::small;
    BusyKinds busyKinds = BusyKinds::invoke;
};

struct Scene {
    Application host;
    std::optional<std::size_t> activeDocument;  // index into documents
    std::vector<Document> documents;            // in the scene file's order
    std::vector<DrawingView> drawingViews;
    std::vector<SelectedItem> selectedItems;  // every non-view object some selection names
    std::optional<std::int32_t> failCall;
    std::optional<BusyHost> busy;
    std::optional<std::int32_t> crashAtCall;  // over COM: the server ends at this call
    ComStrictness com;
    // Whether the scene uses sheets, sections, documents on disk, alerts,
    // line-style parents or view names: its results then tell of every
    // document.
    bool describesDocuments = false;
};

}  // namespace tav::sim
