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
namespace {

using Member = ObjectMember;
constexpr host::DispId item = ids::defaultMember;

const std::array<Member, 1> applicationMembers{{{ids::application::activeDocument, nullptr}}};
const std::array<Member, 4> draftMembers{
    {{ids::draftDocument::activeSheet, &sheet},
     {ids::draftDocument::selectSet, &selectSet},
     {ids::draftDocument::lineStyles, &lineStyles},
     {0, &selectSet, false, ids::draftDocument::selectSetName}}};
const std::array<Member, 1> sheetMembers{{{ids::sheet::drawingViews, &drawingViews}}};
const std::array<Member, 1> drawingViewsMembers{{{item, &drawingView}}};
const std::array<Member, 1> selectSetMembers{{{item, nullptr}}};
const std::array<Member, 2> drawingViewMembers{{{ids::drawingView::modelReference, &modelReference},
                                                {ids::drawingView::modelMembers, &modelMembers}}};
const std::array<Member, 1> modelReferenceMembers{{{ids::modelReference::modelDocument, nullptr}}};
const std::array<Member, 1> modelMembersMembers{{{item, &modelMember}}};
const std::array<Member, 1> modelMemberMembers{{{ids::modelMember::children, &modelMembers}}};
const std::array<Member, 2> lineStylesMembers{
    {{item, &lineStyle}, {ids::lineStyles::add, &lineStyle, true}}};
const std::array<Member, 1> assemblyMembers{{{ids::assemblyDocument::occurrences, &occurrences}}};
const std::array<Member, 1> occurrencesMembers{{{item, &occurrence}}};
const std::array<Member, 3> occurrenceMembers{{{ids::occurrence::subOccurrences, &subOccurrences},
                                               {ids::occurrence::style, &occurrenceStyle},
                                               {ids::occurrence::partDocument, &partDocument}}};
const std::array<Member, 1> bodyMembers{{{ids::body::faceStyle, &faceStyle}}};
const std::array<Member, 1> subOccurrencesMembers{{{item, &subOccurrence}}};
const std::array<Member, 1> subOccurrenceMembers{
    {{ids::subOccurrence::subOccurrences, &subOccurrences}}};
const std::array<Member, 1> partDocumentMembers{{{0, &model, false, ids::occurrence::modelsName}}};
const std::array<Member, 1> modelMembersByName{{{0, &body, false, ids::occurrence::bodyName}}};
constexpr std::array<Member, 0> noMembers{};

}  // namespace

const ObjectClass application{u"Application", ids::application::iid, none, applicationMembers};
const ObjectClass draftDocument{u"DraftDocument", ids::draftDocument::iid, selectSetName,
                                draftMembers};
const ObjectClass assemblyDocument{u"AssemblyDocument", ids::assemblyDocument::iid, none,
                                   assemblyMembers};
const ObjectClass partDocument{u"PartDocument", std::nullopt, modelsName, partDocumentMembers};
const ObjectClass sheet{u"Sheet", ids::sheet::iid, none, sheetMembers};
const ObjectClass drawingViews{u"DrawingViews", ids::drawingViews::iid, none, drawingViewsMembers};
const ObjectClass selectSet{u"SelectSet", ids::selectSet::iid, none, selectSetMembers};
const ObjectClass selectedObject{u"SelectedObject", std::nullopt, selectedObjectNames, noMembers};
const ObjectClass drawingView{u"DrawingView", ids::drawingView::iid, drawingViewNames,
                              drawingViewMembers};
const ObjectClass modelReference{u"ModelReference", ids::modelReference::iid, none,
                                 modelReferenceMembers};
const ObjectClass modelMembers{u"ModelMembers", ids::modelMembers::iid, none, modelMembersMembers};
const ObjectClass modelMember{u"ModelMember", ids::modelMember::iid, none, modelMemberMembers};
const ObjectClass lineStyles{u"LineStyles", ids::lineStyles::iid, none, lineStylesMembers};
const ObjectClass lineStyle{u"LineStyle", ids::lineStyle::iid, none, noMembers};
const ObjectClass occurrences{u"Occurrences", ids::occurrences::iid, none, occurrencesMembers};
const ObjectClass occurrence{u"Occurrence", ids::occurrence::iid, none, occurrenceMembers};
const ObjectClass occurrenceStyle{u"OccurrenceStyle", std::nullopt, styleNames, noMembers};
const ObjectClass model{u"Model", std::nullopt, bodyName, modelMembersByName};
const ObjectClass body{u"Body", ids::body::iid, none, bodyMembers};
const ObjectClass faceStyle{u"FaceStyle", ids::faceStyle::iid, none, noMembers};
const ObjectClass subOccurrences{u"SubOccurrences", ids::subOccurrences::iid, none,
                                 subOccurrencesMembers};
const ObjectClass subOccurrence{u"SubOccurrence", ids::subOccurrence::iid, none,
                                subOccurrenceMembers};
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
