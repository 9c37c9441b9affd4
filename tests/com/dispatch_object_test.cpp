// References and names over COM: every reference the tool takes is given
// back exactly once, and a late-bound name costs the host one look-up per
// interface, whatever the number of calls.
#include <gtest/gtest.h>

#include "host/com/apartment.h"
#include "host/com/dispatch_object.h"
#include "host/com/guid.h"
#include "host/error.h"
#include "tests/com/fake_dispatch.h"

namespace tav::com::test {
namespace {

using host::ObjectRef;
using Microsoft::WRL::ComPtr;
namespace dispatch = host::dispatch;

class DispatchObjectTest : public ::testing::Test {
  protected:
    ObjectRef hostObject(FakeDispatch& fake) {
        return DispatchObject::wrap(connection_, ComPtr<IDispatch>(&fake));
    }

    Apartment apartment_;
    std::shared_ptr<Connection> connection_ = std::make_shared<Connection>(BusyRetryPolicy{});
};

TEST_F(DispatchObjectTest, EveryReferenceIsReleasedExactlyOnce) {
    FakeDispatch application;
    application.extraInterfaces.push_back(toGuid(dispatch::application::iid));
    {
        ObjectRef plain = hostObject(application);
        ObjectRef copy = plain;
        ObjectRef cast = plain.as(dispatch::application::iid);
        EXPECT_EQ(application.references, 2u);
        plain.reset();
        EXPECT_EQ(application.references, 2u);  // the copy still holds it
    }
    EXPECT_EQ(application.references, 0u);
}

TEST_F(DispatchObjectTest, AnObjectThatIsNotOfTheKindIsATypeMismatch) {
    FakeDispatch document;
    ObjectRef plain = hostObject(document);
    try {
        plain.as(dispatch::draftDocument::iid);
        FAIL() << "the cast succeeded";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::typeMismatch);
    }
    EXPECT_TRUE(plain.tryAs(dispatch::draftDocument::iid).empty());
    EXPECT_EQ(document.references, 1u);
}

TEST_F(DispatchObjectTest, ANameIsLookedUpOncePerInterface) {
    FakeDispatch first;
    FakeDispatch second;
    first.names[u"Type"] = 7;
    second.names[u"Type"] = 7;
    second.extraInterfaces.push_back(toGuid(dispatch::drawingView::iid));
    ObjectRef a = hostObject(first);
    ObjectRef b = hostObject(second);
    for (int i = 0; i < 5; ++i) {
        a.get(dispatch::selectSet::typeName);
        b.get(dispatch::selectSet::typeName);
    }
    EXPECT_EQ(first.nameLookups + second.nameLookups, 1);
    ObjectRef view = b.as(dispatch::drawingView::iid);
    view.get(dispatch::selectSet::typeName);
    view.get(dispatch::selectSet::typeName);
    EXPECT_EQ(first.nameLookups + second.nameLookups, 2);
    EXPECT_EQ(first.calls.size() + second.calls.size(), 12u);
    EXPECT_EQ(first.calls.back().member, 7);
}

TEST_F(DispatchObjectTest, AKeptIdTheHostNoLongerKnowsIsLookedUpAfreshOnce) {
    FakeDispatch style;
    style.names[u"DiffuseRed"] = 1;
    ObjectRef object = hostObject(style);
    object.get(dispatch::occurrence::diffuseRedName);
    style.names[u"DiffuseRed"] = 2;
    style.setHandler([](DISPID member, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return member == 2 ? S_OK : DISP_E_MEMBERNOTFOUND;
    });
    object.get(dispatch::occurrence::diffuseRedName);
    EXPECT_EQ(style.nameLookups, 2);
    EXPECT_EQ(style.calls.back().member, 2);
}

TEST_F(DispatchObjectTest, AnUnknownNameFailsWithoutAHostCall) {
    FakeDispatch model;
    try {
        hostObject(model).get(dispatch::occurrence::bodyName);
        FAIL() << "an unknown name was called";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), static_cast<std::int32_t>(DISP_E_UNKNOWNNAME));
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
    std::array<host::Argument, 1> args{host::byValue(hostObject(view))};
    hostObject(selectSet).call(dispatch::selectSet::add, args);
    EXPECT_EQ(received, static_cast<IDispatch*>(&view));
    EXPECT_EQ(selectSet.calls[0].argTypes, std::vector<VARTYPE>{VT_DISPATCH});
}

}  // namespace
}  // namespace tav::com::test
