// The COM objects the project serves: they answer to the interfaces they
// list (and only those), with one identity, count their references, and go
// with their last reference or stay with their owner.
#include "platform/win/com_object.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tav::platform {
namespace {

using Microsoft::WRL::ComPtr;

// Two interfaces with nothing to do.
template <class Base>
class Listening : public Base {
  public:
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE AddConnection(DWORD, DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD, DWORD, BOOL) override { return 0; }
};

using Owned = Listening<OwnedComObject<IMessageFilter, IExternalConnection>>;

class Counted final : public Listening<ComObject<IMessageFilter, IExternalConnection>> {
  public:
    explicit Counted(bool& gone) : gone_(gone) {}
    ~Counted() override { gone_ = true; }

  private:
    bool& gone_;
};

// Answers ISupportErrorInfo's id with its filter, and raises for IPersist's.
class Answering final : public Listening<OwnedComObject<IMessageFilter, IExternalConnection>> {
  private:
    void* interfaceFor(REFIID iid) override {
        if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
            return static_cast<IMessageFilter*>(this);
        }
        if (IsEqualIID(iid, IID_IPersist)) {
            throw std::runtime_error("no");
        }
        return listedInterface(iid);
    }
};

TEST(ComObject, AnswersToEachListedInterfaceWithOneIdentity) {
    Owned object;
    ComPtr<IMessageFilter> filter;
    ComPtr<IExternalConnection> connection;
    ComPtr<IUnknown> fromFilter;
    ComPtr<IUnknown> fromConnection;
    ASSERT_EQ(object.QueryInterface(IID_PPV_ARGS(&filter)), S_OK);
    ASSERT_EQ(object.QueryInterface(IID_PPV_ARGS(&connection)), S_OK);
    ASSERT_EQ(filter.As(&fromFilter), S_OK);
    ASSERT_EQ(connection.As(&fromConnection), S_OK);
    EXPECT_EQ(fromFilter.Get(), fromConnection.Get());
    EXPECT_EQ(object.references(), 4u);
}

TEST(ComObject, RefusesWhatItDoesNotList) {
    Owned object;
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(object.QueryInterface(IID_PPV_ARGS(&dispatch)), E_NOINTERFACE);
    EXPECT_EQ(dispatch, nullptr);
    EXPECT_EQ(object.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(object.references(), 0u);
}

TEST(ComObject, AnOwnedObjectOutlivesItsReferences) {
    Owned object;
    object.AddRef();
    EXPECT_EQ(object.Release(), 0u);
    EXPECT_EQ(object.references(), 0u);  // still here, as its owner is
}

TEST(ComObject, AMadeObjectGoesWithItsLastReference) {
    bool gone = false;
    {
        ComPtr<Counted> object = Counted::make<Counted>(gone);
        EXPECT_EQ(object->references(), 1u);
        ComPtr<IExternalConnection> another;
        ASSERT_EQ(object.As(&another), S_OK);
        object.Reset();
        EXPECT_FALSE(gone);
    }
    EXPECT_TRUE(gone);
}

TEST(ComObject, AnObjectMayAnswerMoreAndNoExceptionLeavesQueryInterface) {
    Answering object;
    void* out = nullptr;
    EXPECT_EQ(object.QueryInterface(IID_ISupportErrorInfo, &out), S_OK);
    EXPECT_EQ(out, static_cast<IMessageFilter*>(&object));
    static_cast<IMessageFilter*>(out)->Release();
    EXPECT_EQ(object.QueryInterface(IID_IPersist, &out), E_UNEXPECTED);
    EXPECT_EQ(out, nullptr);
}

}  // namespace
}  // namespace tav::platform
