// IUnknown, written once for every COM object the project serves (MinGW has
// no wrl/implements.h): QueryInterface over the interfaces the object lists,
// and its reference count. Two lifetimes:
// - ComObject<Interfaces...> lives until its last reference is released, as
//   any COM object does: made only through `make`, which hands the first
//   reference to a ComPtr, and deleted by the last Release (the served
//   objects, whose clients' references reach them through COM's stubs);
// - OwnedComObject<Interfaces...> lives as long as its owner (a member, a
//   test's local, a static), who makes sure that COM holds it no longer: the
//   count is kept for COM's sake and for tests, and Release never deletes.
// IUnknown is the first interface listed; QueryInterface answers to each
// listed one, and an object that answers to more ids (or to some only at
// times) overrides `interfaceFor`. No exception leaves QueryInterface.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>

#include "platform/win/exception_barrier.h"

namespace tav::platform {

enum class ComLifetime { endsWithLastRelease, ownedElsewhere };

template <ComLifetime lifetime, class First, class... Rest>
class ComObjectBase : public First, public Rest... {
  public:
    template <class Object, class... Args>
    requires(lifetime == ComLifetime::endsWithLastRelease) static Microsoft::WRL::ComPtr<
        Object> make(Args&&... args) {
        // Takes the new object's first reference as it is. Not Attach:
        // MinGW's adds a reference there, which Microsoft's does not.
        Microsoft::WRL::ComPtr<Object> object;
        *object.ReleaseAndGetAddressOf() = new Object(std::forward<Args>(args)...);
        return object;
    }

    ComObjectBase(const ComObjectBase&) = delete;
    ComObjectBase& operator=(const ComObjectBase&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        return guardComCall([&] {
            void* found =
                IsEqualIID(iid, IID_IUnknown) ? static_cast<First*>(this) : interfaceFor(iid);
            if (found == nullptr) {
                return E_NOINTERFACE;
            }
            AddRef();
            *out = found;
            return S_OK;
        });
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if constexpr (lifetime == ComLifetime::endsWithLastRelease) {
            if (left == 0) {
                delete this;  // the COM idiom: the object goes with its last reference
            }
        }
        return left;
    }

    // References held now (COM's and the owner's).
    ULONG references() const { return references_; }

  protected:
    ComObjectBase() = default;
    virtual ~ComObjectBase() = default;

    // The interface pointer for `iid` (never IUnknown's), or null.
    virtual void* interfaceFor(REFIID iid) { return listedInterface(iid); }
    // The listed interface `iid` names, or null.
    void* listedInterface(REFIID iid) {
        void* found = nullptr;
        (void)(take<First>(iid, found) || (take<Rest>(iid, found) || ...));
        return found;
    }

  private:
    template <class Interface>
    bool take(REFIID iid, void*& found) {
        if (!IsEqualIID(iid, __uuidof(Interface))) {
            return false;
        }
        found = static_cast<Interface*>(this);
        return true;
    }

    // A new object's first reference is its maker's; an owned one has none.
    std::atomic<ULONG> references_{lifetime == ComLifetime::endsWithLastRelease ? 1u : 0u};
};

template <class... Interfaces>
using ComObject = ComObjectBase<ComLifetime::endsWithLastRelease, Interfaces...>;

template <class... Interfaces>
using OwnedComObject = ComObjectBase<ComLifetime::ownedElsewhere, Interfaces...>;

}  // namespace tav::platform
