#include "app/win/session_instance.h"

#include <utility>

namespace tav::app::win {

const wchar_t* const programInstanceName =
    L"Local\\Tavrelmondix-MainWindow-{d6a268e1-b9fa-435a-b908-faf19e7291f2}";

namespace {

constexpr DWORD pollMs = 100;

bool owned(DWORD wait) {
    // Abandoned: the instance that held it ended without letting go.
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

}  // namespace

UINT comeForwardMessage() {
    static const UINT message =
        RegisterWindowMessageW(L"Tavrelmondix-ComeForward-{d6a268e1-b9fa-435a-b908-faf19e7291f2}");
    return message;
}

bool askRunningWindowForward(const wchar_t* windowClass) {
    HWND running = FindWindowW(windowClass, nullptr);
    if (running == nullptr) {
        return false;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    PostMessageW(running, comeForwardMessage(), 0, 0);
    return true;
}

SessionInstance::SessionInstance(std::wstring name) : name_(std::move(name)) {}

SessionInstance::~SessionInstance() {
    if (owner_) {
        ReleaseMutex(mutex_.get());
    }
}

bool SessionInstance::claim(const HandOver& handOver, DWORD patienceMs) {
    mutex_.reset(CreateMutexW(nullptr, FALSE, name_.c_str()));
    if (!mutex_) {
        // The claim cannot be made (the name is taken by an object of
        // another kind): better two instances than none.
        return true;
    }
    const ULONGLONG deadline = GetTickCount64() + patienceMs;
    DWORD wait = WaitForSingleObject(mutex_.get(), 0);
    while (!owned(wait)) {
        if (handOver() || GetTickCount64() >= deadline) {
            return false;
        }
        wait = WaitForSingleObject(mutex_.get(), pollMs);
    }
    owner_ = true;
    return true;
}

}  // namespace tav::app::win
