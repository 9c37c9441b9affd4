#include "tools/e2e/real_input.h"

#include <utility>
#include <vector>

namespace tav::e2e {
namespace {

INPUT keyEvent(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Absolute mouse coordinates run from 0 to 65535 across the primary screen.
LONG normalised(LONG pixel, int screenSize) {
    return static_cast<LONG>(MulDiv(pixel, 65535, screenSize > 1 ? screenSize - 1 : 1));
}

INPUT mouseEvent(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalised(at.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalised(at.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

bool send(std::vector<INPUT> events) {
    const UINT count = static_cast<UINT>(events.size());
    return SendInput(count, events.data(), sizeof(INPUT)) == count;
}

}  // namespace

bool bringToFront(HWND window) {
    const ULONGLONG deadline = GetTickCount64() + 2000;
    while (GetForegroundWindow() != window) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        SetForegroundWindow(window);
        Sleep(20);
    }
    return true;
}

bool typeKey(WORD virtualKey, bool shifted) {
    std::vector<INPUT> events;
    if (shifted) {
        events.push_back(keyEvent(VK_SHIFT, false));
    }
    events.push_back(keyEvent(virtualKey, false));
    events.push_back(keyEvent(virtualKey, true));
    if (shifted) {
        events.push_back(keyEvent(VK_SHIFT, true));
    }
    return send(std::move(events));
}

bool clickMiddleOf(HWND window) {
    RECT rect{};
    if (GetWindowRect(window, &rect) == FALSE) {
        return false;
    }
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return send({mouseEvent(0, middle), mouseEvent(MOUSEEVENTF_LEFTDOWN, middle),
                 mouseEvent(MOUSEEVENTF_LEFTUP, middle)});
}

}  // namespace tav::e2e
