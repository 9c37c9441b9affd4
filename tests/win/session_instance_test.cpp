// One tavrelmondix.exe per session: a second start hands over to the running
// one, and an instance that is gone keeps no start out. Each instance claims
// from a thread of its own, as each process's main thread does.
#include "app/win/session_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace tav::app::win {
namespace {

// A claim name of this test process's own, so that no tavrelmondix.exe
// running beside the tests is disturbed.
std::wstring testClaimName() {
    static std::atomic<int> count{0};
    return L"Local\\TavrelmondixTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++count);
}

bool noWindowYet() {
    return false;
}

platform::UniqueHandle newEvent() {
    return platform::UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

// An instance that claims on a thread of its own and holds the claim until
// told to end; then its thread ends without letting go, as a process that
// crashed or was ended from the Task Manager.
class OtherInstance {
  public:
    explicit OtherInstance(const std::wstring& name) : instance_(std::in_place, name) {
        thread_ = std::thread([this] {
            claimed_ = instance_->claim(&noWindowYet, 0);
            SetEvent(claimDone_.get());
            WaitForSingleObject(end_.get(), INFINITE);
        });
        WaitForSingleObject(claimDone_.get(), INFINITE);
    }
    ~OtherInstance() { endAbruptly(); }

    bool claimed() const { return claimed_; }
    void endAbruptly() {
        if (thread_.joinable()) {
            SetEvent(end_.get());
            thread_.join();
        }
        instance_.reset();
    }

  private:
    std::optional<SessionInstance> instance_;
    bool claimed_ = false;
    platform::UniqueHandle claimDone_ = newEvent();
    platform::UniqueHandle end_ = newEvent();
    std::thread thread_;
};

TEST(SessionInstance, ASecondStartHandsOverToTheRunningOne) {
    const std::wstring name = testClaimName();
    OtherInstance running(name);
    ASSERT_TRUE(running.claimed());

    SessionInstance second(name);
    int askedForward = 0;
    EXPECT_FALSE(second.claim([&] { return ++askedForward > 0; }));
    EXPECT_EQ(askedForward, 1);
}

TEST(SessionInstance, ARunningOneWithoutAWindowIsLeftAloneAfterThePatience) {
    const std::wstring name = testClaimName();
    OtherInstance starting(name);
    SessionInstance second(name);
    EXPECT_FALSE(second.claim(&noWindowYet, 0));
}

TEST(SessionInstance, AStartTakesOverFromAnInstanceThatEndedWhileItWaited) {
    const std::wstring name = testClaimName();
    OtherInstance ending(name);
    ASSERT_TRUE(ending.claimed());

    SessionInstance next(name);
    // No window to ask yet; meanwhile the other one goes without letting go.
    EXPECT_TRUE(next.claim(
        [&] {
            ending.endAbruptly();
            return false;
        },
        10000));
}

}  // namespace
}  // namespace tav::app::win
