// The thread's outgoing calls to the host, from each call's first try to its
// answer. Three parties need to know about them:
// - a busy host: the Invoke helper's own retry loop and, on Windows, the
//   message filter's RetryRejectedCall share one deadline per call, so a call
//   is never retried for twice the bound; and once a call has given up on a
//   busy host, the calls that follow (the steps that give the host back its
//   interactive state after the failed run) share one bound between them
//   instead of waiting it out each;
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

    // Makes one outgoing call (an Invoke or a name look-up): `attempt` is
    // tried until it is answered with anything but a busy rejection, or until
    // the call's deadline has passed; between tries the thread waits
    // `policy().delay` dispatching its messages. Returns the last HRESULT.
    HRESULT run(const std::function<HRESULT()>& attempt);

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
};

}  // namespace tav::com
