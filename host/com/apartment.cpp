#include "host/com/apartment.h"

#include "host/com/hresult_error.h"

namespace tav::com {

Apartment::Apartment(BusyRetryPolicy policy) : filter_(policy) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    // Without the filter calls still work: Windows then gives up on a busy
    // host at once and the Invoke helper's own retry takes over.
    filterRegistered_ = SUCCEEDED(CoRegisterMessageFilter(&filter_, &previousFilter_));
}

Apartment::~Apartment() {
    if (filterRegistered_) {
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(previousFilter_, &ours);
        if (ours != nullptr) {
            ours->Release();
        }
        if (previousFilter_ != nullptr) {
            previousFilter_->Release();
        }
    }
    CoUninitialize();
}

}  // namespace tav::com
