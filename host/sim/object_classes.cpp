#include "host/sim/object_classes.h"

#include <array>

#include "host/sim/member_names.h"

namespace tav::sim {
namespace {

namespace ids = host::dispatch;
using Names = std::u16string_view;

constexpr std::array<Names, 0> none{};
constexpr std::array<Names, 3> applicationNames{
    names::application::documents, names::application::displayAlerts, names::application::doIdle};
constexpr std::array<Names, 3> documentsNames{names::collection::count, names::collection::item,
                                              names::documents::open};
// Every document answers for its file; a draft also for its select set (first,
// as it always had) and its sheets.
constexpr std::array<Names, 7> draftNames{ids::draftDocument::selectSetName,
                                          names::document::fullName,
                                          names::document::readOnly,
                                          names::document::save,
                                          names::document::close,
                                          names::draft::sections,
                                          names::draft::sheets};
constexpr std::array<Names, 4> assemblyNames{names::document::fullName, names::document::readOnly,
                                             names::document::save, names::document::close};
constexpr std::array<Names, 5> partNames{ids::occurrence::modelsName, names::document::fullName,
                                         names::document::readOnly, names::document::save,
                                         names::document::close};
constexpr std::array<Names, 2> sectionsNames{names::sections::workingSection,
                                             names::sections::backgroundSection};
constexpr std::array<Names, 1> sectionNames{names::section::sheets};
constexpr std::array<Names, 2> sheetsNames{names::collection::count, names::collection::item};
constexpr std::array<Names, 2> sheetNames{names::sheet::name, names::sheet::drawingViews};
constexpr std::array<Names, 2> lineStyleNames{names::lineStyle::name, names::lineStyle::parent};
// "Count" after "Remove", so that "Remove" keeps the id it had.
constexpr std::array<Names, 2> lineStylesNames{names::lineStyles::remove, names::collection::count};
constexpr std::array<Names, 1> bodyName{ids::occurrence::bodyName};
constexpr std::array<Names, 2> selectedObjectNames{ids::selectSet::typeName,
                                                   ids::selectSet::drawingViewTypeName};
constexpr std::array<Names, 3> drawingViewNames{ids::selectSet::drawingViewTypeName,
                                                ids::selectSet::typeName, names::drawingView::name};
constexpr std::array<Names, 3> styleNames{ids::occurrence::diffuseBlueName,
                                          ids::occurrence::diffuseGreenName,
                                          ids::occurrence::diffuseRedName};

}  // namespace

namespace classes {
namespace {

using Member = ObjectMember;
constexpr host::DispId item = ids::defaultMember;

const std::array<Member, 2> applicationMembers{
    {{ids::application::activeDocument, nullptr},
     {0, &documents, false, names::application::documents}}};
// Any kind of document: the tool casts what it gets.
const std::array<Member, 2> documentsMembers{{{0, nullptr, false, names::collection::item, 1},
                                              {0, nullptr, true, names::documents::open, 1}}};
const std::array<Member, 6> draftMembers{{{ids::draftDocument::activeSheet, &sheet},
                                          {ids::draftDocument::selectSet, &selectSet},
                                          {ids::draftDocument::lineStyles, &lineStyles},
                                          {0, &selectSet, false, ids::draftDocument::selectSetName},
                                          {0, &sections, false, names::draft::sections},
                                          {0, &sheets, false, names::draft::sheets}}};
const std::array<Member, 2> sectionsMembers{
    {{0, &section, false, names::sections::workingSection},
     {0, &section, false, names::sections::backgroundSection}}};
const std::array<Member, 1> sectionMembers{{{0, &sectionSheets, false, names::section::sheets}}};
const std::array<Member, 1> sheetsMembers{{{0, &sheet, false, names::collection::item, 1}}};
const std::array<Member, 2> sheetMembers{{{ids::sheet::drawingViews, &drawingViews},
                                          {0, &drawingViews, false, names::sheet::drawingViews}}};
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

const ObjectClass application{u"Application", ids::application::iid, applicationNames,
                              applicationMembers};
const ObjectClass documents{u"Documents", std::nullopt, documentsNames, documentsMembers};
const ObjectClass draftDocument{u"DraftDocument", ids::draftDocument::iid, draftNames,
                                draftMembers};
const ObjectClass assemblyDocument{u"AssemblyDocument", ids::assemblyDocument::iid, assemblyNames,
                                   assemblyMembers};
const ObjectClass partDocument{u"PartDocument", std::nullopt, partNames, partDocumentMembers};
const ObjectClass sections{u"Sections", std::nullopt, sectionsNames, sectionsMembers};
const ObjectClass section{u"Section", std::nullopt, sectionNames, sectionMembers};
const ObjectClass sectionSheets{u"SectionSheets", std::nullopt, sheetsNames, sheetsMembers};
const ObjectClass sheets{u"Sheets", std::nullopt, sheetsNames, sheetsMembers};
const ObjectClass sheet{u"Sheet", ids::sheet::iid, sheetNames, sheetMembers};
const ObjectClass drawingViews{u"DrawingViews", ids::drawingViews::iid, none, drawingViewsMembers};
const ObjectClass selectSet{u"SelectSet", ids::selectSet::iid, none, selectSetMembers};
const ObjectClass selectedObject{u"SelectedObject", std::nullopt, selectedObjectNames, noMembers};
const ObjectClass drawingView{u"DrawingView", ids::drawingView::iid, drawingViewNames,
                              drawingViewMembers};
const ObjectClass modelReference{u"ModelReference", ids::modelReference::iid, none,
                                 modelReferenceMembers};
const ObjectClass modelMembers{u"ModelMembers", ids::modelMembers::iid, none, modelMembersMembers};
const ObjectClass modelMember{u"ModelMember", ids::modelMember::iid, none, modelMemberMembers};
const ObjectClass lineStyles{u"LineStyles", ids::lineStyles::iid, lineStylesNames,
                             lineStylesMembers};
const ObjectClass lineStyle{u"LineStyle", ids::lineStyle::iid, lineStyleNames, noMembers};
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
    // New classes come after the first ones, so that those keep their
    // positions (and the ids of the server's own types that follow them).
    static const std::array<const ObjectClass*, 27> all{
        &classes::application,    &classes::draftDocument,   &classes::assemblyDocument,
        &classes::partDocument,   &classes::sheet,           &classes::drawingViews,
        &classes::selectSet,      &classes::selectedObject,  &classes::drawingView,
        &classes::modelReference, &classes::modelMembers,    &classes::modelMember,
        &classes::lineStyles,     &classes::lineStyle,       &classes::occurrences,
        &classes::occurrence,     &classes::occurrenceStyle, &classes::model,
        &classes::body,           &classes::faceStyle,       &classes::subOccurrences,
        &classes::subOccurrence,  &classes::documents,       &classes::sections,
        &classes::section,        &classes::sectionSheets,   &classes::sheets,
    };
    return all;
}

}  // namespace tav::sim
