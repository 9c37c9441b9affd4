// No exception crosses into COM or Windows: each becomes the answer COM
// expects, or ends the thread's message loop.
#include "platform/win/exception_barrier.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace tav::platform {
namespace {

TEST(GuardComCall, AnswersWithTheBodysHresult) {
    EXPECT_EQ(guardComCall([] { return S_FALSE; }), S_FALSE);
}

TEST(GuardComCall, OutOfMemoryAndAnythingElseBecomeTheirHresults) {
    EXPECT_EQ(guardComCall([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(guardComCall([]() -> HRESULT { throw std::runtime_error("no"); }), E_UNEXPECTED);
    EXPECT_EQ(guardComCall([]() -> HRESULT { throw 42; }), E_UNEXPECTED);
}

TEST(GuardComCall, OtherAnswersFallBackAndNotificationsDropTheException) {
    EXPECT_EQ(guardComCall(DWORD{7}, []() -> DWORD { throw std::runtime_error("no"); }), 7u);
    EXPECT_EQ(guardComCall(DWORD{7}, [] { return DWORD{1}; }), 1u);
    bool ran = false;
    guardComCall([&] {
        ran = true;
        throw std::runtime_error("no");
    });
    EXPECT_TRUE(ran);
}

TEST(GuardWindowCallback, AnExceptionEndsTheMessageLoop) {
    EXPECT_EQ(guardWindowCallback(LRESULT{5}, [] { return LRESULT{1}; }), 1);
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_EQ(guardWindowCallback(LRESULT{5}, []() -> LRESULT { throw std::runtime_error("no"); }),
              5);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 1u);
}

}  // namespace
}  // namespace tav::platform
