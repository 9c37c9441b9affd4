#include "probe/walk.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <array>
#include <chrono>
#include <map>
#include <optional>
#include <vector>

#include "host/com/bstr.h"
#include "host/com/com_connector.h"
#include "host/com/guid.h"
#include "host/com/safe_array.h"
#include "host/com/variant_value.h"
#include "host/error.h"
#include "host/types/guid_text.h"
#include "host/types/object_kinds.h"
#include "platform/win/wide_text.h"
#include "probe/raw_calls.h"
#include "probe/type_reader.h"

namespace tav::probe {
namespace {

namespace ids = host::dispatch;
namespace vt = hosttypes::vt;
using hosttypes::DeclaredType;
using hosttypes::ObjectKind;
using hosttypes::ReportedKind;
using hosttypes::ReportedMember;
using hosttypes::ToolMember;
using hosttypes::Use;
using Microsoft::WRL::ComPtr;

constexpr int roundTripCalls = 100;
// How far the walk looks for objects of every kind: enough for any drawing
// that has them, short enough for a large one.
constexpr short mostItemsLooked = 200;
constexpr int deepestSubassembly = 8;

std::string narrow(std::u16string_view text) {
    return platform::utf8Text(std::wstring(text.begin(), text.end()));
}

std::string useText(Use use) {
    switch (use) {
        case Use::get:
            return "get";
        case Use::put:
            return "put";
        case Use::getAndPut:
            return "getAndPut";
        case Use::method:
            return "method";
        case Use::query:
            return "query";
        case Use::item:
            return "item";
    }
    return "get";
}

// What a read gave back: the VARIANT type, or how the read failed.
std::string returnedText(const RawAnswer& answer) {
    if (FAILED(answer.hr)) {
        return std::string("failed ") + hosttypes::answerText(answer.hr);
    }
    return hosttypes::variantTypeText(answer.value.get().vt);
}

// The forms the colour query's arguments are tried in: as declared, as the
// tool passed them before it read declarations, and all as VARIANT*.
std::vector<std::vector<DeclaredType>> colorQueryForms(
    const std::vector<hosttypes::DeclaredFunction>& declared) {
    std::vector<std::vector<DeclaredType>> forms;
    for (const hosttypes::DeclaredFunction& function : declared) {
        if (function.kind == hosttypes::InvokeKind::method &&
            function.parameters.size() == hosttypes::colorQueryArguments) {
            forms.push_back(function.parameters);
        }
    }
    std::vector<DeclaredType> asBefore(hosttypes::colorQueryArrays,
                                       hosttypes::declaredArray(vt::float64));
    asBefore.resize(hosttypes::colorQueryArguments, hosttypes::declaredBase(vt::float64, 1));
    const std::vector<DeclaredType> asVariants(hosttypes::colorQueryArguments,
                                               hosttypes::declaredBase(vt::variant, 1));
    for (const auto& form : {asBefore, asVariants}) {
        bool known = false;
        for (const auto& tried : forms) {
            known = known || tried == form;
        }
        if (!known) {
            forms.push_back(form);
        }
    }
    return forms;
}

class Walk {
  public:
    Walk(com::CallWatch& calls, hosttypes::ProbeReport& report) : calls_(calls), report_(report) {
        for (const ObjectKind& kind : hosttypes::objectKinds()) {
            ReportedKind reported;
            reported.kind = std::string(kind.kind);
            report_.kinds.push_back(std::move(reported));
        }
    }

    void run() {
        const ComPtr<IDispatch> application = attach();
        if (!application) {
            return;
        }
        timeRoundTrips(application.Get());
        readVersion(application.Get());
        record("application", application.Get());

        const ComPtr<IDispatch> document =
            objectRead(application.Get(), ids::application::activeDocument, "application");
        if (!document) {
            problem("application: no active document");
            return;
        }
        if (!isOfKind(document.Get(), ids::draftDocument::iid,
                      hosttypes::kindNamed("draft")->interfaceName)) {
            problem("the active document is not a Draft; open a Draft of an assembly");
            return;
        }
        record("draft", document.Get());
        walkDraft(document.Get());
    }

  private:
    ComPtr<IDispatch> attach() {
        CLSID clsid{};
        HRESULT hr = CLSIDFromProgID(L"SolidEdge.Application", &clsid);
        if (FAILED(hr)) {
            problem(std::string("Solid Edge is not registered on this computer (") +
                    hosttypes::answerText(hr) + ")");
            return nullptr;
        }
        report_.instancesRunning = instancesOf(clsid);
        ComPtr<IDispatch> application;
        hr = com::findRunning(calls_, clsid, application);
        if (FAILED(hr)) {
            problem(std::string("no running Solid Edge answers (") + hosttypes::answerText(hr) +
                    ")");
            return nullptr;
        }
        return application;
    }

    // The entries of the running-object table registered for the class, as
    // RegisterActiveObject names them ("!{class id}").
    static int instancesOf(const CLSID& clsid) {
        ComPtr<IRunningObjectTable> table;
        ComPtr<IEnumMoniker> entries;
        ComPtr<IBindCtx> context;
        if (FAILED(GetRunningObjectTable(0, table.GetAddressOf())) ||
            FAILED(table->EnumRunning(entries.GetAddressOf())) ||
            FAILED(CreateBindCtx(0, context.GetAddressOf()))) {
            return 0;
        }
        wchar_t classText[40] = {};
        StringFromGUID2(clsid, classText, 40);
        const std::wstring wanted = std::wstring(L"!") + classText;
        int found = 0;
        ComPtr<IMoniker> entry;
        while (entries->Next(1, entry.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            LPOLESTR name = nullptr;
            if (SUCCEEDED(entry->GetDisplayName(context.Get(), nullptr, &name)) &&
                name != nullptr) {
                found += CompareStringOrdinal(name, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL;
                CoTaskMemFree(name);
            }
        }
        return found;
    }

    void timeRoundTrips(IDispatch* application) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < roundTripCalls; ++i) {
            UINT count = 0;
            calls_.run([&] { return application->GetTypeInfoCount(&count); });
        }
        report_.roundTripCalls = roundTripCalls;
        report_.roundTripMilliseconds =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    void readVersion(IDispatch* application) {
        report_.solidEdgeVersion = "unknown";
        const NameAnswer version = idOfName(calls_, application, u"Version");
        if (FAILED(version.hr)) {
            return;
        }
        const RawAnswer answer = readMember(calls_, application, version.id);
        if (SUCCEEDED(answer.hr) && answer.value.get().vt == VT_BSTR) {
            const std::u16string text = com::textOf(answer.value.get().bstrVal);
            report_.solidEdgeVersion = narrow(text);
        }
    }

    void walkDraft(IDispatch* draft) {
        const ComPtr<IDispatch> sheet = objectRead(draft, ids::draftDocument::activeSheet, "draft");
        ComPtr<IDispatch> views;
        if (sheet) {
            record("sheet", sheet.Get());
            views = objectRead(sheet.Get(), ids::sheet::drawingViews, "sheet");
        }
        if (const ComPtr<IDispatch> selectSet =
                objectRead(draft, ids::draftDocument::selectSet, "draft")) {
            record("select set", selectSet.Get());
        }
        if (const ComPtr<IDispatch> lineStyles =
                objectRead(draft, ids::draftDocument::lineStyles, "draft")) {
            record("line styles", lineStyles.Get());
            if (const ComPtr<IDispatch> lineStyle = itemOf(lineStyles.Get(), 1, "line styles")) {
                record("line style", lineStyle.Get());
            }
        }
        if (!views) {
            return;
        }
        record("drawing views", views.Get());
        const short count = countOf(views.Get(), ids::drawingViews::count, "drawing views");
        for (short i = 1; i <= count && i <= mostItemsLooked && !allMet(); ++i) {
            const std::string where = std::string("drawing view ") + std::to_string(i);
            const ComPtr<IDispatch> view = itemOf(views.Get(), i, "drawing views");
            if (!view) {
                continue;
            }
            record("drawing view", view.Get());
            if (const ComPtr<IDispatch> members =
                    objectRead(view.Get(), ids::drawingView::modelMembers, where)) {
                record("model members", members.Get());
                if (const ComPtr<IDispatch> member = itemOf(members.Get(), 1, where)) {
                    record("model member", member.Get());
                }
            }
            const ComPtr<IDispatch> link =
                objectRead(view.Get(), ids::drawingView::modelReference, where);
            if (!link) {
                continue;
            }
            record("model link", link.Get());
            const ComPtr<IDispatch> model =
                objectRead(link.Get(), ids::modelReference::modelDocument, where);
            if (model && !met("assembly") &&
                isOfKind(model.Get(), ids::assemblyDocument::iid, "AssemblyDocument")) {
                record("assembly", model.Get());
                walkAssembly(model.Get());
            }
        }
    }

    void walkAssembly(IDispatch* assembly) {
        const ComPtr<IDispatch> occurrences =
            objectRead(assembly, ids::assemblyDocument::occurrences, "assembly");
        if (!occurrences) {
            return;
        }
        record("occurrences", occurrences.Get());
        const short count = countOf(occurrences.Get(), ids::occurrences::count, "occurrences");
        for (short i = 1; i <= count && i <= mostItemsLooked && !allMet(); ++i) {
            const std::string where = std::string("occurrence ") + std::to_string(i);
            const ComPtr<IDispatch> occurrence = itemOf(occurrences.Get(), i, "occurrences");
            if (!occurrence) {
                continue;
            }
            record("occurrence", occurrence.Get());
            if (truthOf(occurrence.Get(), ids::occurrence::isSubassembly)) {
                if (const ComPtr<IDispatch> children =
                        objectRead(occurrence.Get(), ids::occurrence::subOccurrences, where)) {
                    walkSubOccurrences(children.Get(), 1);
                }
                continue;
            }
            if (const ComPtr<IDispatch> style = objectIn(
                    readMember(calls_, occurrence.Get(), ids::occurrence::style).value.get())) {
                record("occurrence style", style.Get());
            }
            if (!met("face style")) {
                walkPartDocument(occurrence.Get(), where);
            }
        }
    }

    void walkPartDocument(IDispatch* occurrence, const std::string& where) {
        const ComPtr<IDispatch> part =
            objectIn(readMember(calls_, occurrence, ids::occurrence::partDocument).value.get());
        if (!part) {
            return;
        }
        record("part document", part.Get());
        // As the tool reads it: "Models"(1), the first model.
        const NameAnswer modelsId = idOfName(calls_, part.Get(), ids::occurrence::modelsName);
        VARIANT first = indexArgument(1);
        const ComPtr<IDispatch> model =
            SUCCEEDED(modelsId.hr)
                ? objectIn(readMember(calls_, part.Get(), modelsId.id, {&first, 1}).value.get())
                : nullptr;
        if (!model) {
            problem(where + ": its part document gives no first model");
            return;
        }
        record("model", model.Get());
        // "Models" itself, where it is a collection of its own.
        if (const ComPtr<IDispatch> models = objectByName(part.Get(), ids::occurrence::modelsName);
            models && typeNameOfObject(models.Get()) != typeNameOfObject(model.Get())) {
            record("models", models.Get());
        }
        const ComPtr<IDispatch> body = objectByName(model.Get(), ids::occurrence::bodyName);
        if (!body) {
            return;
        }
        record("body", body.Get());
        if (const ComPtr<IDispatch> faceStyle =
                objectIn(readMember(calls_, body.Get(), ids::body::faceStyle).value.get())) {
            record("face style", faceStyle.Get());
        }
    }

    void walkSubOccurrences(IDispatch* children, int depth) {
        record("sub-occurrences", children);
        const short count = countOf(children, ids::subOccurrences::count, "sub-occurrences");
        for (short i = 1; i <= count && i <= mostItemsLooked && !allMet(); ++i) {
            const ComPtr<IDispatch> child = itemOf(children, i, "sub-occurrences");
            if (!child) {
                continue;
            }
            if (!truthOf(child.Get(), ids::subOccurrence::isSubassembly)) {
                record("sub-occurrence", child.Get());
            } else if (depth < deepestSubassembly) {
                if (const ComPtr<IDispatch> deeper =
                        objectIn(readMember(calls_, child.Get(), ids::subOccurrence::subOccurrences)
                                     .value.get())) {
                    walkSubOccurrences(deeper.Get(), depth + 1);
                }
            }
        }
    }

    // --- Reading one kind -------------------------------------------------

    ReportedKind& reported(std::string_view kind) {
        for (ReportedKind& candidate : report_.kinds) {
            if (candidate.kind == kind) {
                return candidate;
            }
        }
        return report_.kinds.front();  // every kind is listed at the start
    }

    bool met(std::string_view kind) { return reported(kind).met; }

    bool allMet() const {
        for (const ReportedKind& kind : report_.kinds) {
            if (!kind.met) {
                return false;
            }
        }
        return true;
    }

    // What the first object of `kindName` met declares and answers.
    void record(std::string_view kindName, IDispatch* object) {
        ReportedKind& kind = reported(kindName);
        if (kind.met) {
            return;
        }
        const ObjectKind& described = *hosttypes::kindNamed(kindName);
        kind.met = true;
        TypeReading types(calls_, object);
        kind.typeInfo = types.attributes();
        kind.typeInfoProblem = types.problem();
        if (described.iid) {
            kind.castIid = hosttypes::guidText(*described.iid);
            ComPtr<IUnknown> cast;
            const GUID wanted = com::toGuid(*described.iid);
            const HRESULT hr = calls_.run([&] {
                return object->QueryInterface(
                    wanted, reinterpret_cast<void**>(cast.ReleaseAndGetAddressOf()));
            });
            kind.castAnswer = hosttypes::answerText(hr);
        }
        for (const ToolMember& member : described.members) {
            kind.members.push_back(readToolMember(object, member, types));
        }
    }

    ReportedMember readToolMember(IDispatch* object, const ToolMember& member, TypeReading& types) {
        ReportedMember reported;
        reported.use = useText(member.use);
        DISPID id = member.id;
        if (member.byName()) {
            reported.name = narrow(member.name);
            const NameAnswer named = idOfName(calls_, object, member.name);
            if (FAILED(named.hr)) {
                reported.returned = std::string("not called: the name is unknown (") +
                                    hosttypes::answerText(named.hr) + ")";
                return reported;
            }
            id = named.id;
            reported.idOfName = named.id;
            reported.declared = types.declaredUnder(id);
        } else {
            reported.id = member.id;
            reported.declared = types.declaredUnder(id);
            if (!reported.declared.empty() && !reported.declared.front().name.empty()) {
                const std::string& name = reported.declared.front().name;
                const NameAnswer named =
                    idOfName(calls_, object, std::u16string(name.begin(), name.end()));
                if (SUCCEEDED(named.hr)) {
                    reported.idOfName = named.id;
                }
            }
        }
        switch (member.use) {
            case Use::get:
            case Use::getAndPut:
                reported.returned = returnedText(readMember(calls_, object, id));
                break;
            case Use::item: {
                VARIANT index = indexArgument(1);
                reported.returned = returnedText(readMember(calls_, object, id, {&index, 1}));
                break;
            }
            case Use::query:
                reported.returned = queryColors(object, id, reported.declared);
                break;
            case Use::put:
            case Use::method:
                reported.returned = "not called";
                break;
        }
        return reported;
    }

    // The colour query in every form worth trying; what each gave goes to
    // the report. The answer of the first form that worked.
    std::string queryColors(IDispatch* object, DISPID id,
                            const std::vector<hosttypes::DeclaredFunction>& declared) {
        std::optional<std::string> first;
        for (const std::vector<DeclaredType>& form : colorQueryForms(declared)) {
            hosttypes::ColorQueryForm tried;
            tried.form = hosttypes::formText(form);
            std::vector<com::Variant> storage(form.size());
            std::vector<VARIANT> args(form.size());
            try {
                for (std::size_t i = 0; i < form.size(); ++i) {
                    const host::Value value =
                        i < hosttypes::colorQueryArrays
                            ? host::Value(host::DoubleArray{{0.0, 0.0, 0.0}, 1})
                            : host::Value(0.0);
                    const DeclaredType& type = form[i];
                    const auto passed =
                        static_cast<VARTYPE>(type.safeArray ? (VT_ARRAY | type.base) : type.base);
                    storage[i] = com::toVariantOf(value, passed, {});
                    if (type.pointers == 0) {
                        args[i] = storage[i].get();  // a view: storage keeps ownership
                    } else if (passed == VT_VARIANT) {
                        args[i].vt = VT_BYREF | VT_VARIANT;
                        args[i].pvarVal = &storage[i].get();
                    } else {
                        args[i].vt = static_cast<VARTYPE>(VT_BYREF | storage[i].get().vt);
                        args[i].byref = com::byReferenceAddress(storage[i].get());
                    }
                }
            } catch (const host::AutomationError&) {
                tried.answer = "not tried: the tool cannot pass these types";
                report_.colorQuery.push_back(tried);
                continue;
            }
            const RawAnswer answer = callQuery(calls_, object, id, args);
            tried.answer = hosttypes::answerText(answer.hr);
            if (SUCCEEDED(answer.hr)) {
                describeFirstArgument(storage.front().get(), tried);
                if (!first) {
                    first = returnedText(answer);
                }
            }
            report_.colorQuery.push_back(tried);
        }
        return first.value_or("failed in every form");
    }

    static void describeFirstArgument(const VARIANT& first, hosttypes::ColorQueryForm& tried) {
        tried.returned = hosttypes::variantTypeText(first.vt);
        if ((first.vt & VT_ARRAY) == 0 || first.parray == nullptr) {
            return;
        }
        VARTYPE element = VT_EMPTY;
        SafeArrayGetVartype(first.parray, &element);
        tried.returned = hosttypes::variantTypeText(static_cast<std::uint16_t>(VT_ARRAY | element));
        LONG lower = 0;
        LONG upper = -1;
        if (SafeArrayGetDim(first.parray) == 1 &&
            SUCCEEDED(SafeArrayGetLBound(first.parray, 1, &lower)) &&
            SUCCEEDED(SafeArrayGetUBound(first.parray, 1, &upper))) {
            tried.lowerBound = lower;
            tried.elements = upper - lower + 1;
        }
    }

    // --- Reading values ---------------------------------------------------

    ComPtr<IDispatch> objectRead(IDispatch* object, DISPID id, const std::string& where) {
        const RawAnswer answer = readMember(calls_, object, id);
        if (FAILED(answer.hr)) {
            problem(where + std::string(": reading member ") + std::to_string(id) +
                    std::string(" failed (") + hosttypes::answerText(answer.hr) + ")");
            return nullptr;
        }
        return objectIn(answer.value.get());
    }

    ComPtr<IDispatch> objectByName(IDispatch* object, std::u16string_view name) {
        const NameAnswer named = idOfName(calls_, object, name);
        if (FAILED(named.hr)) {
            return nullptr;
        }
        return objectIn(readMember(calls_, object, named.id).value.get());
    }

    ComPtr<IDispatch> itemOf(IDispatch* collection, short index, const std::string& where) {
        VARIANT argument = indexArgument(index);
        const RawAnswer answer = readMember(calls_, collection, ids::defaultMember, {&argument, 1});
        if (FAILED(answer.hr)) {
            problem(where + std::string(": item ") + std::to_string(index) +
                    std::string(" failed (") + hosttypes::answerText(answer.hr) + ")");
            return nullptr;
        }
        return objectIn(answer.value.get());
    }

    short countOf(IDispatch* collection, DISPID id, const std::string& where) {
        RawAnswer answer = readMember(calls_, collection, id);
        if (SUCCEEDED(answer.hr) &&
            SUCCEEDED(VariantChangeType(&answer.value.get(), &answer.value.get(), 0, VT_I2))) {
            return answer.value.get().iVal;
        }
        problem(where + std::string(": the count cannot be read (") +
                hosttypes::answerText(answer.hr) + ")");
        return 0;
    }

    bool truthOf(IDispatch* object, DISPID id) {
        RawAnswer answer = readMember(calls_, object, id);
        return SUCCEEDED(answer.hr) &&
               SUCCEEDED(VariantChangeType(&answer.value.get(), &answer.value.get(), 0, VT_BOOL)) &&
               answer.value.get().boolVal != VARIANT_FALSE;
    }

    // Of the kind whose table id is `iid`: it answers for the id, or its
    // type information names the interface (the id being a class id).
    bool isOfKind(IDispatch* object, const host::InterfaceId& iid, std::string_view name) {
        ComPtr<IUnknown> cast;
        const GUID wanted = com::toGuid(iid);
        if (SUCCEEDED(calls_.run([&] {
                return object->QueryInterface(
                    wanted, reinterpret_cast<void**>(cast.ReleaseAndGetAddressOf()));
            }))) {
            return true;
        }
        return typeNameOfObject(object) == name;
    }

    std::string typeNameOfObject(IDispatch* object) {
        ComPtr<ITypeInfo> info;
        if (FAILED(calls_.run([&] {
                return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf());
            })) ||
            !info) {
            return {};
        }
        return typeNameOf(calls_, *info.Get());
    }

    void problem(std::string text) { report_.problems.push_back(std::move(text)); }

    com::CallWatch& calls_;
    hosttypes::ProbeReport& report_;
};

}  // namespace

hosttypes::ProbeReport probeHost(com::CallWatch& calls, const std::string& probeVersion) {
    hosttypes::ProbeReport report;
    report.probeVersion = probeVersion;
    report.solidEdgeVersion = "unknown";
    Walk(calls, report).run();
    return report;
}

}  // namespace tav::probe
