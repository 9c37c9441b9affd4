// An OLE message filter installed for the thread's apartment
// (CoRegisterMessageFilter), and the filter it replaced put back when its
// owner goes, or earlier by `uninstall`. The filter itself belongs to the
// caller and must outlive the installation.
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

    // False when COM refused it (no apartment on this thread).
    bool installed() const { return installed_; }
    void uninstall() noexcept;

  private:
    Microsoft::WRL::ComPtr<IMessageFilter> previous_;
    bool installed_ = false;
};

}  // namespace tav::platform
