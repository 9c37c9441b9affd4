// What the client takes from a host's type information beyond names: the
// forms its by-reference arguments must have, the class of what a member
// returns (only when called with the member's own arguments), and the kind
// of an object whose QueryInterface refuses an id that is the host's class
// id. Against hand-written dispatch objects whose type information is built
// here, as a host's type library declares it.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "host/com/guid.h"
#include "host/com/safe_array.h"
#include "host/conversions.h"
#include "host/error.h"
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using host::Argument;
using host::ObjectRef;
using Microsoft::WRL::ComPtr;
namespace dispatch = host::dispatch;

// A type library built in memory, one dispatch type at a time.
class TypeLibrary {
  public:
    struct Function {
        DISPID id;
        INVOKEKIND kind;
        std::vector<TYPEDESC> parameters;
        TYPEDESC returns;
        std::wstring name;
    };

    TypeLibrary() {
        ComPtr<ITypeLib> standard;
        EXPECT_EQ(LoadTypeLib(L"stdole2.tlb", standard.GetAddressOf()), S_OK);
        standard->GetTypeInfoOfGuid(IID_IDispatch, dispatchInfo_.GetAddressOf());
        const std::wstring file =
            (std::filesystem::temp_directory_path() / "tav-declared-forms.tlb").wstring();
        EXPECT_EQ(CreateTypeLib2(SYS_WIN64, file.c_str(), library_.GetAddressOf()), S_OK);
    }

    ComPtr<ICreateTypeInfo> type(const wchar_t* name, const GUID& id) {
        ComPtr<ICreateTypeInfo> info;
        library_->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, info.GetAddressOf());
        info->SetGuid(id);
        HREFTYPE dispatchType = 0;
        info->AddRefTypeInfo(dispatchInfo_.Get(), &dispatchType);
        info->AddImplType(0, dispatchType);
        return info;
    }

    // TYPEDESCs that live as long as the library.
    TYPEDESC pointerTo(VARTYPE type) {
        TYPEDESC& pointee = descs_.emplace_back();
        pointee.vt = type;
        return {{&pointee}, VT_PTR};
    }
    TYPEDESC pointerToArrayOf(VARTYPE element) {
        TYPEDESC& elementDesc = descs_.emplace_back();
        elementDesc.vt = element;
        TYPEDESC& array = descs_.emplace_back();
        array.vt = VT_SAFEARRAY;
        array.lptdesc = &elementDesc;
        return {{&array}, VT_PTR};
    }
    TYPEDESC pointerToType(ICreateTypeInfo& owner, ICreateTypeInfo& target) {
        ComPtr<ITypeInfo> targetInfo;
        target.QueryInterface(IID_PPV_ARGS(targetInfo.GetAddressOf()));
        HREFTYPE reference = 0;
        owner.AddRefTypeInfo(targetInfo.Get(), &reference);
        TYPEDESC& user = descs_.emplace_back();
        user.vt = VT_USERDEFINED;
        user.hreftype = reference;
        return {{&user}, VT_PTR};
    }

    void declare(ICreateTypeInfo& info, UINT index, Function function) {
        std::vector<ELEMDESC> parameters(function.parameters.size());
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            parameters[i].tdesc = function.parameters[i];
        }
        FUNCDESC described{};
        described.memid = function.id;
        described.funckind = FUNC_DISPATCH;
        described.invkind = function.kind;
        described.callconv = CC_STDCALL;
        described.cParams = static_cast<SHORT>(parameters.size());
        described.lprgelemdescParam = parameters.empty() ? nullptr : parameters.data();
        described.elemdescFunc.tdesc = function.returns;
        EXPECT_EQ(info.AddFuncDesc(index, &described), S_OK);
        LPOLESTR names[1] = {function.name.data()};
        info.SetFuncAndParamNames(index, names, 1);
    }

    static ComPtr<ITypeInfo> laidOut(ICreateTypeInfo& info) {
        EXPECT_EQ(info.LayOut(), S_OK);
        ComPtr<ITypeInfo> typeInfo;
        info.QueryInterface(IID_PPV_ARGS(typeInfo.GetAddressOf()));
        return typeInfo;
    }

  private:
    ComPtr<ITypeInfo> dispatchInfo_;
    ComPtr<ICreateTypeLib2> library_;
    std::deque<TYPEDESC> descs_;
};

constexpr GUID ownId = {
    0x7d3c1e55, 0x0b6a, 0x4f19, {0x8e, 0x21, 0x44, 0x90, 0x1c, 0x5a, 0x6b, 0x01}};
constexpr GUID otherId = {
    0x7d3c1e55, 0x0b6a, 0x4f19, {0x8e, 0x21, 0x44, 0x90, 0x1c, 0x5a, 0x6b, 0x02}};

TYPEDESC plain(VARTYPE type) {
    TYPEDESC desc{};
    desc.vt = type;
    return desc;
}

// The colour query's six arguments as the engine passes them.
std::array<Argument, 6> colorQueryArguments() {
    auto triple = [] { return host::byReference(host::DoubleArray{{0.0, 0.0, 0.0}}); };
    return {triple(), triple(), triple(), triple(), host::byReference(0.0), host::byReference(0.0)};
}

class DeclaredFormsTest : public ComClientTest {
  protected:
    // A sub-occurrence whose colour query is declared with four `array`
    // parameters and two `number` ones; it answers with the colour
    // (0.25, 0.5, 1) in single precision, in the form the first came in.
    ComPtr<ITypeInfo> colorQueryDeclaredAs(TYPEDESC array, TYPEDESC number) {
        ComPtr<ICreateTypeInfo> info = types.type(L"SubOccurrence", ownId);
        std::vector<TYPEDESC> parameters(4, array);
        parameters.push_back(number);
        parameters.push_back(number);
        types.declare(*info.Get(), 0,
                      {dispatch::subOccurrence::displayColors, INVOKE_FUNC, parameters,
                       plain(VT_VOID), L"GetMaterial"});
        return TypeLibrary::laidOut(*info.Get());
    }

    static HRESULT answerInSinglePrecision(std::vector<VARIANT*>& args) {
        VARIANT* first = args[0];
        UniqueSafeArray colors = makeArray(host::DoubleArray{{0.25, 0.5, 1.0}, 0}, VT_R4);
        if (first->vt == (VT_BYREF | VT_VARIANT)) {
            VariantClear(first->pvarVal);
            first->pvarVal->vt = VT_ARRAY | VT_R4;
            first->pvarVal->parray = colors.release();
        } else if (first->vt == (VT_BYREF | VT_ARRAY | VT_R4)) {
            UniqueSafeArray old(*first->pparray);
            *first->pparray = colors.release();
        } else {
            return DISP_E_TYPEMISMATCH;
        }
        return S_OK;
    }

    TypeLibrary types;
};

TEST_F(DeclaredFormsTest, ArgumentsDeclaredAsVariantsGoAsVariantsAndAnyArrayComesBack) {
    ComPtr<ITypeInfo> info =
        colorQueryDeclaredAs(types.pointerTo(VT_VARIANT), types.pointerTo(VT_VARIANT));
    FakeDispatch subOccurrence([](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        return answerInSinglePrecision(args);
    });
    subOccurrence.typeInfo = info.Get();
    std::array<Argument, 6> args = colorQueryArguments();
    hostObject(subOccurrence).call(dispatch::subOccurrence::displayColors, args);
    ASSERT_EQ(subOccurrence.calls.size(), 1u);
    EXPECT_EQ(subOccurrence.calls[0].argTypes,
              std::vector<VARTYPE>(6, static_cast<VARTYPE>(VT_BYREF | VT_VARIANT)));
    const auto* colors = args[0].value.getIf<host::DoubleArray>();
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(colors->items, (std::vector<double>{0.25, 0.5, 1.0}));
    EXPECT_EQ(colors->lowerBound, 0);
}

TEST_F(DeclaredFormsTest, ArgumentsDeclaredAsArraysOfSinglesGoAsArraysOfSingles) {
    ComPtr<ITypeInfo> info =
        colorQueryDeclaredAs(types.pointerToArrayOf(VT_R4), types.pointerTo(VT_R4));
    FakeDispatch subOccurrence([](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        return answerInSinglePrecision(args);
    });
    subOccurrence.typeInfo = info.Get();
    std::array<Argument, 6> args = colorQueryArguments();
    hostObject(subOccurrence).call(dispatch::subOccurrence::displayColors, args);
    ASSERT_EQ(subOccurrence.calls.size(), 1u);
    EXPECT_EQ(subOccurrence.calls[0].argTypes[0], VT_BYREF | VT_ARRAY | VT_R4);
    EXPECT_EQ(subOccurrence.calls[0].argTypes[5], VT_BYREF | VT_R4);
    EXPECT_EQ(args[0].value.getIf<host::DoubleArray>()->items,
              (std::vector<double>{0.25, 0.5, 1.0}));
}

TEST_F(DeclaredFormsTest, WithoutTypeInformationArgumentsGoInTheirOwnTypes) {
    FakeDispatch subOccurrence;
    std::array<Argument, 6> args = colorQueryArguments();
    hostObject(subOccurrence).call(dispatch::subOccurrence::displayColors, args);
    ASSERT_EQ(subOccurrence.calls.size(), 1u);
    EXPECT_EQ(subOccurrence.calls[0].argTypes[0], VT_BYREF | VT_ARRAY | VT_R8);
    EXPECT_EQ(subOccurrence.calls[0].argTypes[4], VT_BYREF | VT_R8);
}

// "Models"(1) is the Models collection's first item: a Model, as the
// collection's default member declares, not the collection itself.
TEST_F(DeclaredFormsTest, AResultIsOfTheDeclaredClassOnlyForTheMembersOwnArguments) {
    ComPtr<ICreateTypeInfo> model = types.type(L"Model", ownId);
    ComPtr<ICreateTypeInfo> models = types.type(L"Models", otherId);
    ComPtr<ICreateTypeInfo> part = types.type(L"PartDocument", IID_NULL);
    types.declare(*models.Get(), 0,
                  {DISPID_VALUE,
                   INVOKE_FUNC,
                   {plain(VT_VARIANT)},
                   types.pointerToType(*models.Get(), *model.Get()),
                   L"Item"});
    types.declare(
        *part.Get(), 0,
        {1, INVOKE_PROPERTYGET, {}, types.pointerToType(*part.Get(), *models.Get()), L"Models"});
    ComPtr<ITypeInfo> modelInfo = TypeLibrary::laidOut(*model.Get());
    TypeLibrary::laidOut(*models.Get());
    ComPtr<ITypeInfo> partInfo = TypeLibrary::laidOut(*part.Get());

    FakeDispatch firstModel;
    firstModel.typeInfo = modelInfo.Get();
    FakeDispatch document([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_DISPATCH;
        result->pdispVal = &firstModel;
        firstModel.AddRef();
        return S_OK;
    });
    document.typeInfo = partInfo.Get();
    document.names[u"Models"] = 1;
    std::array<Argument, 1> first{host::byValue(std::int16_t{1})};
    ObjectRef returned =
        host::toObject(hostObject(document).get(dispatch::occurrence::modelsName, first));
    // Known to be a Model without asking: cast to the Model's interface
    // without QueryInterface or GetTypeInfo.
    EXPECT_FALSE(returned.tryAs(fromGuid(ownId)).empty());
    EXPECT_EQ(firstModel.typeInfoRequests, 0);
    EXPECT_EQ(firstModel.queries, 0);
}

TEST_F(DeclaredFormsTest, AClassIdTheObjectRefusesStillCastsWhenItsTypeNamesTheKind) {
    ComPtr<ICreateTypeInfo> draft = types.type(L"DraftDocument", ownId);
    ComPtr<ICreateTypeInfo> assembly = types.type(L"AssemblyDocument", otherId);
    ComPtr<ITypeInfo> draftInfo = TypeLibrary::laidOut(*draft.Get());
    ComPtr<ITypeInfo> assemblyInfo = TypeLibrary::laidOut(*assembly.Get());

    FakeDispatch document;  // answers QueryInterface for no host id
    document.typeInfo = draftInfo.Get();
    ObjectRef cast = hostObject(document).as(dispatch::draftDocument::iid);
    EXPECT_FALSE(cast.empty());
    EXPECT_EQ(document.queries, 1) << "asked once, then told by its type information";

    FakeDispatch other;
    other.typeInfo = assemblyInfo.Get();
    EXPECT_TRUE(hostObject(other).tryAs(dispatch::draftDocument::iid).empty());
    try {
        hostObject(other).as(dispatch::draftDocument::iid);
        FAIL() << "an assembly was taken for a draft";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::typeMismatch);
    }
}

// A host busy past the bound, or failing, leaves that one object without a
// class; only a host that says it gives no type information is never asked
// again.
TEST_F(DeclaredFormsTest, OnlyAnAnswerOfNoTypeInformationStopsTheAsking) {
    ComPtr<ICreateTypeInfo> draft = types.type(L"DraftDocument", ownId);
    ComPtr<ITypeInfo> draftInfo = TypeLibrary::laidOut(*draft.Get());
    std::shared_ptr<Connection> shared =
        connection(BusyRetryPolicy{std::chrono::milliseconds(1), std::chrono::milliseconds(5)});

    FakeDispatch failing;
    failing.typeInfo = nullptr;
    failing.typeInfoAnswer = RPC_E_CALL_REJECTED;
    FakeDispatch later;
    later.typeInfo = draftInfo.Get();
    EXPECT_TRUE(DispatchObject::wrap(shared, ComPtr<IDispatch>(&failing))
                    .tryAs(dispatch::draftDocument::iid)
                    .empty());
    EXPECT_FALSE(DispatchObject::wrap(shared, ComPtr<IDispatch>(&later))
                     .tryAs(dispatch::draftDocument::iid)
                     .empty())
        << "a busy host's refusal turned type information off for every object";

    FakeDispatch without;  // E_NOTIMPL
    FakeDispatch after;
    after.typeInfo = draftInfo.Get();
    std::shared_ptr<Connection> another = connection();
    DispatchObject::wrap(another, ComPtr<IDispatch>(&without)).tryAs(dispatch::draftDocument::iid);
    DispatchObject::wrap(another, ComPtr<IDispatch>(&after)).tryAs(dispatch::draftDocument::iid);
    EXPECT_EQ(after.typeInfoRequests, 0) << "a host without type information was asked again";
}

}  // namespace
}  // namespace tav::com::test
