// Handles are released exactly once: when their owner goes or is reset,
// never after they were handed on.
#include "platform/win/unique_resource.h"

#include <gtest/gtest.h>

#include <utility>

namespace tav::platform {
namespace {

HANDLE newEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

bool isOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesItsHandleWhenItGoes) {
    HANDLE raw = nullptr;
    {
        const UniqueHandle event(newEvent());
        raw = event.get();
        ASSERT_TRUE(isOpen(raw));
    }
    EXPECT_FALSE(isOpen(raw));
}

TEST(UniqueHandle, AMoveHandsTheHandleOnAndLeavesNothingBehind) {
    UniqueHandle first(newEvent());
    const HANDLE raw = first.get();
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    UniqueHandle third;
    third = std::move(second);
    EXPECT_EQ(third.get(), raw);
    EXPECT_TRUE(isOpen(raw));
}

TEST(UniqueHandle, ResetAndReceiveCloseTheOldHandle) {
    UniqueHandle event(newEvent());
    const HANDLE old = event.get();
    event.reset(newEvent());
    EXPECT_FALSE(isOpen(old));
    const HANDLE replaced = event.get();
    HANDLE* slot = event.receive();
    EXPECT_FALSE(isOpen(replaced));
    EXPECT_EQ(*slot, nullptr);
}

TEST(UniqueHandle, ReleaseHandsTheHandleToTheCaller) {
    UniqueHandle event(newEvent());
    const HANDLE raw = event.release();
    EXPECT_FALSE(event);
    EXPECT_TRUE(isOpen(raw));
    CloseHandle(raw);
}

TEST(UniqueHandle, InvalidHandleValueHoldsNothing) {
    const UniqueHandle failed(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(failed);
}

TEST(UniqueRegistryKey, OpensAndClosesAKey) {
    UniqueRegistryKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.receive()),
              ERROR_SUCCESS);
    EXPECT_TRUE(key);
}

}  // namespace
}  // namespace tav::platform
