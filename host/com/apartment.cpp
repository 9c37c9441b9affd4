#include "host/com/apartment.h"

#include "host/com/automation_errors.h"

namespace tav::com {

void namePlainDispatchProxy() {
    // COM looks the proxy and stub of an interface up in the registry each
    // time it marshals an object; every object the host hands out is one.
    // IDispatch's are the automation library's own (PSDispatch): telling
    // the apartment once spares a registry read per object.
    static const CLSID dispatchProxyStub = {
        0x00020420, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    CoRegisterPSClsid(IID_IDispatch, dispatchProxyStub);
}

Apartment::Apartment(BusyRetryPolicy policy)
    : calls_(policy), filter_(calls_), com_(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) {
    if (FAILED(com_.result())) {
        throw errorFromHresult(com_.result());
    }
    namePlainDispatchProxy();
    // Without the filter calls still work: Windows then gives up on a busy
    // host at once and the Invoke helper's own retry takes over.
    installedFilter_.emplace(&filter_);
}

void Apartment::leave() {
    installedFilter_.reset();
    com_.leave();
}

}  // namespace tav::com
