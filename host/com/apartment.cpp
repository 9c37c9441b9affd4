#include "host/com/apartment.h"

#include "host/com/hresult_error.h"

namespace tav::com {

Apartment::Apartment(BusyRetryPolicy policy) : calls_(policy), filter_(calls_) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    entered_ = true;
    // Without the filter calls still work: Windows then gives up on a busy
    // host at once and the Invoke helper's own retry takes over.
    filterRegistered_ = SUCCEEDED(CoRegisterMessageFilter(&filter_, &previousFilter_));
}

Apartment::~Apartment() {
    leave();
}

void Apartment::leave() {
    if (filterRegistered_) {
        filterRegistered_ = false;
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(previousFilter_, &ours);
        if (ours != nullptr) {
            ours->Release();
        }
        if (previousFilter_ != nullptr) {
            previousFilter_->Release();
            previousFilter_ = nullptr;
        }
    }
    if (entered_) {
        entered_ = false;
        CoUninitialize();
    }
}

}  // namespace tav::com
