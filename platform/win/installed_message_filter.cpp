#include "platform/win/installed_message_filter.h"

#include <objbase.h>

namespace tav::platform {

InstalledMessageFilter::InstalledMessageFilter(IMessageFilter* filter) noexcept
    : installed_(SUCCEEDED(CoRegisterMessageFilter(filter, previous_.GetAddressOf()))) {}

void InstalledMessageFilter::uninstall() noexcept {
    if (!installed_) {
        return;
    }
    installed_ = false;
    // COM hands back its reference to ours, released here.
    Microsoft::WRL::ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previous_.Get(), ours.GetAddressOf());
    previous_.Reset();
}

}  // namespace tav::platform
