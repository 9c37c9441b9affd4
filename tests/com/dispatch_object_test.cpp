// References and names over COM: every reference the tool takes is given
// back exactly once, and a late-bound name is looked up once per class of
// object and used only on objects of that class.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/com/dispatch_object.h"
#include "host/com/guid.h"
#include "host/conversions.h"
#include "host/error.h"
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using host::ObjectRef;
using Microsoft::WRL::ComPtr;
namespace dispatch = host::dispatch;

class DispatchObjectTest : public ComClientTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(LoadTypeLib(L"stdole2.tlb", standardTypes_.GetAddressOf()), S_OK);
        ASSERT_EQ(standardTypes_->GetTypeInfoOfGuid(IID_IDispatch, viewClass.GetAddressOf()), S_OK);
        ASSERT_EQ(standardTypes_->GetTypeInfoOfGuid(IID_IEnumVARIANT, otherClass.GetAddressOf()),
                  S_OK);
    }

    // Objects of one connection share its names.
    ObjectRef object(FakeDispatch& fake) {
        return DispatchObject::wrap(connection_, ComPtr<IDispatch>(&fake));
    }

    // Two type informations, standing for two classes of objects.
    ComPtr<ITypeInfo> viewClass;
    ComPtr<ITypeInfo> otherClass;

  private:
    ComPtr<ITypeLib> standardTypes_;
    std::shared_ptr<Connection> connection_ = connection();
};

// The member ids an object was called with.
std::vector<DISPID> membersCalled(const FakeDispatch& fake) {
    std::vector<DISPID> members;
    for (const ReceivedCall& call : fake.calls) {
        members.push_back(call.member);
    }
    return members;
}

TEST_F(DispatchObjectTest, EveryReferenceIsReleasedExactlyOnce) {
    FakeDispatch application;
    application.extraInterfaces.push_back(toGuid(dispatch::application::iid));
    {
        ObjectRef plain = object(application);
        ObjectRef copy = plain;
        ObjectRef cast = plain.as(dispatch::application::iid);
        EXPECT_EQ(application.references(), 2u);
        plain.reset();
        EXPECT_EQ(application.references(), 2u);  // the copy still holds it
    }
    EXPECT_EQ(application.references(), 0u);
}

TEST_F(DispatchObjectTest, AnObjectThatIsNotOfTheKindIsATypeMismatch) {
    FakeDispatch document;
    ObjectRef plain = object(document);
    try {
        plain.as(dispatch::draftDocument::iid);
        FAIL() << "the cast succeeded";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::typeMismatch);
    }
    EXPECT_TRUE(plain.tryAs(dispatch::draftDocument::iid).empty());
    EXPECT_EQ(document.references(), 1u);
}

// A drawing view and a dimension number "Type" and "DrawingViewType" each in
// their own order: each class looks its names up once, and every object is
// called with the id of its own class.
TEST_F(DispatchObjectTest, EachClassOfObjectKeepsItsOwnIdsForAName) {
    FakeDispatch views[3];
    FakeDispatch dimensions[3];
    for (FakeDispatch& view : views) {
        view.typeInfo = viewClass.Get();
        view.names = {{u"Type", 2}, {u"DrawingViewType", 1}};
    }
    for (FakeDispatch& dimension : dimensions) {
        dimension.typeInfo = otherClass.Get();
        dimension.names = {{u"Type", 1}, {u"DrawingViewType", 2}};
    }
    for (int i = 0; i < 3; ++i) {
        object(views[i]).get(dispatch::selectSet::typeName);
        object(dimensions[i]).get(dispatch::selectSet::typeName);
        object(views[i]).get(dispatch::selectSet::drawingViewTypeName);
    }
    int lookups = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(membersCalled(views[i]), (std::vector<DISPID>{2, 1}));
        EXPECT_EQ(membersCalled(dimensions[i]), (std::vector<DISPID>{1}));
        lookups += views[i].nameLookups + dimensions[i].nameLookups;
    }
    EXPECT_EQ(lookups, 3) << "Type on each class, DrawingViewType on views";
}

TEST_F(DispatchObjectTest, AnObjectWithoutTypeInformationKeepsItsOwnIds) {
    FakeDispatch first;
    FakeDispatch second;
    first.names[u"DiffuseRed"] = 7;
    second.names[u"DiffuseRed"] = 9;
    ObjectRef a = object(first);
    ObjectRef b = object(second);
    for (int i = 0; i < 3; ++i) {
        a.get(dispatch::occurrence::diffuseRedName);
        b.get(dispatch::occurrence::diffuseRedName);
    }
    EXPECT_EQ(first.nameLookups, 1);
    EXPECT_EQ(second.nameLookups, 1);
    EXPECT_EQ(first.typeInfoRequests + second.typeInfoRequests, 1)
        << "a host without type information is not asked again";
    EXPECT_EQ(membersCalled(second), (std::vector<DISPID>{9, 9, 9}));
}

TEST_F(DispatchObjectTest, ObjectsCastToOneInterfaceShareItsIdsWithoutTypeInformation) {
    FakeDispatch first;
    FakeDispatch second;
    for (FakeDispatch* fake : {&first, &second}) {
        fake->names[u"Type"] = 7;
        fake->extraInterfaces.push_back(toGuid(dispatch::drawingView::iid));
    }
    object(first).as(dispatch::drawingView::iid).get(dispatch::selectSet::typeName);
    object(second).as(dispatch::drawingView::iid).get(dispatch::selectSet::typeName);
    EXPECT_EQ(first.nameLookups + second.nameLookups, 1);
    EXPECT_EQ(first.typeInfoRequests + second.typeInfoRequests, 1);
    EXPECT_EQ(membersCalled(second), (std::vector<DISPID>{7}));
}

// An object whose type information describes the interface it is cast to
// is of it: the cast costs no QueryInterface (a round trip, and another to
// give that interface back), and its calls go through the same IDispatch.
TEST_F(DispatchObjectTest, ACastTheTypeInformationShowsNeedsNoQueryInterface) {
    const host::InterfaceId described = fromGuid(IID_IEnumVARIANT);  // of `otherClass`
    FakeDispatch occurrences[2];
    for (FakeDispatch& fake : occurrences) {
        fake.typeInfo = otherClass.Get();
        object(fake).as(described).get(host::DispId{3});
    }
    EXPECT_EQ(occurrences[0].queries + occurrences[1].queries, 0);
    EXPECT_EQ(occurrences[1].calls.size(), 1u);
    EXPECT_EQ(occurrences[0].typeInfoRequests + occurrences[1].typeInfoRequests, 2);
    EXPECT_EQ(occurrences[1].references(), 0u) << "every reference given back";
}

TEST_F(DispatchObjectTest, AnObjectWhoseTypeInformationDescribesAnotherInterfaceIsAsked) {
    FakeDispatch part;
    part.typeInfo = otherClass.Get();
    EXPECT_TRUE(object(part).tryAs(dispatch::assemblyDocument::iid).empty());
    EXPECT_EQ(part.queries, 1);
    // The host's type information still names its interfaces.
    FakeDispatch occurrences;
    occurrences.typeInfo = otherClass.Get();
    EXPECT_FALSE(object(occurrences).tryAs(fromGuid(IID_IEnumVARIANT)).empty());
    EXPECT_EQ(occurrences.queries, 0);
}

// A host whose objects have interfaces their type information does not
// describe: from the first such cast on, casts go straight to QueryInterface.
TEST_F(DispatchObjectTest, TypeInformationThatDoesNotNameTheInterfacesIsNoLongerTrustedForCasts) {
    FakeDispatch view;
    view.typeInfo = otherClass.Get();
    view.extraInterfaces.push_back(toGuid(dispatch::drawingView::iid));
    EXPECT_FALSE(object(view).tryAs(dispatch::drawingView::iid).empty());
    FakeDispatch other;
    other.typeInfo = otherClass.Get();
    EXPECT_TRUE(object(other).tryAs(fromGuid(IID_IEnumVARIANT)).empty())
        << "asked, and the object does not answer to it";
    EXPECT_EQ(other.queries, 1);
}

// Two objects that give the same type information but do not agree on a
// name: the one that does not know the kept id is asked itself, once, and
// from then on objects of that class keep their own ids, so that the two
// alternating never make the host fail a call again.
TEST_F(DispatchObjectTest, AClassWhoseObjectsDisagreeStopsSharingWithoutThrashing) {
    auto reject = [](DISPID known) {
        return [known](DISPID member, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
            return member == known ? S_OK : DISP_E_MEMBERNOTFOUND;
        };
    };
    std::vector<std::unique_ptr<FakeDispatch>> fakes;
    int refused = 0;
    for (int i = 0; i < 10; ++i) {
        const DISPID id = i % 2 == 0 ? 1 : 2;
        auto fake = std::make_unique<FakeDispatch>(reject(id));
        fake->typeInfo = viewClass.Get();
        fake->names[u"Type"] = id;
        EXPECT_NO_THROW(object(*fake).get(dispatch::selectSet::typeName));
        for (const ReceivedCall& call : fake->calls) {
            refused += call.member != id ? 1 : 0;
        }
        EXPECT_EQ(fake->calls.back().member, id);
        fakes.push_back(std::move(fake));
    }
    EXPECT_EQ(refused, 1);
}

// Two classes built the way a host's type library describes them: objects
// of `Container` return a `Contained` from member 7.
class DeclaredTypes {
  public:
    static constexpr GUID containedId = {
        0x2a1b6f3e, 0x53c2, 0x4b0e, {0x9d, 0x11, 0x6c, 0x0a, 0x7e, 0x42, 0x15, 0x90}};

    DeclaredTypes() {
        ComPtr<ITypeLib> standard;
        EXPECT_EQ(LoadTypeLib(L"stdole2.tlb", standard.GetAddressOf()), S_OK);
        ComPtr<ITypeInfo> dispatchInfo;
        standard->GetTypeInfoOfGuid(IID_IDispatch, dispatchInfo.GetAddressOf());
        const std::wstring file =
            (std::filesystem::temp_directory_path() / "tav-declared-types.tlb").wstring();
        EXPECT_EQ(CreateTypeLib2(SYS_WIN64, file.c_str(), library_.GetAddressOf()), S_OK);
        ComPtr<ICreateTypeInfo> contained = type(L"Contained", containedId, *dispatchInfo.Get());
        ComPtr<ICreateTypeInfo> container = type(L"Container", IID_NULL, *dispatchInfo.Get());
        ComPtr<ITypeInfo> containedInfo;
        contained.As(&containedInfo);
        HREFTYPE reference = 0;
        container->AddRefTypeInfo(containedInfo.Get(), &reference);
        TYPEDESC returned{};
        returned.vt = VT_USERDEFINED;
        returned.hreftype = reference;
        FUNCDESC function{};
        function.memid = 7;
        function.funckind = FUNC_DISPATCH;
        function.invkind = INVOKE_PROPERTYGET;
        function.callconv = CC_STDCALL;
        function.elemdescFunc.tdesc.vt = VT_PTR;
        function.elemdescFunc.tdesc.lptdesc = &returned;
        EXPECT_EQ(container->AddFuncDesc(0, &function), S_OK);
        std::wstring name = L"Contained";
        LPOLESTR names[1] = {name.data()};
        container->SetFuncAndParamNames(0, names, 1);
        EXPECT_EQ(contained->LayOut(), S_OK);
        EXPECT_EQ(container->LayOut(), S_OK);
        container.As(&containerInfo);
    }

    ComPtr<ITypeInfo> containerInfo;

  private:
    ComPtr<ICreateTypeInfo> type(const wchar_t* name, const GUID& id, ITypeInfo& dispatchInfo) {
        ComPtr<ICreateTypeInfo> info;
        library_->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, info.GetAddressOf());
        if (!IsEqualGUID(id, IID_NULL)) {
            info->SetGuid(id);
        }
        HREFTYPE dispatchType = 0;
        info->AddRefTypeInfo(&dispatchInfo, &dispatchType);
        info->AddImplType(0, dispatchType);
        return info;
    }

    ComPtr<ICreateTypeLib2> library_;
};

// What a member declares it returns is of that class: the object is neither
// asked for its type information nor cast with QueryInterface.
TEST_F(DispatchObjectTest, AnObjectOfTheClassAMemberDeclaresIsCastWithoutAsking) {
    DeclaredTypes types;
    FakeDispatch container;
    container.typeInfo = types.containerInfo.Get();
    FakeDispatch contained;
    container.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_DISPATCH;
        result->pdispVal = static_cast<IDispatch*>(&contained);
        contained.AddRef();
        return S_OK;
    });
    // The container is cast to the interface its type information describes.
    ObjectRef parent = object(container).as(fromGuid(IID_NULL));
    ObjectRef child = host::toObject(parent.get(host::DispId{7}));
    EXPECT_FALSE(child.tryAs(fromGuid(DeclaredTypes::containedId)).empty());
    EXPECT_EQ(contained.queries, 0);
    EXPECT_EQ(contained.typeInfoRequests, 0);
}

TEST_F(DispatchObjectTest, AMemberTheObjectLacksIsError438WithoutASecondCall) {
    FakeDispatch style;
    style.names[u"DiffuseRed"] = 1;
    style.setHandler(
        [](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; });
    ObjectRef kept = object(style);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            kept.get(dispatch::occurrence::diffuseRedName);
            FAIL() << "a missing member answered";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), host::runtime_error_number::memberNotSupported);
        }
    }
    EXPECT_EQ(style.calls.size(), 2u) << "one call each time, never retried with the same id";
}

TEST_F(DispatchObjectTest, AKeptIdTheObjectNoLongerKnowsIsLookedUpAfreshOnce) {
    FakeDispatch style;
    style.names[u"DiffuseRed"] = 1;
    ObjectRef kept = object(style);
    kept.get(dispatch::occurrence::diffuseRedName);
    style.names[u"DiffuseRed"] = 2;
    style.setHandler([](DISPID member, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return member == 2 ? S_OK : DISP_E_MEMBERNOTFOUND;
    });
    kept.get(dispatch::occurrence::diffuseRedName);
    kept.get(dispatch::occurrence::diffuseRedName);
    EXPECT_EQ(style.nameLookups, 2);
    EXPECT_EQ(membersCalled(style), (std::vector<DISPID>{1, 1, 2, 2}));
}

TEST_F(DispatchObjectTest, AnUnknownNameIsError438WithoutAHostCall) {
    FakeDispatch model;
    try {
        object(model).get(dispatch::occurrence::bodyName);
        FAIL() << "an unknown name was called";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::memberNotSupported);
        EXPECT_EQ(error.description(), u"Object doesn't support this property or method");
    }
    EXPECT_TRUE(model.calls.empty());
}

TEST_F(DispatchObjectTest, AnObjectPassedBackReachesTheHostAsItsOwnInterface) {
    FakeDispatch selectSet;
    FakeDispatch view;
    IDispatch* received = nullptr;
    selectSet.setHandler([&](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        received = args[0]->pdispVal;
        return S_OK;
    });
    std::array<host::Argument, 1> args{host::byValue(object(view))};
    object(selectSet).call(dispatch::selectSet::add, args);
    EXPECT_EQ(received, static_cast<IDispatch*>(&view));
    EXPECT_EQ(selectSet.calls[0].argTypes, std::vector<VARTYPE>{VT_DISPATCH});
}

}  // namespace
}  // namespace tav::com::test
