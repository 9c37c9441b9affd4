#include "app/win/progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <limits>

namespace tav::app::win {
namespace {

void setRange(HWND bar, int minimum, int maximum) {
    SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void setPosition(HWND bar, int position) {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace

void setProgressAtOnce(HWND bar, int minimum, int maximum, int position) {
    setRange(bar, minimum, maximum);
    if (minimum > maximum) {
        setPosition(bar, position);  // no range to step within
        return;
    }
    const int target = std::clamp(position, minimum, maximum);
    if (target < maximum) {
        setPosition(bar, target + 1);
    } else if (maximum < std::numeric_limits<int>::max()) {
        setRange(bar, minimum, maximum + 1);
        setPosition(bar, maximum + 1);
        setRange(bar, minimum, maximum);
    }
    setPosition(bar, target);
}

}  // namespace tav::app::win
