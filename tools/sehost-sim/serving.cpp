#include "tools/sehost-sim/serving.h"

#include <objbase.h>
#include <oleauto.h>

#include <stdexcept>
#include <string>

#include "tools/sehost-sim/server_ids.h"

namespace tav::sehost {

ServerApartment::ServerApartment() : com_(COINIT_APARTMENTTHREADED) {
    if (FAILED(com_.result())) {
        throw std::runtime_error("CoInitializeEx failed (" + std::to_string(com_.result()) + ")");
    }
}

RunningEntry::RunningEntry(IUnknown* application) {
    const HRESULT hr =
        RegisterActiveObject(application, serverClassId, ACTIVEOBJECT_STRONG, &cookie_);
    if (FAILED(hr)) {
        throw std::runtime_error("RegisterActiveObject failed (" + std::to_string(hr) + ")");
    }
}

RunningEntry::~RunningEntry() {
    revoke();
}

void RunningEntry::revoke() {
    if (cookie_ != 0) {
        RevokeActiveObject(cookie_, nullptr);
        cookie_ = 0;
    }
}

StopReason serve(const std::vector<std::pair<HANDLE, StopReason>>& waits,
                 std::chrono::steady_clock::time_point deadline) {
    std::vector<HANDLE> handles;
    for (const auto& wait : waits) {
        handles.push_back(wait.first);
    }
    const auto count = static_cast<DWORD>(handles.size());
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return StopReason::timedOut;
        }
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, handles.data(), static_cast<DWORD>(left.count()),
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count) {
            return waits[woke - WAIT_OBJECT_0].second;
        }
        if (woke == WAIT_TIMEOUT) {
            return StopReason::timedOut;
        }
        if (woke != WAIT_OBJECT_0 + count) {
            throw std::runtime_error("waiting for calls failed (error " +
                                     std::to_string(GetLastError()) + ")");
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace tav::sehost
