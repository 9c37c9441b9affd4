// The IUnknown plumbing every COM object of the server shares, written once
// by hand (MinGW has no wrl/implements.h), and the IDispatch base of the
// served objects.
//
// An object lives until its last reference is released: the client's
// references reach it through the COM runtime's stubs, which release it when
// the client does. Objects are created only through `make`, which hands the
// first reference to a ComPtr; the object deletes itself on the last Release,
// as every COM object does.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>

namespace tav::sehost {

template <class Interface>
class ComObject : public Interface {
  public:
    template <class Object, class... Args>
    static Microsoft::WRL::ComPtr<Object> make(Args&&... args) {
        Microsoft::WRL::ComPtr<Object> object;
        object.Attach(new Object(std::forward<Args>(args)...));
        return object;
    }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface)) ||
            answersTo(iid)) {
            *out = static_cast<Interface*>(this);
        } else {
            *out = otherInterface(iid);
        }
        if (*out == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // Whether the object answers to `iid` (beyond IUnknown and `Interface`)
    // as this same `Interface`.
    virtual bool answersTo(REFIID) { return false; }
    // Another interface the object implements, or null.
    virtual void* otherInterface(REFIID) { return nullptr; }

  private:
    std::atomic<ULONG> references_{1};
};

class DispatchObject : public ComObject<IDispatch> {
  public:
    // No type information at run time: the type library describes the
    // interfaces for marshalling only; names go through GetIDsOfNames.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }
};

}  // namespace tav::sehost
