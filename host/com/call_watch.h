// The thread's outgoing calls to the host, from each call's first try to its
// answer: Invokes, name look-ups, type information, QueryInterface and
// releases (a host showing a modal dialog rejects every kind). Three parties
// need to know about them:
// - a busy host: the Invoke helper's own retry loop and, on Windows, the
//   message filter's RetryRejectedCall share one deadline per call, so a call
//   is never retried for twice the bound; and once a call has given up on a
//   busy host, the calls that follow (the steps that give the host back its
//   interactive state after the failed run) share one bound between them
//   instead of waiting it out each; and the releases of a program's end all
//   share one bound (shareOneBound), never one each;
// - a call that the host holds (Solid Edge shows a dialog inside it): after
//   `longCall` the main window tells the user that the tool is waiting for
//   Solid Edge, and takes the notice back when the call returns.
// One watch per apartment; everything runs on the apartment's thread.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <chrono>
#include <functional>
#include <optional>

#include "host/com/busy_host.h"

namespace tav::com {

class CallWatch {
  public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    // Called with true when the current call has been out for `longCall`,
    // with false when that call returns.
    using WaitingNotice = std::function<void(bool waiting)>;

    // How long one call may be out before the user is told.
    static constexpr std::chrono::milliseconds longCall{5000};

    explicit CallWatch(BusyRetryPolicy policy = {}, Now now = Clock::now);
    CallWatch(const CallWatch&) = delete;
    CallWatch& operator=(const CallWatch&) = delete;

    const BusyRetryPolicy& policy() const { return policy_; }
    Clock::time_point now() const { return now_(); }

    // Makes one outgoing call (an Invoke, a name look-up, a call on type
    // information, a QueryInterface): `attempt` is tried until it is answered
    // with anything but a busy rejection, or until the call's deadline has
    // passed; between tries the thread waits `policy().delay` dispatching its
    // messages. Returns the last HRESULT.
    HRESULT run(const std::function<HRESULT()>& attempt);
    // Makes one outgoing call whose rejection only the runtime sees (a
    // release, which answers nothing): on Windows the message filter answers
    // its retries from the call's deadline; the call is not tried again here.
    void watch(const std::function<void()>& call);

    // While the returned object lives, the calls made share one bound,
    // counted from the first of them: a program's final releases wait for a
    // busy host once, not once per reference.
    class SharedBound {
      public:
        explicit SharedBound(CallWatch& watch) : watch_(watch) { watch_.sharingOneBound_ = true; }
        ~SharedBound() {
            watch_.sharingOneBound_ = false;
            watch_.oneBoundDeadline_.reset();
        }
        SharedBound(const SharedBound&) = delete;
        SharedBound& operator=(const SharedBound&) = delete;

      private:
        CallWatch& watch_;
    };
    SharedBound shareOneBound() { return SharedBound(*this); }

    // For the message filter's RetryRejectedCall: the milliseconds to wait
    // before the runtime tries the current call again, or nothing when it
    // must give up (past the call's deadline, or a rejection that is not
    // "busy"). `elapsedMs` is the runtime's own count since the call began,
    // used when no call of ours is out.
    std::optional<DWORD> retryDelay(DWORD rejectType, DWORD elapsedMs) const;

    // Looks at the current call: the waiting notice goes up once it has been
    // out for `longCall`. Called from the window's timer and the message
    // filter, which run while a call is out.
    void check();
    void setWaitingNotice(WaitingNotice notice) { notice_ = std::move(notice); }

  private:
    struct Current {
        Clock::time_point started;
        Clock::time_point deadline;
        bool noticeShown = false;
    };

    // The call being made, kept while `run` works; a call made from inside
    // another (a message handler during the outer call's wait) stacks on it.
    class Scope {
      public:
        explicit Scope(CallWatch& watch);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CallWatch& watch_;
        std::optional<Current> outer_;
    };

    bool mayRetry() const;
    void answered(HRESULT hr);

    BusyRetryPolicy policy_;
    Now now_;
    WaitingNotice notice_;
    std::optional<Current> current_;
    // Set when a call gave up on a busy host; the next call starts the bound
    // that it and the calls after it share, until one is answered.
    bool gaveUpOnBusyHost_ = false;
    std::optional<Clock::time_point> sharedDeadline_;
    // Set while a SharedBound lives; the deadline from its first call.
    bool sharingOneBound_ = false;
    std::optional<Clock::time_point> oneBoundDeadline_;
};

}  // namespace tav::com
