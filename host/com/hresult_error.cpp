#include "host/com/hresult_error.h"

#include <cstdio>
#include <string>
#include <utility>

#include "host/com/bstr.h"

namespace tav::com {
namespace {

// The number an EXCEPINFO reports: its scode, else its 16-bit code mapped
// the way automation clients map it (0x80040200 + wCode), else `fallback`.
HRESULT exceptionCode(const EXCEPINFO& exception, HRESULT fallback) {
    if (exception.scode != 0) {
        return exception.scode;
    }
    if (exception.wCode != 0) {
        return static_cast<HRESULT>(0x80040200u + exception.wCode);
    }
    return fallback;
}

// Takes over the EXCEPINFO's strings, so each is freed exactly once.
struct ExceptionTexts {
    Bstr source;
    Bstr description;
    Bstr helpFile;
    explicit ExceptionTexts(EXCEPINFO& exception) {
        *source.receive() = std::exchange(exception.bstrSource, nullptr);
        *description.receive() = std::exchange(exception.bstrDescription, nullptr);
        *helpFile.receive() = std::exchange(exception.bstrHelpFile, nullptr);
    }
};

}  // namespace

void clearExceptionInfo(EXCEPINFO& exception) {
    ExceptionTexts texts(exception);
    exception = EXCEPINFO{};
}

std::u16string systemText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (buffer != nullptr) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), length);
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        char fallback[48];
        std::snprintf(fallback, sizeof fallback, "Automation error 0x%08lX",
                      static_cast<unsigned long>(hr));
        text.assign(fallback, fallback + std::char_traits<char>::length(fallback));
    }
    return text;
}

host::AutomationError errorFromHresult(HRESULT hr, EXCEPINFO* exception) {
    std::u16string description;
    if (exception != nullptr) {
        if (exception->pfnDeferredFillIn != nullptr) {
            exception->pfnDeferredFillIn(exception);
            exception->pfnDeferredFillIn = nullptr;
        }
        if (hr == DISP_E_EXCEPTION) {
            hr = exceptionCode(*exception, hr);
        }
        ExceptionTexts texts(*exception);
        description = texts.description.text();
    }
    if (description.empty()) {
        description = systemText(hr);
    }
    return {static_cast<std::int32_t>(hr), std::move(description)};
}

}  // namespace tav::com
