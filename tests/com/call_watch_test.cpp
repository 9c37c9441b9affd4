// The watch over the tool's calls to the host: a busy host is asked again
// within one bound per call, shared by the runtime's retries and the tool's
// own; after a call gave up on it, the calls that follow share one bound; and
// a call held for long is shown to the user, and the notice taken back when
// the call returns.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "host/com/call_watch.h"
#include "host/com/message_filter.h"
#include "host/conversions.h"
#include "host/error.h"
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using namespace std::chrono_literals;
using Clock = CallWatch::Clock;

// A watch on a clock that only the test moves; the wait between two tries
// is as short as a wait can be.
class WatchOnTestClock {
  public:
    explicit WatchOnTestClock(std::chrono::milliseconds bound = 30s)
        : watch(BusyRetryPolicy{1ms, bound}, [this] { return now; }) {}

    Clock::time_point now{};
    CallWatch watch;
};

constexpr DWORD giveUp = static_cast<DWORD>(-1);

TEST(BusyHostFilter, RetryRejectedCallWaitsUntilTheCallsBoundHasPassed) {
    struct Row {
        std::chrono::milliseconds elapsed;
        DWORD rejectType;
        DWORD answer;
    };
    const Row rows[] = {
        {0ms, SERVERCALL_RETRYLATER, 100},
        {0ms, SERVERCALL_REJECTED, 100},
        {29999ms, SERVERCALL_RETRYLATER, 100},
        {30000ms, SERVERCALL_RETRYLATER, giveUp},
        {45000ms, SERVERCALL_REJECTED, giveUp},
        {0ms, SERVERCALL_ISHANDLED, giveUp},
        {10ms, 77, giveUp},
    };
    for (const Row& row : rows) {
        WatchOnTestClock test;
        BusyHostFilter filter(test.watch);
        DWORD answer = 0;
        test.watch.run([&] {
            test.now += row.elapsed;  // the runtime's own tries so far
            answer = filter.RetryRejectedCall(nullptr, static_cast<DWORD>(row.elapsed.count()),
                                              row.rejectType);
            return S_OK;
        });
        EXPECT_EQ(answer, row.answer)
            << row.elapsed.count() << " ms, reject type " << row.rejectType;
    }
}

TEST(BusyHostFilter, WithNoCallOfOursOutTheRuntimesCountDecides) {
    WatchOnTestClock test;
    BusyHostFilter filter(test.watch);
    EXPECT_EQ(filter.RetryRejectedCall(nullptr, 1000, SERVERCALL_RETRYLATER), 100u);
    EXPECT_EQ(filter.RetryRejectedCall(nullptr, 30000, SERVERCALL_RETRYLATER), giveUp);
}

// A release answers nothing the tool could retry; on Windows the runtime
// asks the filter, which answers from the release's own deadline.
TEST(BusyHostFilter, AReleaseIsRetriedWithinItsBound) {
    WatchOnTestClock test;
    BusyHostFilter filter(test.watch);
    std::vector<DWORD> answers;
    test.watch.watch([&] {
        answers.push_back(filter.RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED));
        test.now += 30s;
        answers.push_back(filter.RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED));
    });
    EXPECT_EQ(answers, (std::vector<DWORD>{100, giveUp}));
}

// The program's final releases: a host busy with a dialog rejects each, and
// all of them together wait one bound, never one bound each.
TEST(BusyHostFilter, TheFinalReleasesShareOneBound) {
    WatchOnTestClock test;
    BusyHostFilter filter(test.watch);
    std::vector<DWORD> answers;
    {
        const CallWatch::SharedBound finalReleases = test.watch.shareOneBound();
        for (int reference = 0; reference < 3; ++reference) {
            test.watch.watch([&] {
                test.now += 12s;  // the runtime retried this release so long
                answers.push_back(filter.RetryRejectedCall(nullptr, 12000, SERVERCALL_REJECTED));
            });
        }
    }
    EXPECT_EQ(answers, (std::vector<DWORD>{100, 100, giveUp}));
    // Afterwards each call has its own bound again.
    test.watch.watch([&] {
        test.now += 12s;
        EXPECT_EQ(filter.RetryRejectedCall(nullptr, 12000, SERVERCALL_REJECTED), 100u);
    });
}

TEST(CallWatch, ARejectedQueryInterfaceIsAskedAgain) {
    WatchOnTestClock test;
    int tries = 0;
    const HRESULT hr = test.watch.run([&] {
        ++tries;
        test.now += 1s;
        return tries < 3 ? RPC_E_CALL_REJECTED : E_NOINTERFACE;
    });
    EXPECT_EQ(hr, E_NOINTERFACE);
    EXPECT_EQ(tries, 3);
}

// Windows retried the call itself for the whole bound before it failed with
// the rejection: the tool's own loop must not start another 30 seconds.
TEST(CallWatch, ACallIsNeverRetriedForLongerThanOneBound) {
    WatchOnTestClock test;
    int tries = 0;
    const HRESULT hr = test.watch.run([&] {
        ++tries;
        test.now += 30s;
        return RPC_E_CALL_REJECTED;
    });
    EXPECT_EQ(hr, RPC_E_CALL_REJECTED);
    EXPECT_EQ(tries, 1);
}

TEST(CallWatch, AfterACallGaveUpTheNextCallsShareOneBound) {
    WatchOnTestClock test;
    auto busyFor = [&](std::chrono::milliseconds perTry) {
        return [&, perTry] {
            test.now += perTry;
            return RPC_E_CALL_REJECTED;
        };
    };
    const Clock::time_point start = test.now;
    test.watch.run(busyFor(1s));
    EXPECT_EQ(test.now - start, 30s) << "the failing call had its own bound";

    // The steps that give the host back its state after the failed run.
    const Clock::time_point restoring = test.now;
    for (int step = 0; step < 4; ++step) {
        test.watch.run(busyFor(1s));
    }
    EXPECT_LE(test.now - restoring, 33s) << "four steps waited about one bound in all";

    // Once the host answers again, a call has its own bound once more.
    test.watch.run([] { return S_OK; });
    const Clock::time_point later = test.now;
    test.watch.run(busyFor(1s));
    EXPECT_EQ(test.now - later, 30s);
}

TEST(CallWatch, ACallHeldLongShowsTheWaitingNoticeUntilItReturns) {
    WatchOnTestClock test;
    std::vector<bool> notices;
    test.watch.setWaitingNotice([&](bool waiting) { notices.push_back(waiting); });
    test.watch.run([&] {
        test.now += 4900ms;
        test.watch.check();  // the window's timer, while the call is out
        EXPECT_TRUE(notices.empty());
        test.now += 100ms;
        test.watch.check();
        test.now += 3s;
        test.watch.check();
        EXPECT_EQ(notices, std::vector<bool>{true});
        return S_OK;
    });
    EXPECT_EQ(notices, (std::vector<bool>{true, false}));
    test.watch.check();
    test.watch.run([&] {
        test.now += 1s;
        test.watch.check();
        return S_OK;
    });
    EXPECT_EQ(notices.size(), 2u) << "a short call shows nothing";
}

using BusyHost = ComClientTest;

TEST_F(BusyHost, ABusyHostIsAskedAgainAndServesTheCallOnce) {
    FakeDispatch fake;
    int rejections = 3;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        if (rejections > 0) {
            --rejections;
            return RPC_E_CALL_REJECTED;
        }
        result->vt = VT_I4;
        result->lVal = 2;
        return S_OK;
    });
    BusyRetryPolicy quick{1ms, 5000ms};
    EXPECT_EQ(host::toInt32(hostObject(fake, quick).get(2)), 2);
    EXPECT_EQ(fake.calls.size(), 4u);
}

// A window of the test's thread that counts the messages it is sent.
struct CountingWindow {
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            ++handled;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    CountingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TavCountingWindow";
        RegisterClassW(&windowClass);
        handle = CreateWindowW(L"TavCountingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    }
    ~CountingWindow() { DestroyWindow(handle); }
    HWND handle = nullptr;
    static inline int handled = 0;
};

TEST_F(BusyHost, TheWindowsKeepTakingMessagesWhileABusyHostIsWaitedFor) {
    CountingWindow window;
    ASSERT_NE(window.handle, nullptr);
    FakeDispatch fake;
    int rejections = 2;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return rejections-- > 0 ? RPC_E_CALL_REJECTED : S_OK;
    });
    PostMessageW(window.handle, WM_APP, 0, 0);
    const int before = CountingWindow::handled;
    BusyRetryPolicy quick{20ms, 5000ms};
    hostObject(fake, quick).get(2);
    EXPECT_EQ(CountingWindow::handled, before + 1);
}

TEST_F(BusyHost, AHostBusyPastTheBoundFailsAsAHostError) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return RPC_E_SERVERCALL_RETRYLATER;
    });
    BusyRetryPolicy quick{5ms, 60ms};
    const auto start = std::chrono::steady_clock::now();
    try {
        hostObject(fake, quick).get(2);
        FAIL() << "a host busy for ever was waited for";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), static_cast<std::int32_t>(RPC_E_SERVERCALL_RETRYLATER));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_GT(fake.calls.size(), 1u);
}

}  // namespace
}  // namespace tav::com::test
