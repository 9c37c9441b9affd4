// Where C++ exceptions stop. COM and Windows call the project's code through
// C interfaces, and an exception must never unwind through their frames (it
// would skip their clean-up, or end the process somewhere in the system).
// Every COM method an object of ours serves, and every window procedure and
// hook, runs its body through one of these. A method's own handling of the
// errors it expects (a host error reported to the client) stays in the
// body; these catch what is left.
#pragma once

#include <windows.h>

#include <new>
#include <type_traits>

namespace tav::platform {

// A COM method's body. Its HRESULT; for an exception, E_OUTOFMEMORY
// (std::bad_alloc) or E_UNEXPECTED (anything else). A body that returns
// nothing (a channel hook's notification) runs for its effect alone, and an
// exception is dropped.
template <class Body>
auto guardComCall(Body&& body) noexcept -> decltype(body()) {
    using Result = decltype(body());
    if constexpr (std::is_void_v<Result>) {
        try {
            body();
        } catch (...) {  // nothing to report it to
        }
    } else {
        static_assert(std::is_same_v<Result, HRESULT>, "a COM method's body returns its HRESULT");
        try {
            return body();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
}

// A COM method that answers something else than an HRESULT (a message
// filter's DWORD): `onException` when the body raised.
template <class Result, class Body>
Result guardComCall(Result onException, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return onException;
    }
}

// A window procedure's or a hook's body. After an exception the window's
// state is not known: the thread's message loop is asked to end
// (PostQuitMessage with status 1), so the program shuts down in order from
// there, and the message is answered with `onException`.
template <class Result, class Body>
Result guardWindowCallback(Result onException, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        PostQuitMessage(1);
        return onException;
    }
}

}  // namespace tav::platform
