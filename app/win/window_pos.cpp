#include "app/win/window_pos.h"

#include <cstdint>
#include <limits>

#include "host/error.h"

namespace tav::app::win {
namespace {

struct Placement {
    int left;
    int top;
    int width;
    int height;
};

int differenceOrOverflow(LONG high, LONG low) {
    const std::int64_t difference = static_cast<std::int64_t>(high) - low;
    if (difference < std::numeric_limits<std::int32_t>::min() ||
        difference > std::numeric_limits<std::int32_t>::max()) {
        throw host::overflowError();
    }
    return static_cast<int>(difference);
}

// The window's rectangle as SetWindowPos takes it; the results of the system
// calls are not tested, as a failed read leaves a rectangle that moves nothing.
Placement placementOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int height = differenceOrOverflow(rect.bottom, rect.top);
    const int width = differenceOrOverflow(rect.right, rect.left);
    return Placement{rect.left, rect.top, width, height};
}

}  // namespace

void setTopmost(HWND window) {
    const Placement place = placementOf(window);
    SetWindowPos(window, HWND_TOPMOST, place.left, place.top, place.width, place.height,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void clearTopmost(HWND window) {
    const Placement place = placementOf(window);
    SetWindowPos(window, HWND_NOTOPMOST, place.left, place.top, place.width, place.height, 0);
}

}  // namespace tav::app::win
