// Owners of the descriptions a type information hands out (GetFuncDesc,
// GetTypeAttr, ITypeComp::Bind): each goes back to the type information that
// gave it, exactly once, however the reader leaves.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <utility>

namespace tav::com {

template <class Description, class GiveBack>
class TypeDescription {
  public:
    TypeDescription() = default;
    TypeDescription(Microsoft::WRL::ComPtr<ITypeInfo> owner, Description* description)
        : owner_(std::move(owner)), description_(description) {}
    ~TypeDescription() { reset(); }
    TypeDescription(TypeDescription&& other) noexcept
        : owner_(std::move(other.owner_)),
          description_(std::exchange(other.description_, nullptr)) {}
    TypeDescription& operator=(TypeDescription&& other) noexcept {
        if (this != &other) {
            reset();
            owner_ = std::move(other.owner_);
            description_ = std::exchange(other.description_, nullptr);
        }
        return *this;
    }
    TypeDescription(const TypeDescription&) = delete;
    TypeDescription& operator=(const TypeDescription&) = delete;

    const Description* get() const { return description_; }
    const Description* operator->() const { return description_; }
    explicit operator bool() const { return description_ != nullptr; }
    // The type information that gave it (and resolves the types it names).
    ITypeInfo* owner() const { return owner_.Get(); }

    // Gives the current one back and the address for `owner` to fill.
    Description** receive(Microsoft::WRL::ComPtr<ITypeInfo> owner) {
        reset();
        owner_ = std::move(owner);
        return &description_;
    }
    void reset() {
        if (description_ != nullptr && owner_) {
            GiveBack{}(*owner_.Get(), description_);
        }
        description_ = nullptr;
    }

  private:
    Microsoft::WRL::ComPtr<ITypeInfo> owner_;
    Description* description_ = nullptr;
};

struct GiveFunctionBack {
    void operator()(ITypeInfo& owner, FUNCDESC* description) const {
        owner.ReleaseFuncDesc(description);
    }
};
struct GiveAttributesBack {
    void operator()(ITypeInfo& owner, TYPEATTR* attributes) const {
        owner.ReleaseTypeAttr(attributes);
    }
};

using OwnedFuncDesc = TypeDescription<FUNCDESC, GiveFunctionBack>;
using OwnedTypeAttr = TypeDescription<TYPEATTR, GiveAttributesBack>;

}  // namespace tav::com
