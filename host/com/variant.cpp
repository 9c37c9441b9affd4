#include "host/com/variant.h"

namespace tav::com {

// A VARIANT is moved by copying its bytes: the owner of the copy now clears it.
Variant::Variant(Variant&& other) noexcept : variant_(other.variant_) {
    VariantInit(&other.variant_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&variant_);
        variant_ = other.variant_;
        VariantInit(&other.variant_);
    }
    return *this;
}

VARIANT* Variant::receive() {
    VariantClear(&variant_);
    return &variant_;
}

void Variant::releaseInto(VARIANT& target) {
    target = variant_;
    VariantInit(&variant_);
}

}  // namespace tav::com
