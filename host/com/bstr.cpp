#include "host/com/bstr.h"

#include <new>

namespace tav::com {

UniqueBstr bstrOf(std::u16string_view text) {
    static_assert(sizeof(OLECHAR) == sizeof(char16_t));
    UniqueBstr copy(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                      static_cast<UINT>(text.size())));
    if (!copy) {
        throw std::bad_alloc();
    }
    return copy;
}

std::u16string textOf(BSTR bstr) {
    if (bstr == nullptr) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(bstr), SysStringLen(bstr));
}

}  // namespace tav::com
