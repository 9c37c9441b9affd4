// Finding the running host application. The tool never starts the host: it
// only looks up an instance that is already running.
#pragma once

#include <string_view>

#include "host/value.h"

namespace tav::host {

class HostConnector {
  public:
    virtual ~HostConnector() = default;
    // The running application registered under `progId`, as a new reference.
    // Raises AutomationError when none is running. Not a host call.
    virtual ObjectRef getRunning(std::u16string_view progId) = 0;
};

}  // namespace tav::host
