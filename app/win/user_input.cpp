#include "app/win/user_input.h"

#include <algorithm>
#include <array>

namespace tav::app::win {
namespace {

struct MessageRange {
    UINT first;
    UINT last;
};

constexpr std::array<MessageRange, 5> userInputRanges{{
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    {WM_NCMOUSEHOVER, WM_NCMOUSEHOVER},
    {WM_NCMOUSELEAVE, WM_NCMOUSELEAVE},
}};

}  // namespace

bool isUserInput(UINT message) {
    return std::any_of(
        userInputRanges.begin(), userInputRanges.end(),
        [&](const MessageRange& range) { return message >= range.first && message <= range.last; });
}

void discardQueuedUserInput() {
    // Filtered by message number, which takes posted and hardware messages
    // alike (PM_QS_INPUT would leave the posted ones).
    for (const MessageRange& range : userInputRanges) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE) != FALSE) {
        }
    }
}

}  // namespace tav::app::win
