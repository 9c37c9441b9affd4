#include "testbed/result_file/result_reader.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "testbed/result_file/result_format.h"

namespace tav::result {
namespace {

using nlohmann::json;

result::HostEvent hostEventOf(const json& item) {
    result::HostEvent event;
    const std::string verb = item.at(hostEvent::kind).get<std::string>();
    if (verb != hostEvent::put && verb != hostEvent::call) {
        throw std::runtime_error("a host event is neither a put nor a call: " + verb);
    }
    event.verb =
        verb == hostEvent::put ? result::HostEvent::Verb::put : result::HostEvent::Verb::call;
    event.object = item.at(hostEvent::object).get<std::string>();
    const json& member = item.at(hostEvent::member);
    if (member.is_string()) {
        event.memberName = member.get<std::string>();
    } else {
        event.member = member.get<host::DispId>();
    }
    event.payload =
        item.at(event.verb == result::HostEvent::Verb::put ? hostEvent::value : hostEvent::args);
    event.ok = item.at(hostEvent::ok).get<bool>();
    event.call = item.at(hostEvent::callNumber).get<std::int32_t>();
    return event;
}

result::LineStyleState lineStyleOf(const json& item) {
    result::LineStyleState style{item.at(lineStyleField::name).get<std::string>(),
                                 item.at(lineStyleField::color).get<std::int32_t>(), std::nullopt};
    if (!item.at(lineStyleField::templateName).is_null()) {
        style.templateName = item.at(lineStyleField::templateName).get<std::string>();
    }
    return style;
}

result::DocumentState documentOf(const json& item) {
    result::DocumentState document;
    document.id = item.at(documentField::id).get<std::string>();
    document.path = item.at(documentField::path).get<std::string>();
    document.open = item.at(documentField::open).get<bool>();
    document.active = item.at(documentField::active).get<bool>();
    document.saves = item.at(documentField::saves).get<std::int32_t>();
    if (item.contains(documentField::unsaved)) {
        document.unsaved = item.at(documentField::unsaved).get<bool>();
    }
    document.draft = item.contains(documentField::activeSheet);
    if (document.draft) {
        document.activeSheet = item.at(documentField::activeSheet).get<std::int32_t>();
        document.selection = item.at(documentField::selection).get<std::vector<std::string>>();
        for (const json& style : item.at(documentField::lineStyles)) {
            document.lineStyles.push_back(lineStyleOf(style));
        }
    }
    return document;
}

result::PartMemberState memberOf(const json& item) {
    result::PartMemberState member;
    member.view = item.at(memberField::view).get<std::string>();
    member.id = item.at(memberField::id).get<std::string>();
    member.visible = item.at(memberField::visible).get<std::string>();
    member.hidden = item.at(memberField::hidden).get<std::string>();
    member.tangent = item.at(memberField::tangent).get<std::string>();
    return member;
}

}  // namespace

nlohmann::ordered_json readJsonFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    try {
        return nlohmann::ordered_json::parse(in);
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(file.string() + ": " + error.what());
    }
}

HostPart readHostPart(std::istream& in) {
    try {
        const json file = json::parse(in);
        if (file.at(field::format) != json(formatName)) {
            throw std::runtime_error("not a " + std::string(formatName) + " file");
        }
        HostPart part;
        HostOutcome& host = part.outcome;
        host.hostCalls = file.at(field::hostCalls).get<std::int32_t>();
        host.heldReferences = file.at(field::heldReferences).get<std::int32_t>();
        if (file.contains(field::rejectedReleases)) {
            host.rejectedReleases = file.at(field::rejectedReleases).get<std::int32_t>();
        }
        const json& hostState = file.at(field::host);
        const json& properties = hostState.at(hostField::properties);
        host.interactive = properties.at(hostField::interactive).get<bool>();
        host.delayCompute = properties.at(hostField::delayCompute).get<bool>();
        host.commands = hostState.at(hostField::commands).get<std::vector<std::int32_t>>();
        host.selection = file.at(field::selection).get<std::vector<std::string>>();
        for (const json& style : file.at(field::lineStyles)) {
            host.lineStyles.push_back(lineStyleOf(style));
        }
        for (const json& member : file.at(field::members)) {
            host.partMembers.push_back(memberOf(member));
        }
        host.documentFields = file.contains(field::documents);
        if (host.documentFields) {
            host.displayAlerts = hostState.at(hostField::displayAlerts).get<bool>();
            for (const json& document : file.at(field::documents)) {
                host.documents.push_back(documentOf(document));
            }
        }
        part.nameLookups = file.at(field::nameLookups).get<std::int64_t>();
        for (const json& event : file.at(field::events)) {
            part.events.push_back(hostEventOf(event));
        }
        return part;
    } catch (const json::exception& error) {
        throw std::runtime_error(std::string("the host's result is not readable: ") + error.what());
    }
}

}  // namespace tav::result
