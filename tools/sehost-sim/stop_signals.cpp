#include "tools/sehost-sim/stop_signals.h"

#include <atomic>
#include <thread>

namespace tav::sehost {
namespace {

// The console handler runs on a thread of its own and has no context
// argument: the one server of the process is reached through these.
std::atomic<HANDLE> interruptEvent{nullptr};
std::atomic<HANDLE> finishedEvent{nullptr};

// The longest a console close waits for the server to finish.
constexpr DWORD finishingWaitMs = 10000;

BOOL WINAPI onConsoleControl(DWORD) {
    HANDLE interrupted = interruptEvent.load();
    HANDLE finished = finishedEvent.load();
    if (interrupted == nullptr || finished == nullptr) {
        return FALSE;
    }
    SetEvent(interrupted);
    // For a close or log-off Windows ends the process as soon as this
    // returns: give the server the time to revoke, unregister and write.
    WaitForSingleObject(finished, finishingWaitMs);
    return TRUE;
}

// Manual-reset, not signalled.
HANDLE newEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace

StopSignals::StopSignals(bool watchInput)
    : inputEnded_(std::make_shared<const platform::UniqueHandle>(newEvent())),
      interrupted_(newEvent()),
      finished_(newEvent()) {
    interruptEvent = interrupted_.get();
    finishedEvent = finished_.get();
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    if (watchInput) {
        // The reader blocks in ReadFile for the life of the process; it only
        // ever sets the event, which it keeps open with its own reference.
        HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        std::thread([input, ended = inputEnded_] {
            char buffer[256];
            DWORD read = 0;
            while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            }
            SetEvent(ended->get());
        }).detach();
    }
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    finished();
    interruptEvent = nullptr;
    finishedEvent = nullptr;
}

void StopSignals::finished() {
    SetEvent(finished_.get());
}

}  // namespace tav::sehost
