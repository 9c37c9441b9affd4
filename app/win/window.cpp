#include "app/win/window.h"

#include "platform/win/exception_barrier.h"

namespace tav::app::win {

Window::~Window() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

bool Window::create(const CreateArgs& args) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(args.instance, args.className, &existing) == FALSE) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Window::windowProc;
        windowClass.hInstance = args.instance;
        windowClass.hIcon = args.icon;
        windowClass.hIconSm = args.icon;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = args.className;
        if (RegisterClassExW(&windowClass) == 0) {
            return false;
        }
    }
    CreateWindowExW(args.exStyle, args.className, args.title, args.style, args.x, args.y,
                    args.width, args.height, args.owner, nullptr, args.instance, this);
    return hwnd_ != nullptr;
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(creation->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception reaches Windows; a failed WM_NCCREATE fails the window's creation.
    const LRESULT result = platform::guardWindowCallback(
        LRESULT{0}, [&] { return self->handleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace tav::app::win
