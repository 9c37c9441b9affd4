// Owners of the descriptions a type information hands out (GetTypeAttr,
// GetFuncDesc, ITypeComp::Bind): each goes back to the type information that
// gave it, exactly once, however the reader leaves.
//
// They follow platform::UniqueResource's shape and its traits (the handle,
// which values hold nothing, the call that releases it), with one addition:
// a description is given back through a member of the ITypeInfo that gave
// it, so that ITypeInfo must be at hand, and alive, until then. The owner
// keeps a reference to it beside the handle. Traits that held it would make
// every UniqueResource carry state, for the sake of these three kinds.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <utility>

namespace tav::com {

template <class Traits>
class UniqueTypeDescription {
  public:
    using Handle = typename Traits::Handle;

    UniqueTypeDescription() noexcept = default;
    UniqueTypeDescription(Microsoft::WRL::ComPtr<ITypeInfo> owner, Handle description) noexcept
        : owner_(std::move(owner)), description_(description) {}
    ~UniqueTypeDescription() { reset(); }
    UniqueTypeDescription(UniqueTypeDescription&& other) noexcept
        : owner_(std::move(other.owner_)), description_(std::exchange(other.description_, {})) {}
    UniqueTypeDescription& operator=(UniqueTypeDescription&& other) noexcept {
        if (this != &other) {
            reset();
            owner_ = std::move(other.owner_);
            description_ = std::exchange(other.description_, {});
        }
        return *this;
    }
    UniqueTypeDescription(const UniqueTypeDescription&) = delete;
    UniqueTypeDescription& operator=(const UniqueTypeDescription&) = delete;

    Handle get() const noexcept { return description_; }
    Handle operator->() const noexcept { return description_; }
    explicit operator bool() const noexcept { return Traits::holds(description_); }
    // The type information that gave it (and resolves the types it names).
    ITypeInfo* owner() const noexcept { return owner_.Get(); }

    // Gives the current one back, then the address for `owner` to fill.
    Handle* receive(Microsoft::WRL::ComPtr<ITypeInfo> owner) noexcept {
        reset();
        owner_ = std::move(owner);
        return &description_;
    }
    void reset() noexcept {
        const Handle old = std::exchange(description_, {});
        if (Traits::holds(old) && owner_) {
            Traits::close(*owner_.Get(), old);
        }
    }

  private:
    Microsoft::WRL::ComPtr<ITypeInfo> owner_;
    Handle description_{};
};

// A description that `giveBack`, a member of ITypeInfo, releases; null holds
// nothing.
template <class Description, auto giveBack>
struct GivenBackBy {
    using Handle = Description*;
    static bool holds(Handle description) noexcept { return description != nullptr; }
    static void close(ITypeInfo& owner, Handle description) noexcept {
        (owner.*giveBack)(description);
    }
};

using UniqueTypeAttr = UniqueTypeDescription<GivenBackBy<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>>;
using UniqueFuncDesc = UniqueTypeDescription<GivenBackBy<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>>;
using UniqueVarDesc = UniqueTypeDescription<GivenBackBy<VARDESC, &ITypeInfo::ReleaseVarDesc>>;

}  // namespace tav::com
