// A hand-written IDispatch for the client's tests: it counts references,
// records every Invoke as it arrived, and answers through a handler the test
// gives it. The test owns it (it is never deleted through Release); the
// count is the COM object base's.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win/com_object.h"

namespace tav::com::test {

// One Invoke as the object saw it; `args` in call order (DISPPARAMS reversed back).
struct ReceivedCall {
    DISPID member = 0;
    WORD flags = 0;
    std::vector<VARTYPE> argTypes;
    std::vector<DISPID> namedArgs;
};

class FakeDispatch final : public platform::OwnedComObject<IDispatch, ISupportErrorInfo> {
  public:
    // Answers one Invoke; `args` are DISPPARAMS' arguments in call order.
    using Handler = std::function<HRESULT(DISPID member, std::vector<VARIANT*>& args,
                                          VARIANT* result, EXCEPINFO* exception)>;

    explicit FakeDispatch(Handler handler = {}) : handler_(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

    void setHandler(Handler handler) { handler_ = std::move(handler); }

    // Interfaces QueryInterface answers to besides IUnknown and IDispatch.
    std::vector<IID> extraInterfaces;
    // QueryInterface calls for any other interface than IUnknown and IDispatch.
    int queries = 0;
    std::map<std::u16string, DISPID> names;
    int nameLookups = 0;
    // What GetTypeInfo gives (null: the object has no type information).
    ITypeInfo* typeInfo = nullptr;
    // What GetTypeInfo answers when the object has none.
    HRESULT typeInfoAnswer = E_NOTIMPL;
    int typeInfoRequests = 0;
    // Whether the object reports its errors in the thread's error object
    // (ISupportErrorInfo answers for IDispatch).
    bool reportsErrorObjects = false;
    std::vector<ReceivedCall> calls;

  private:
    // IDispatch, the extra interfaces as IDispatch, and ISupportErrorInfo
    // when the object reports errors there.
    void* interfaceFor(REFIID iid) override;

    Handler handler_;
};

}  // namespace tav::com::test
