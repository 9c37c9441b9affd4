#include "app/win/topmost_message_box.h"

#include "platform/win/exception_barrier.h"
#include "platform/win/unique_resource.h"

namespace tav::app::win {
namespace {

bool isDialog(HWND window) {
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"#32770") == 0;
}

// Every window procedure of the thread has answered a message: the box is
// the dialog that has just answered WM_INITDIALOG (it shows no other dialog).
LRESULT CALLBACK afterWindowProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_INITDIALOG) {
            platform::guardWindowCallback(0, [&] {
                if (isDialog(call->hwnd)) {
                    SetWindowPos(call->hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                }
                return 0;
            });
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int showTopmostMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags) {
    const platform::UniqueHook hook(
        SetWindowsHookExW(WH_CALLWNDPROCRET, &afterWindowProcedure, nullptr, GetCurrentThreadId()));
    return MessageBoxW(owner, text, title, flags | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace tav::app::win
