// An owned VARIANT: cleared exactly once (releasing the string, array or
// interface it holds) when the owner goes away or is reset.
#pragma once

#include <windows.h>

#include <oleauto.h>

namespace tav::com {

class Variant {
  public:
    Variant() { VariantInit(&variant_); }
    ~Variant() { VariantClear(&variant_); }
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    const VARIANT& get() const { return variant_; }
    // For filling in place; the owner still clears whatever it holds.
    VARIANT& get() { return variant_; }
    // Clears the current value and gives its address for a callee to fill.
    VARIANT* receive();
    // Moves the value into `target` (which must hold nothing that needs
    // clearing); this owner is empty afterwards.
    void releaseInto(VARIANT& target);

  private:
    VARIANT variant_;
};

}  // namespace tav::com
