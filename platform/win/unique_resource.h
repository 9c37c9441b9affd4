// One owner for every kind of Windows handle that a single call releases,
// as WIL's unique_any: the handle is released exactly once, when its owner
// goes or is reset. Each kind is a traits type naming the handle, which
// values hold nothing, and the call that releases it.
#pragma once

#include <windows.h>

#include <utility>

namespace tav::platform {

template <class Traits>
class UniqueResource {
  public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::holds(handle_); }

    // Hands the handle to the caller, who releases it from now on.
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    // Releases the current handle and takes `handle` in its place.
    void reset(Handle handle = Handle{}) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::holds(old)) {
            Traits::close(old);
        }
    }
    // Releases the current handle and gives its address for a call to fill.
    Handle* receive() noexcept {
        reset();
        return &handle_;
    }

  private:
    Handle handle_{};
};

// A handle released by `closeFunction`; null holds nothing.
template <class H, auto closeFunction>
struct ReleasedBy {
    using Handle = H;
    static bool holds(Handle handle) noexcept { return handle != nullptr; }
    static void close(Handle handle) noexcept { closeFunction(handle); }
};

// Kernel objects: processes, threads, pipes, events. The functions that make
// them answer a failure with null or with INVALID_HANDLE_VALUE.
struct KernelHandleTraits : ReleasedBy<HANDLE, &CloseHandle> {
    static bool holds(HANDLE handle) noexcept {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueRegistryKey = UniqueResource<ReleasedBy<HKEY, &RegCloseKey>>;
using UniqueHook = UniqueResource<ReleasedBy<HHOOK, &UnhookWindowsHookEx>>;
using UniqueIcon = UniqueResource<ReleasedBy<HICON, &DestroyIcon>>;
// A device context made with CreateCompatibleDC (one from GetDC: WindowDc).
using UniqueMemoryDc = UniqueResource<ReleasedBy<HDC, &DeleteDC>>;
// Pens, brushes, fonts, bitmaps: whatever DeleteObject releases.
template <class GdiHandle>
using UniqueGdiObject = UniqueResource<ReleasedBy<GdiHandle, &DeleteObject>>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
// Memory the system allocated for the caller to free with LocalFree
// (FormatMessage's buffer, CommandLineToArgvW's array).
template <class Pointer>
using UniqueLocalMemory = UniqueResource<ReleasedBy<Pointer, &LocalFree>>;

}  // namespace tav::platform
