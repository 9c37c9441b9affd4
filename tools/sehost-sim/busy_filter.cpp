#include "tools/sehost-sim/busy_filter.h"

#include "tools/sehost-sim/host_classes.h"

namespace tav::sehost {
namespace {

// IDispatch's methods after IUnknown's three: GetTypeInfoCount 3,
// GetTypeInfo 4, GetIDsOfNames 5, Invoke 6.
constexpr WORD invokeMethod = 6;

bool isInvoke(const INTERFACEINFO* info) {
    return info != nullptr && info->wMethod == invokeMethod &&
           (IsEqualIID(info->iid, IID_IDispatch) || isHostInterface(info->iid));
}

}  // namespace

BusyFilter::BusyFilter(sim::BusyHost busy, std::shared_ptr<const ServedHost> servedHost)
    : busy_(busy), servedHost_(std::move(servedHost)) {}

DWORD STDMETHODCALLTYPE BusyFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                       LPINTERFACEINFO interfaceInfo) {
    if (isInvoke(interfaceInfo) && servedHost_->nextCallNumber() == busy_.call &&
        rejected_ < busy_.rejections) {
        ++rejected_;
        return SERVERCALL_REJECTED;
    }
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE BusyFilter::RetryRejectedCall(HTASK, DWORD, DWORD) {
    // The server makes no calls of its own.
    return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE BusyFilter::MessagePending(HTASK, DWORD, DWORD) {
    return PENDINGMSG_WAITDEFPROCESS;
}

InstalledFilter::InstalledFilter(IMessageFilter* filter) {
    CoRegisterMessageFilter(filter, previous_.GetAddressOf());
}

InstalledFilter::~InstalledFilter() {
    Microsoft::WRL::ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previous_.Get(), ours.GetAddressOf());
}

}  // namespace tav::sehost
