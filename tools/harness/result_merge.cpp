#include "tools/harness/result_merge.h"

#include <stdexcept>

namespace tav::harness {

using nlohmann::ordered_json;

namespace {

// Window events and host events in the order they happened: a host event of
// call N came after every window event seen with fewer than N calls made.
ordered_json mergedEvents(const ordered_json& windowEvents,
                          const std::vector<std::int32_t>& callsBefore,
                          const ordered_json& hostEvents) {
    if (windowEvents.size() != callsBefore.size()) {
        throw std::logic_error("every window event needs its host call count");
    }
    ordered_json events = ordered_json::array();
    std::size_t ui = 0;
    for (const ordered_json& hostEvent : hostEvents) {
        const std::int32_t call = hostEvent.at("call").get<std::int32_t>();
        while (ui < windowEvents.size() && callsBefore[ui] < call) {
            events.push_back(windowEvents[ui++]);
        }
        ordered_json event = hostEvent;
        event.erase("call");
        events.push_back(std::move(event));
    }
    while (ui < windowEvents.size()) {
        events.push_back(windowEvents[ui++]);
    }
    return events;
}

}  // namespace

ordered_json mergeResults(const ordered_json& toolSide,
                          const std::vector<std::int32_t>& callsBefore,
                          const ordered_json* hostSide) {
    ordered_json merged;
    merged["format"] = toolSide.at("format");
    merged["end"] = toolSide.at("end");
    if (hostSide == nullptr) {
        merged["window"] = toolSide.at("window");
        merged["events"] = toolSide.at("events");
        return merged;
    }
    for (const char* field :
         {"hostCalls", "heldReferences", "host", "selection", "lineStyles", "members"}) {
        merged[field] = hostSide->at(field);
    }
    merged["window"] = toolSide.at("window");
    merged["events"] = mergedEvents(toolSide.at("events"), callsBefore, hostSide->at("events"));
    merged["nameLookups"] = hostSide->at("nameLookups");
    return merged;
}

}  // namespace tav::harness
