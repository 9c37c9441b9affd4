#include "host/com/bstr.h"

#include <new>
#include <utility>

namespace tav::com {

Bstr::Bstr(std::u16string_view text) {
    static_assert(sizeof(OLECHAR) == sizeof(char16_t));
    bstr_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                              static_cast<UINT>(text.size()));
    if (bstr_ == nullptr) {
        throw std::bad_alloc();
    }
}

Bstr::~Bstr() {
    SysFreeString(bstr_);
}

Bstr::Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(bstr_);
        bstr_ = std::exchange(other.bstr_, nullptr);
    }
    return *this;
}

BSTR Bstr::release() {
    return std::exchange(bstr_, nullptr);
}

BSTR* Bstr::receive() {
    SysFreeString(std::exchange(bstr_, nullptr));
    return &bstr_;
}

std::u16string Bstr::textOf(BSTR bstr) {
    if (bstr == nullptr) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(bstr), SysStringLen(bstr));
}

}  // namespace tav::com
