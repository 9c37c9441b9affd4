#include "tools/e2e/window_probe.h"

namespace tav::e2e {

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring textOf(HWND window) {
    wchar_t text[1024] = {};
    const int length = InternalGetWindowText(window, text, 1024);
    return std::wstring(text, static_cast<size_t>(length > 0 ? length : 0));
}

RECT rectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HWND parent = GetParent(window);
    if (parent != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

RECT clientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

std::vector<HWND> childrenInZOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) != FALSE) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findWindow(DWORD processId, const std::wstring& title, const std::wstring& className) {
    for (HWND window : topLevelWindows(processId)) {
        if (textOf(window) == title && (className.empty() || classOf(window) == className)) {
            return window;
        }
    }
    return nullptr;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (GetGUIThreadInfo(thread, &info) == FALSE) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool askWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD milliseconds,
               LRESULT& answer) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, milliseconds,
                            &result) == 0) {
        return false;
    }
    answer = static_cast<LRESULT>(result);
    return true;
}

void postClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void postKey(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const auto down = static_cast<LPARAM>(1u | (scan << 16));
    const auto up = static_cast<LPARAM>(1u | (scan << 16) | 0xC0000000u);
    PostMessageW(window, WM_KEYDOWN, virtualKey, down);
    PostMessageW(window, WM_KEYUP, virtualKey, up);
}

void postMouseClick(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(window, WM_LBUTTONUP, 0, middle);
}

}  // namespace tav::e2e
