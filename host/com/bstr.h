// An owned BSTR: freed exactly once, when the owner goes away or is reset.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

namespace tav::com {

class Bstr {
  public:
    Bstr() = default;
    // A copy of `text`; raises std::bad_alloc when the system has no memory.
    explicit Bstr(std::u16string_view text);
    ~Bstr();
    Bstr(Bstr&& other) noexcept;
    Bstr& operator=(Bstr&& other) noexcept;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return bstr_; }
    // Hands the string to the caller, who frees it from now on.
    BSTR release();
    // Frees the current string and gives its address for a callee to fill.
    BSTR* receive();

    // The text; a null BSTR is the empty string, as automation treats it.
    std::u16string text() const { return textOf(bstr_); }
    static std::u16string textOf(BSTR bstr);

  private:
    BSTR bstr_ = nullptr;
};

}  // namespace tav::com
