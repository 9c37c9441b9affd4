#include "testbed/result_file/event_merge.h"

namespace tav::result {

void mergeEvents(const std::vector<WindowEvent>& window, const std::vector<result::HostEvent>& host,
                 EventLog& log) {
    auto nextHost = host.begin();
    for (const WindowEvent& event : window) {
        for (; nextHost != host.end() && nextHost->call <= event.hostCallsBefore; ++nextHost) {
            log.add(*nextHost);
        }
        log.add(event.event);
    }
    for (; nextHost != host.end(); ++nextHost) {
        log.add(*nextHost);
    }
}

}  // namespace tav::result
