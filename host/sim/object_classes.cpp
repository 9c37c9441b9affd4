#include "host/sim/object_classes.h"

#include <array>

namespace tav::sim {
namespace {

namespace ids = host::dispatch;
using Names = std::u16string_view;

constexpr std::array<Names, 0> none{};
constexpr std::array<Names, 1> selectSetName{ids::draftDocument::selectSetName};
constexpr std::array<Names, 1> modelsName{ids::occurrence::modelsName};
constexpr std::array<Names, 1> bodyName{ids::occurrence::bodyName};
constexpr std::array<Names, 2> selectedObjectNames{ids::selectSet::typeName,
                                                   ids::selectSet::drawingViewTypeName};
constexpr std::array<Names, 2> drawingViewNames{ids::selectSet::drawingViewTypeName,
                                                ids::selectSet::typeName};
constexpr std::array<Names, 3> styleNames{ids::occurrence::diffuseBlueName,
                                          ids::occurrence::diffuseGreenName,
                                          ids::occurrence::diffuseRedName};

}  // namespace

namespace classes {
const ObjectClass application{u"Application", ids::application::iid, none};
const ObjectClass draftDocument{u"DraftDocument", ids::draftDocument::iid, selectSetName};
const ObjectClass assemblyDocument{u"AssemblyDocument", ids::assemblyDocument::iid, none};
const ObjectClass partDocument{u"PartDocument", std::nullopt, modelsName};
const ObjectClass sheet{u"Sheet", ids::sheet::iid, none};
const ObjectClass drawingViews{u"DrawingViews", ids::drawingViews::iid, none};
const ObjectClass selectSet{u"SelectSet", ids::selectSet::iid, none};
const ObjectClass selectedObject{u"SelectedObject", std::nullopt, selectedObjectNames};
const ObjectClass drawingView{u"DrawingView", ids::drawingView::iid, drawingViewNames};
const ObjectClass modelReference{u"ModelReference", ids::modelReference::iid, none};
const ObjectClass modelMembers{u"ModelMembers", ids::modelMembers::iid, none};
const ObjectClass modelMember{u"ModelMember", ids::modelMember::iid, none};
const ObjectClass lineStyles{u"LineStyles", ids::lineStyles::iid, none};
const ObjectClass lineStyle{u"LineStyle", ids::lineStyle::iid, none};
const ObjectClass occurrences{u"Occurrences", ids::occurrences::iid, none};
const ObjectClass occurrence{u"Occurrence", ids::occurrence::iid, none};
const ObjectClass occurrenceStyle{u"OccurrenceStyle", std::nullopt, styleNames};
const ObjectClass model{u"Model", std::nullopt, bodyName};
const ObjectClass body{u"Body", ids::body::iid, none};
const ObjectClass faceStyle{u"FaceStyle", ids::faceStyle::iid, none};
const ObjectClass subOccurrences{u"SubOccurrences", ids::subOccurrences::iid, none};
const ObjectClass subOccurrence{u"SubOccurrence", ids::subOccurrence::iid, none};
}  // namespace classes

std::span<const ObjectClass* const> allClasses() {
    static const std::array<const ObjectClass*, 22> all{
        &classes::application,    &classes::draftDocument,   &classes::assemblyDocument,
        &classes::partDocument,   &classes::sheet,           &classes::drawingViews,
        &classes::selectSet,      &classes::selectedObject,  &classes::drawingView,
        &classes::modelReference, &classes::modelMembers,    &classes::modelMember,
        &classes::lineStyles,     &classes::lineStyle,       &classes::occurrences,
        &classes::occurrence,     &classes::occurrenceStyle, &classes::model,
        &classes::body,           &classes::faceStyle,       &classes::subOccurrences,
        &classes::subOccurrence,
    };
    return all;
}

}  // namespace tav::sim
