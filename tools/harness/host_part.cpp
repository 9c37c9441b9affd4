#include "tools/harness/host_part.h"

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace tav::harness {
namespace {

using nlohmann::json;

sim::HostEvent hostEventOf(const json& item) {
    sim::HostEvent event;
    const std::string verb = item.at("host").get<std::string>();
    if (verb != "put" && verb != "call") {
        throw std::runtime_error("a host event is neither a put nor a call: " + verb);
    }
    event.verb = verb == "put" ? sim::HostEvent::Verb::put : sim::HostEvent::Verb::call;
    event.object = item.at("object").get<std::string>();
    event.member = item.at("member").get<host::DispId>();
    event.payload = item.at(event.verb == sim::HostEvent::Verb::put ? "value" : "args");
    event.ok = item.at("ok").get<bool>();
    event.call = item.at("call").get<std::int32_t>();
    return event;
}

sim::LineStyleState lineStyleOf(const json& item) {
    sim::LineStyleState style{item.at("name").get<std::string>(),
                              item.at("color").get<std::int32_t>(), std::nullopt};
    if (!item.at("template").is_null()) {
        style.templateName = item.at("template").get<std::string>();
    }
    return style;
}

sim::PartMemberState memberOf(const json& item) {
    sim::PartMemberState member;
    member.view = item.at("view").get<std::string>();
    member.id = item.at("id").get<std::string>();
    member.visible = item.at("visible").get<std::string>();
    member.hidden = item.at("hidden").get<std::string>();
    member.tangent = item.at("tangent").get<std::string>();
    return member;
}

}  // namespace

HostPart readHostPart(std::istream& in) {
    try {
        const json file = json::parse(in);
        if (file.at("format") != "tavrelmondix-result/1") {
            throw std::runtime_error("not a tavrelmondix-result/1 file");
        }
        HostPart part;
        HostOutcome& host = part.outcome;
        host.hostCalls = file.at("hostCalls").get<std::int32_t>();
        host.heldReferences = file.at("heldReferences").get<std::int32_t>();
        const json& properties = file.at("host").at("properties");
        host.interactive = properties.at("18").get<bool>();
        host.delayCompute = properties.at("73").get<bool>();
        host.commands = file.at("host").at("commands").get<std::vector<std::int32_t>>();
        host.selection = file.at("selection").get<std::vector<std::string>>();
        for (const json& style : file.at("lineStyles")) {
            host.lineStyles.push_back(lineStyleOf(style));
        }
        for (const json& member : file.at("members")) {
            host.partMembers.push_back(memberOf(member));
        }
        part.nameLookups = file.at("nameLookups").get<std::int64_t>();
        for (const json& event : file.at("events")) {
            part.events.push_back(hostEventOf(event));
        }
        return part;
    } catch (const json::exception& error) {
        throw std::runtime_error(std::string("the host's result is not readable: ") + error.what());
    }
}

void mergeEvents(const std::vector<WindowEvent>& window, const std::vector<sim::HostEvent>& host,
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

}  // namespace tav::harness
