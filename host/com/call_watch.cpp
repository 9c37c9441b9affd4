#include "host/com/call_watch.h"

#include <algorithm>

#include "host/com/automation_errors.h"

namespace tav::com {

CallWatch::CallWatch(BusyRetryPolicy policy, Now now) : policy_(policy), now_(std::move(now)) {}

CallWatch::Scope::Scope(CallWatch& watch) : watch_(watch), outer_(std::move(watch.current_)) {
    const Clock::time_point started = watch_.now();
    Clock::time_point deadline = started + watch_.policy_.bound;
    if (watch_.gaveUpOnBusyHost_) {
        if (!watch_.sharedDeadline_) {
            watch_.sharedDeadline_ = deadline;
        }
        deadline = std::min(deadline, *watch_.sharedDeadline_);
    }
    if (watch_.sharingOneBound_) {
        if (!watch_.oneBoundDeadline_) {
            watch_.oneBoundDeadline_ = started + watch_.policy_.bound;
        }
        deadline = std::min(deadline, *watch_.oneBoundDeadline_);
    }
    watch_.current_ = Current{started, deadline};
}

CallWatch::Scope::~Scope() {
    const bool noticeShown = watch_.current_ && watch_.current_->noticeShown;
    watch_.current_ = std::move(outer_);
    if (noticeShown && watch_.notice_) {
        watch_.notice_(false);
    }
}

bool CallWatch::mayRetry() const {
    return current_ && now() < current_->deadline;
}

void CallWatch::answered(HRESULT hr) {
    if (!isBusyRejection(hr)) {
        // The host answers again: later calls get their own bound.
        gaveUpOnBusyHost_ = false;
        sharedDeadline_.reset();
    } else if (!mayRetry()) {
        gaveUpOnBusyHost_ = true;
    }
}

HRESULT CallWatch::run(const std::function<HRESULT()>& attempt) {
    Scope scope(*this);
    for (;;) {
        const HRESULT hr = attempt();
        if (!isBusyRejection(hr) || !mayRetry()) {
            answered(hr);
            return hr;
        }
        waitDispatchingMessages(policy_.delay);
    }
}

void CallWatch::watch(const std::function<void()>& call) {
    Scope scope(*this);
    call();
}

std::optional<DWORD> CallWatch::retryDelay(DWORD rejectType, DWORD elapsedMs) const {
    if (rejectType != SERVERCALL_RETRYLATER && rejectType != SERVERCALL_REJECTED) {
        return std::nullopt;
    }
    const bool pastDeadline =
        current_ ? !mayRetry() : elapsedMs >= static_cast<DWORD>(policy_.bound.count());
    if (pastDeadline) {
        return std::nullopt;
    }
    // The runtime retries at once below 100; from 100 on it waits that long.
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(policy_.delay.count(), 100));
}

void CallWatch::check() {
    if (!current_ || current_->noticeShown || now() - current_->started < longCall) {
        return;
    }
    current_->noticeShown = true;
    if (notice_) {
        notice_(true);
    }
}

}  // namespace tav::com
