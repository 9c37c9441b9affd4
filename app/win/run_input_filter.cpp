#include "app/win/run_input_filter.h"

#include <utility>

#include "app/win/user_input.h"
#include "platform/win/exception_barrier.h"

namespace tav::app::win {
namespace {

// The filter of this thread, for the hook procedure, which gets no context.
thread_local RunInputFilter* activeFilter = nullptr;

}  // namespace

RunInputFilter::RunInputFilter(HWND mainWindow, std::function<bool()> blocked)
    : mainWindow_(mainWindow), blocked_(std::move(blocked)) {
    activeFilter = this;
    hook_.reset(SetWindowsHookExW(WH_GETMESSAGE, &RunInputFilter::onGetMessage, nullptr,
                                  GetCurrentThreadId()));
}

RunInputFilter::~RunInputFilter() {
    hook_.reset();
    activeFilter = nullptr;
}

bool RunInputFilter::drops(const MSG& message) const {
    if (!isUserInput(message.message) || message.hwnd == nullptr) {
        return false;
    }
    if (message.hwnd != mainWindow_ && IsChild(mainWindow_, message.hwnd) == FALSE) {
        return false;
    }
    return blocked_ && blocked_();
}

LRESULT CALLBACK RunInputFilter::onGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    // Only messages being taken off the queue: a message merely peeked at is
    // judged when it is taken.
    if (code == HC_ACTION && wParam == PM_REMOVE && activeFilter != nullptr) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        if (platform::guardWindowCallback(false, [&] { return activeFilter->drops(*message); })) {
            message->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace tav::app::win
