// An OLE message filter installed for the thread's apartment
// (CoRegisterMessageFilter), and the filter it replaced put back when its
// owner goes. The filter itself belongs to the caller and must outlive the
// installation.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <wrl/client.h>

namespace tav::platform {

class InstalledMessageFilter {
  public:
    explicit InstalledMessageFilter(IMessageFilter* filter) noexcept;
    ~InstalledMessageFilter() { uninstall(); }
    InstalledMessageFilter(const InstalledMessageFilter&) = delete;
    InstalledMessageFilter& operator=(const InstalledMessageFilter&) = delete;

  private:
    void uninstall() noexcept;

    Microsoft::WRL::ComPtr<IMessageFilter> previous_;
    bool installed_ = false;  // false when COM refused it (no apartment on this thread)
};

}  // namespace tav::platform
