// How the simulated host describes itself over COM. A client meets these
// libraries through GetIDsOfNames, Invoke and its type information: a wrong
// id here would have the server call another member than the in-process host
// does, and every result over COM would differ.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/sim/served_library.h"
#include "host/types/guid_text.h"

namespace tav::sim {
namespace {

namespace ids = host::dispatch;
using hosttypes::DeclaredFunction;
using hosttypes::parseDeclaredType;

ComStrictness withLibrary(ComStrictness::TypeLibrary library) {
    ComStrictness strictness;
    strictness.typeLibrary = library;
    return strictness;
}

const ServedType& typeOf(const ServedLibrary& library, const ObjectClass& objectClass) {
    return library.types[*library.servedClass(objectClass).type];
}

const DeclaredFunction* declared(const ServedType& type, host::DispId id) {
    for (const DeclaredFunction& function : type.functions) {
        if (function.id == id) {
            return &function;
        }
    }
    return nullptr;
}

// The member an Invoke of the id a name gives calls on the simulated host.
std::optional<host::MemberName> byName(const ServedLibrary& library, const ObjectClass& objectClass,
                                       std::u16string_view name) {
    const std::optional<host::DispId> id = library.idOf(objectClass, name);
    if (!id) {
        return std::nullopt;
    }
    return library.memberOf(objectClass, *id);
}

TEST(SmallLibrary, SharedNamesAnswerOnlyOnTheirOwnClass) {
    const ServedLibrary library = servedLibrary(ComStrictness{});
    ASSERT_TRUE(library.idOf(classes::occurrence, u"Type"));
    EXPECT_FALSE(byName(library, classes::occurrence, u"Type"));
    EXPECT_EQ(byName(library, classes::drawingView, u"type")->name, u"Type");
    EXPECT_FALSE(library.idOf(classes::occurrence, u"Version"));
    // A plain dispatch id reaches the simulated host whatever it is.
    EXPECT_EQ(library.memberOf(classes::drawingView, 27)->id, 27);
    EXPECT_EQ(library.memberOf(classes::drawingView, 999)->id, 999);
}

TEST(SmallLibrary, PerInterfaceNamesSwapBetweenViewsAndOtherSelectedObjects) {
    ComStrictness strictness;
    strictness.names = ComStrictness::Names::perInterface;
    const ServedLibrary library = servedLibrary(strictness);
    EXPECT_EQ(library.idOf(classes::drawingView, u"Type"),
              library.idOf(classes::selectedObject, u"DrawingViewType"));
    EXPECT_EQ(
        library.memberOf(classes::drawingView, *library.idOf(classes::drawingView, u"Type"))->name,
        u"Type");
}

TEST(SmallLibrary, DeclaresWhatTheTablesMembersReturn) {
    const ServedLibrary library = servedLibrary(ComStrictness{});
    const ServedType& draft = typeOf(library, classes::draftDocument);
    EXPECT_EQ(draft.guid, ids::draftDocument::iid);
    EXPECT_EQ(hosttypes::textOf(declared(draft, ids::draftDocument::activeSheet)->returns),
              "Sheet*");
    // Models(1) gives a model: the index is declared.
    const ServedType& part = typeOf(library, classes::partDocument);
    const DeclaredFunction* models =
        declared(part, *library.idOf(classes::partDocument, u"Models"));
    ASSERT_NE(models, nullptr);
    EXPECT_EQ(models->parameters.size(), 1u);
    EXPECT_EQ(hosttypes::textOf(models->returns), "Model*");
    // No colour query unless the host insists on its declared forms.
    EXPECT_EQ(declared(typeOf(library, classes::subOccurrence), ids::subOccurrence::displayColors),
              nullptr);
    EXPECT_TRUE(library.servedClass(classes::subOccurrence).colorQueryForms.empty());
}

TEST(Libraries, SeparateClassIdsGiveTheDocumentsInterfacesOfTheirOwn) {
    for (auto size : {ComStrictness::TypeLibrary::small, ComStrictness::TypeLibrary::solidEdge}) {
        ComStrictness strictness = withLibrary(size);
        strictness.classIds = ComStrictness::ClassIds::separate;
        const ServedLibrary library = servedLibrary(strictness);
        for (const ObjectClass* objectClass :
             {&classes::application, &classes::draftDocument, &classes::assemblyDocument}) {
            const ServedType& type = typeOf(library, *objectClass);
            EXPECT_NE(type.guid, *objectClass->iid) << hosttypes::guidText(type.guid);
            EXPECT_EQ(type.name, objectClass->name);
            EXPECT_FALSE(library.servedClass(*objectClass).answersTableId);
        }
        EXPECT_TRUE(library.servedClass(classes::sheet).answersTableId);
        EXPECT_EQ(typeOf(library, classes::sheet).guid, ids::sheet::iid);
    }
}

TEST(Libraries, ACautiousColorQueryDeclaresSixVariantsByReference) {
    for (auto size : {ComStrictness::TypeLibrary::small, ComStrictness::TypeLibrary::solidEdge}) {
        ComStrictness strictness = withLibrary(size);
        strictness.byRef = ComStrictness::ByRef::declared;
        strictness.arrays = ComStrictness::Arrays::r4;
        const ServedLibrary library = servedLibrary(strictness);
        const DeclaredFunction* query =
            declared(typeOf(library, classes::subOccurrence), ids::subOccurrence::displayColors);
        ASSERT_NE(query, nullptr);
        ASSERT_EQ(query->parameters.size(), 6u);
        for (const auto& parameter : query->parameters) {
            EXPECT_EQ(hosttypes::textOf(parameter), "VARIANT*");
        }
        const std::vector<std::vector<hosttypes::DeclaredType>> onlyAsDeclared{query->parameters};
        EXPECT_EQ(library.servedClass(classes::subOccurrence).colorQueryForms, onlyAsDeclared);
        EXPECT_EQ(library.arrayElement, hosttypes::vt::float32);
    }
}

TEST(SolidEdgeSizedLibrary, DeclaresAsManyFunctionsAsSolidEdge) {
    const ServedLibrary library = servedLibrary(withLibrary(ComStrictness::TypeLibrary::solidEdge));
    // Methods and properties of Solid Edge 2026 (the type library adds the
    // seven of IUnknown and IDispatch, which every dispatch interface inherits).
    EXPECT_EQ(typeOf(library, classes::application).functions.size(), 81u + 76);
    EXPECT_EQ(typeOf(library, classes::drawingView).functions.size(), 59u + 155);
    EXPECT_EQ(typeOf(library, classes::assemblyDocument).functions.size(), 98u + 122);
    EXPECT_EQ(typeOf(library, classes::modelReference).functions.size(), 7u + 14);
    // Every function once, by id and by name.
    for (const ServedType& type : library.types) {
        std::vector<host::DispId> functionIds;
        std::vector<std::string> names;
        for (const DeclaredFunction& function : type.functions) {
            functionIds.push_back(function.id);
            names.push_back(function.name);
        }
        std::sort(functionIds.begin(), functionIds.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::adjacent_find(functionIds.begin(), functionIds.end()), functionIds.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    }
}

TEST(SolidEdgeSizedLibrary, KeepsTheTablesIdsAndServesTheToolsNames) {
    const ServedLibrary library = servedLibrary(withLibrary(ComStrictness::TypeLibrary::solidEdge));
    const ServedType& view = typeOf(library, classes::drawingView);
    EXPECT_EQ(declared(view, ids::drawingView::modelReference)->name, "ModelLink");
    EXPECT_EQ(hosttypes::textOf(declared(view, ids::drawingView::modelReference)->returns),
              "ModelLink*");
    EXPECT_EQ(byName(library, classes::drawingView, u"DrawingViewType")->name, u"DrawingViewType");
    // A name of Solid Edge's that the simulated host has no member for.
    const std::optional<host::DispId> caption = library.idOf(classes::drawingView, u"Caption");
    ASSERT_TRUE(caption);
    EXPECT_FALSE(library.memberOf(classes::drawingView, *caption));
    // "body", as the tool spells it, is Solid Edge's "Body".
    EXPECT_EQ(byName(library, classes::model, u"body")->name, u"body");
}

TEST(SolidEdgeSizedLibrary, OneFaceStyleServesBothWaysOfReadingAColour) {
    const ServedLibrary library = servedLibrary(withLibrary(ComStrictness::TypeLibrary::solidEdge));
    EXPECT_EQ(library.servedClass(classes::occurrenceStyle).type,
              library.servedClass(classes::faceStyle).type);
    // The occurrence's style is read by name, the body's face style by id:
    // one id, two members of the simulated host.
    EXPECT_EQ(library.idOf(classes::occurrenceStyle, u"DiffuseRed"), ids::faceStyle::red);
    EXPECT_EQ(byName(library, classes::occurrenceStyle, u"DiffuseRed")->name, u"DiffuseRed");
    EXPECT_EQ(library.memberOf(classes::faceStyle, ids::faceStyle::red)->id, ids::faceStyle::red);
    EXPECT_FALSE(library.memberOf(classes::faceStyle, ids::faceStyle::red)->byName());
}

TEST(SolidEdgeSizedLibrary, ModelsIsACollectionWhoseItemIsAModel) {
    const ServedLibrary library = servedLibrary(withLibrary(ComStrictness::TypeLibrary::solidEdge));
    const ServedType& part = typeOf(library, classes::partDocument);
    const DeclaredFunction* models =
        declared(part, *library.idOf(classes::partDocument, u"Models"));
    ASSERT_NE(models, nullptr);
    EXPECT_TRUE(models->parameters.empty());
    EXPECT_EQ(hosttypes::textOf(models->returns), "Models*");
    const auto collection = std::find_if(library.types.begin(), library.types.end(),
                                         [](const ServedType& t) { return t.name == u"Models"; });
    ASSERT_NE(collection, library.types.end());
    EXPECT_EQ(hosttypes::textOf(declared(*collection, ids::defaultMember)->returns), "Model*");
}

hosttypes::ProbeReport separateIdsAndSingleArrays() {
    using namespace hosttypes;
    ProbeReport report;
    ReportedKind application;
    application.kind = "application";
    application.met = true;
    application.typeInfo = TypeAttributes{
        "Application", "{11111111-2222-3333-4444-555555555555}", "dispatch", 200, 0, 1};
    application.castIid = guidText(ids::application::iid);
    application.castAnswer = "E_NOINTERFACE";
    report.kinds.push_back(application);
    ReportedKind subOccurrence;
    subOccurrence.kind = "sub-occurrence";
    subOccurrence.met = true;
    subOccurrence.typeInfo = TypeAttributes{
        "SubOccurrence", "{C32A477B-8C85-11D3-9737-0060973828B5}", "dispatch", 80, 0, 1};
    ReportedMember query;
    query.id = ids::subOccurrence::displayColors;
    query.use = "query";
    DeclaredFunction getMaterial;
    getMaterial.id = ids::subOccurrence::displayColors;
    getMaterial.name = "GetMaterial";
    getMaterial.kind = InvokeKind::method;
    getMaterial.parameters.assign(4, *parseDeclaredType("SAFEARRAY(float)*"));
    getMaterial.parameters.push_back(*parseDeclaredType("float*"));
    getMaterial.parameters.push_back(*parseDeclaredType("float*"));
    getMaterial.returns = *parseDeclaredType("void");
    query.declared.push_back(getMaterial);
    query.idOfName = ids::subOccurrence::displayColors;
    query.returned = "not called";
    subOccurrence.members.push_back(query);
    ReportedMember late;
    late.name = "Type";
    report.kinds.push_back(subOccurrence);
    ReportedKind view;
    view.kind = "drawing view";
    view.met = true;
    view.typeInfoProblem = "0x80004001";
    late.use = "get";
    late.idOfName = 77;
    late.returned = "VT_I4";
    view.members.push_back(late);
    report.kinds.push_back(view);
    report.colorQuery.push_back(
        {"SAFEARRAY(float)*,SAFEARRAY(float)*,SAFEARRAY(float)*,"
         "SAFEARRAY(float)*,float*,float*",
         "S_OK", "VT_ARRAY|VT_R4", 1, 3});
    report.colorQuery.push_back(
        {"VARIANT*,VARIANT*,VARIANT*,VARIANT*,VARIANT*,VARIANT*", "0x80020005", "", {}, {}});
    return report;
}

TEST(ReportedLibrary, ServesWhatTheReportDescribes) {
    const ServedLibrary library = reportedLibrary(ComStrictness{}, separateIdsAndSingleArrays());
    const ServedType& application = typeOf(library, classes::application);
    EXPECT_EQ(hosttypes::guidText(application.guid), "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(application.functions.size(), 200u - 7) << "IUnknown's and IDispatch's are inherited";
    EXPECT_FALSE(library.servedClass(classes::application).answersTableId);

    const ServedClass& subOccurrence = library.servedClass(classes::subOccurrence);
    ASSERT_EQ(subOccurrence.colorQueryForms.size(), 1u);
    EXPECT_EQ(hosttypes::textOf(subOccurrence.colorQueryForms.front().front()),
              "SAFEARRAY(float)*");
    EXPECT_EQ(library.arrayElement, hosttypes::vt::float32);
    EXPECT_EQ(library.memberOf(classes::subOccurrence, ids::subOccurrence::displayColors)->id,
              ids::subOccurrence::displayColors);

    // A kind met without type information: none is given, names still are.
    const ServedClass& view = library.servedClass(classes::drawingView);
    EXPECT_FALSE(view.type);
    EXPECT_EQ(view.typeInfoFailure, static_cast<std::int32_t>(0x80004001));
    EXPECT_EQ(byName(library, classes::drawingView, u"Type")->name, u"Type");

    // Kinds the report does not describe keep the small library's types.
    EXPECT_EQ(typeOf(library, classes::sheet).guid, ids::sheet::iid);
    EXPECT_TRUE(library.servedClass(classes::sheet).answersTableId);
}

TEST(ReportedLibrary, RefusesATypeIdThatIsNone) {
    hosttypes::ProbeReport report = separateIdsAndSingleArrays();
    report.kinds[0].typeInfo->guid = "Application";
    EXPECT_THROW(reportedLibrary(ComStrictness{}, report), std::runtime_error);
}

}  // namespace
}  // namespace tav::sim

namespace tav::sim {
namespace {

// Every member called by name on documents, sheets, views and line styles
// reaches the simulated host by that name, in each library and numbering.
TEST(DocumentMembers, EveryLibraryServesTheNewNamesOnTheirOwnClasses) {
    const std::pair<const ObjectClass*, std::u16string_view> served[] = {
        {&classes::application, u"Documents"},
        {&classes::application, u"DisplayAlerts"},
        {&classes::application, u"DoIdle"},
        {&classes::documents, u"Open"},
        {&classes::documents, u"Item"},
        {&classes::documents, u"Count"},
        {&classes::draftDocument, u"FullName"},
        {&classes::draftDocument, u"Close"},
        {&classes::draftDocument, u"Sections"},
        {&classes::draftDocument, u"Sheets"},
        {&classes::assemblyDocument, u"Save"},
        {&classes::partDocument, u"ReadOnly"},
        {&classes::sections, u"WorkingSection"},
        {&classes::section, u"Sheets"},
        {&classes::sectionSheets, u"Item"},
        {&classes::sheets, u"Count"},
        {&classes::sheet, u"Name"},
        {&classes::drawingView, u"Name"},
        {&classes::lineStyle, u"Parent"},
        {&classes::lineStyles, u"Remove"},
    };
    for (const auto names : {ComStrictness::Names::shared, ComStrictness::Names::perInterface}) {
        for (const auto size :
             {ComStrictness::TypeLibrary::small, ComStrictness::TypeLibrary::solidEdge}) {
            ComStrictness strictness;
            strictness.names = names;
            strictness.typeLibrary = size;
            const ServedLibrary library = servedLibrary(strictness);
            for (const auto& [objectClass, name] : served) {
                const std::optional<host::MemberName> member = byName(library, *objectClass, name);
                ASSERT_TRUE(member) << "no " << std::string(name.begin(), name.end());
                EXPECT_EQ(member->name, name);
            }
            // A sheet's "DrawingViews" is the table's dispatch 20481 where the
            // library declares it under that name, else the name itself.
            const std::optional<host::MemberName> views =
                byName(library, classes::sheet, u"DrawingViews");
            ASSERT_TRUE(views);
            EXPECT_TRUE(views->name == u"DrawingViews" || views->id == ids::sheet::drawingViews);
            EXPECT_FALSE(byName(library, classes::occurrence, u"Open"));
        }
    }
    // A replayed report describes the window's members only: the others
    // still reach the simulated host by name.
    const ServedLibrary replayed = reportedLibrary(ComStrictness{}, separateIdsAndSingleArrays());
    for (const auto& [objectClass, name] : served) {
        const std::optional<host::MemberName> member = byName(replayed, *objectClass, name);
        ASSERT_TRUE(member) << "no " << std::string(name.begin(), name.end());
        EXPECT_EQ(member->name, name);
    }
    const ServedLibrary sized = servedLibrary(withLibrary(ComStrictness::TypeLibrary::solidEdge));
    EXPECT_EQ(typeOf(sized, classes::documents).name, u"Documents");
    EXPECT_EQ(typeOf(sized, classes::documents).functions.size(), 9u + 6);
    EXPECT_EQ(typeOf(sized, classes::sheet).functions.size(), 23u + 63);
    EXPECT_EQ(typeOf(sized, classes::lineStyle).functions.size(), 2u + 10);
}

}  // namespace
}  // namespace tav::sim
