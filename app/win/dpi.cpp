#include "app/win/dpi.h"

#include "platform/win/device_context.h"

namespace tav::app::win {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// The per-window functions of this user32, each null where it is missing.
struct PerWindowFunctions {
    GetDpiForWindowFunction getDpiForWindow = nullptr;
    GetDpiForSystemFunction getDpiForSystem = nullptr;
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi = nullptr;
    SystemParametersInfoForDpiFunction systemParametersInfoForDpi = nullptr;
};

template <class Function>
Function lookUp(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which compilers accept as
    // a cast to any other function pointer without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const PerWindowFunctions& perWindowFunctions() {
    static const PerWindowFunctions functions = [] {
        // The program links user32, so it is loaded for as long as we run.
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        PerWindowFunctions found;
        found.getDpiForWindow = lookUp<GetDpiForWindowFunction>(user32, "GetDpiForWindow");
        found.getDpiForSystem = lookUp<GetDpiForSystemFunction>(user32, "GetDpiForSystem");
        found.adjustWindowRectExForDpi =
            lookUp<AdjustWindowRectExForDpiFunction>(user32, "AdjustWindowRectExForDpi");
        found.systemParametersInfoForDpi =
            lookUp<SystemParametersInfoForDpiFunction>(user32, "SystemParametersInfoForDpi");
        return found;
    }();
    return functions;
}

}  // namespace

namespace systemWide {

UINT dpi() {
    const platform::WindowDc screen(nullptr);
    if (!screen) {
        return USER_DEFAULT_SCREEN_DPI;
    }
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

bool adjustFrame(RECT& client, DWORD style, DWORD exStyle) {
    // Without per-window DPI, Windows draws every frame at the system's DPI.
    return AdjustWindowRectEx(&client, style, FALSE, exStyle) != FALSE;
}

std::optional<LOGFONTW> messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) == FALSE) {
        return std::nullopt;
    }
    // The system's metrics are for its own DPI.
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                            static_cast<int>(systemWide::dpi()));
    return metrics.lfMessageFont;
}

}  // namespace systemWide

UINT systemDpi() {
    const auto getDpiForSystem = perWindowFunctions().getDpiForSystem;
    return getDpiForSystem != nullptr ? getDpiForSystem() : systemWide::dpi();
}

UINT dpiOf(HWND window) {
    const auto getDpiForWindow = perWindowFunctions().getDpiForWindow;
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    return systemDpi();
}

bool adjustFrameForDpi(RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    const auto adjustForDpi = perWindowFunctions().adjustWindowRectExForDpi;
    if (adjustForDpi != nullptr) {
        return adjustForDpi(&client, style, FALSE, exStyle, dpi) != FALSE;
    }
    return systemWide::adjustFrame(client, style, exStyle);
}

std::optional<LOGFONTW> messageFontForDpi(UINT dpi) {
    const auto infoForDpi = perWindowFunctions().systemParametersInfoForDpi;
    if (infoForDpi != nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (infoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi) != FALSE) {
            return metrics.lfMessageFont;
        }
        // Wine, for one, answers only for the system's DPI: scale from there.
    }
    return systemWide::messageFont(dpi);
}

}  // namespace tav::app::win
