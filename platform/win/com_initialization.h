// The thread's entry into COM (CoInitializeEx), left exactly once
// (CoUninitialize) when its owner goes, or earlier by `leave` before a
// process ends at once.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace tav::platform {

class ComInitialization {
  public:
    // `concurrency`: COINIT_APARTMENTTHREADED and the like.
    explicit ComInitialization(DWORD concurrency) noexcept
        : result_(CoInitializeEx(nullptr, concurrency)), entered_(SUCCEEDED(result_)) {}
    ~ComInitialization() { leave(); }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    // CoInitializeEx's answer; a failure entered nothing and leaves nothing.
    HRESULT result() const { return result_; }
    void leave() noexcept {
        if (entered_) {
            entered_ = false;
            CoUninitialize();
        }
    }

  private:
    HRESULT result_;
    bool entered_;
};

}  // namespace tav::platform
