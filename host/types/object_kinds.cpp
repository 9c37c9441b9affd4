#include "host/types/object_kinds.h"

#include <array>

namespace tav::hosttypes {
namespace {

namespace ids = host::dispatch;
using Params = std::span<const std::string_view>;

constexpr std::array<std::string_view, 1> oneIndex{"VARIANT"};
constexpr std::array<std::string_view, 1> oneLong{"long"};
constexpr std::array<std::string_view, 1> oneObject{"IDispatch*"};
constexpr std::array<std::string_view, 2> nameAndTemplate{"BSTR", "BSTR"};
// As the tool passes them: four arrays of doubles and two doubles, by reference.
constexpr std::array<std::string_view, 6> materialArguments{"SAFEARRAY(double)*",
                                                            "SAFEARRAY(double)*",
                                                            "SAFEARRAY(double)*",
                                                            "SAFEARRAY(double)*",
                                                            "double*",
                                                            "double*"};

constexpr ToolMember item(std::string_view returns, bool method = true) {
    return {ids::defaultMember, {}, Use::item, "Item", method, returns, Params(oneIndex)};
}
constexpr ToolMember count(host::DispId id) {
    return {id, {}, Use::get, "Count", false, "long"};
}

const std::array<ToolMember, 4> application{{
    {ids::application::activeDocument, {}, Use::get, "ActiveDocument", false, "IDispatch*"},
    {ids::application::interactive, {}, Use::getAndPut, "Interactive", false, "VARIANT_BOOL"},
    {ids::application::delayCompute, {}, Use::getAndPut, "DelayCompute", false, "VARIANT_BOOL"},
    {ids::application::startCommand,
     {},
     Use::method,
     "StartCommand",
     true,
     "void",
     Params(oneLong)},
}};
const std::array<ToolMember, 4> draft{{
    {ids::draftDocument::activeSheet, {}, Use::get, "ActiveSheet", false, "Sheet*"},
    {ids::draftDocument::selectSet, {}, Use::get, "SelectSet", false, "SelectSet*"},
    {ids::draftDocument::lineStyles, {}, Use::get, "LinearStyles", false, "LinearStyles*"},
    {0, ids::draftDocument::selectSetName, Use::get, "SelectSet", false, "SelectSet*"},
}};
const std::array<ToolMember, 1> sheet{{
    {ids::sheet::drawingViews, {}, Use::get, "DrawingViews", false, "DrawingViews*"},
}};
const std::array<ToolMember, 2> drawingViews{{
    count(ids::drawingViews::count),
    item("DrawingView*"),
}};
const std::array<ToolMember, 5> selectSet{{
    count(ids::selectSet::count),
    item("IDispatch*"),
    {ids::selectSet::add, {}, Use::method, "Add", true, "void", Params(oneObject)},
    {ids::selectSet::remove, {}, Use::method, "Remove", true, "void", Params(oneIndex)},
    {ids::selectSet::clear, {}, Use::method, "RemoveAll", true, "void"},
}};
const std::array<ToolMember, 4> drawingView{{
    {ids::drawingView::modelReference, {}, Use::get, "ModelLink", false, "ModelLink*"},
    {ids::drawingView::modelMembers, {}, Use::get, "ModelMembers", false, "ModelMembers*"},
    {0, ids::selectSet::typeName, Use::get, "Type", false, "long"},
    {0, ids::selectSet::drawingViewTypeName, Use::get, "DrawingViewType", false, "long"},
}};
const std::array<ToolMember, 2> modelLink{{
    {ids::modelReference::fileName, {}, Use::get, "FileName", false, "BSTR"},
    {ids::modelReference::modelDocument, {}, Use::get, "ModelDocument", false, "IDispatch*"},
}};
const std::array<ToolMember, 1> assembly{{
    {ids::assemblyDocument::occurrences, {}, Use::get, "Occurrences", false, "Occurrences*"},
}};
const std::array<ToolMember, 2> occurrences{{
    count(ids::occurrences::count),
    item("Occurrence*"),
}};
const std::array<ToolMember, 5> occurrence{{
    {ids::occurrence::isSubassembly, {}, Use::get, "Subassembly", false, "VARIANT_BOOL"},
    {ids::occurrence::subOccurrences, {}, Use::get, "SubOccurrences", false, "SubOccurrences*"},
    {ids::occurrence::fileName, {}, Use::get, "OccurrenceFileName", false, "BSTR"},
    // "Style" (a name) or "FaceStyle" (an object): Solid Edge does not say
    // which this is; the tool reads an object from it.
    {ids::occurrence::style, {}, Use::get, "FaceStyle", false, "FaceStyle*"},
    {ids::occurrence::partDocument, {}, Use::get, "PartDocument", false, "PartDocument*"},
}};
const std::array<ToolMember, 3> occurrenceStyle{{
    {0, ids::occurrence::diffuseRedName, Use::get, "DiffuseRed", false, "float"},
    {0, ids::occurrence::diffuseGreenName, Use::get, "DiffuseGreen", false, "float"},
    {0, ids::occurrence::diffuseBlueName, Use::get, "DiffuseBlue", false, "float"},
}};
const std::array<ToolMember, 2> subOccurrences{{
    count(ids::subOccurrences::count),
    item("SubOccurrence*"),
}};
const std::array<ToolMember, 4> subOccurrence{{
    {ids::subOccurrence::isSubassembly, {}, Use::get, "Subassembly", false, "VARIANT_BOOL"},
    {ids::subOccurrence::subOccurrences, {}, Use::get, "SubOccurrences", false, "SubOccurrences*"},
    {ids::subOccurrence::fileName, {}, Use::get, "SubOccurrenceFileName", false, "BSTR"},
    {ids::subOccurrence::displayColors,
     {},
     Use::query,
     "GetMaterial",
     true,
     "void",
     Params(materialArguments)},
}};
// "Models"(1): the collection's first item, through its default member.
const std::array<ToolMember, 1> partDocument{{
    {0, ids::occurrence::modelsName, Use::item, "Models", false, "Models*"},
}};
// What "Models" gives without an index; the tool reaches a model through its
// default member, Models(1).
const std::array<ToolMember, 1> models{{
    item("Model*", false),
}};
const std::array<ToolMember, 1> model{{
    {0, ids::occurrence::bodyName, Use::get, "Body", false, "Body*"},
}};
const std::array<ToolMember, 1> body{{
    {ids::body::faceStyle, {}, Use::get, "FaceStyle", false, "FaceStyle*"},
}};
const std::array<ToolMember, 3> faceStyle{{
    {ids::faceStyle::red, {}, Use::get, "DiffuseRed", false, "float"},
    {ids::faceStyle::green, {}, Use::get, "DiffuseGreen", false, "float"},
    {ids::faceStyle::blue, {}, Use::get, "DiffuseBlue", false, "float"},
}};
const std::array<ToolMember, 2> modelMembers{{
    count(ids::modelMembers::count),
    item("ModelMember*"),
}};
// The name (4) and the edge-styles flag (26) match no name Solid Edge
// publishes; the member's type (25) may be "Type" or "ComponentType".
const std::array<ToolMember, 7> modelMember{{
    {ids::modelMember::type, {}, Use::get, "ComponentType", false, "long"},
    {ids::modelMember::children, {}, Use::get, "ModelMembers", false, "ModelMembers*"},
    {ids::modelMember::name, {}, Use::get, {}, false, "BSTR"},
    {ids::modelMember::edgeStylesOverridden, {}, Use::get, {}, false, "VARIANT_BOOL"},
    {ids::modelMember::visibleEdgeStyle, {}, Use::getAndPut, "VisibleEdgeStyleName", false, "BSTR"},
    {ids::modelMember::hiddenEdgeStyle, {}, Use::getAndPut, "HiddenEdgeStyleName", false, "BSTR"},
    {ids::modelMember::tangentEdgeStyle, {}, Use::getAndPut, "TangentEdgeStyleName", false, "BSTR"},
}};
const std::array<ToolMember, 2> lineStyles{{
    item("LinearStyle*"),
    {ids::lineStyles::add, {}, Use::method, "Add", true, "LinearStyle*", Params(nameAndTemplate)},
}};
const std::array<ToolMember, 1> lineStyle{{
    {ids::lineStyle::color, {}, Use::getAndPut, "Color", false, "long"},
}};

const std::array<ObjectKind, 22> kinds{{
    {"application", "Application", ids::application::iid, application},
    {"draft", "DraftDocument", ids::draftDocument::iid, draft},
    {"sheet", "Sheet", ids::sheet::iid, sheet},
    {"drawing views", "DrawingViews", ids::drawingViews::iid, drawingViews},
    {"select set", "SelectSet", ids::selectSet::iid, selectSet},
    {"drawing view", "DrawingView", ids::drawingView::iid, drawingView},
    {"model link", "ModelLink", ids::modelReference::iid, modelLink},
    {"assembly", "AssemblyDocument", ids::assemblyDocument::iid, assembly},
    {"occurrences", "Occurrences", ids::occurrences::iid, occurrences},
    {"occurrence", "Occurrence", ids::occurrence::iid, occurrence},
    {"occurrence style", "FaceStyle", std::nullopt, occurrenceStyle},
    {"sub-occurrences", "SubOccurrences", ids::subOccurrences::iid, subOccurrences},
    {"sub-occurrence", "SubOccurrence", ids::subOccurrence::iid, subOccurrence},
    {"part document", "PartDocument", std::nullopt, partDocument},
    {"models", "Models", std::nullopt, models},
    {"model", "Model", std::nullopt, model},
    {"body", "Body", ids::body::iid, body},
    {"face style", "FaceStyle", ids::faceStyle::iid, faceStyle},
    {"model members", "ModelMembers", ids::modelMembers::iid, modelMembers},
    {"model member", "ModelMember", ids::modelMember::iid, modelMember},
    {"line styles", "LinearStyles", ids::lineStyles::iid, lineStyles},
    {"line style", "LinearStyle", ids::lineStyle::iid, lineStyle},
}};

}  // namespace

std::span<const ObjectKind> objectKinds() {
    return kinds;
}

const ObjectKind* kindNamed(std::string_view kind) {
    for (const ObjectKind& candidate : kinds) {
        if (candidate.kind == kind) {
            return &candidate;
        }
    }
    return nullptr;
}

}  // namespace tav::hosttypes
