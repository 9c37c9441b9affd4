#include "host/types/probe_report.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

#include <nlohmann/json.hpp>

#include "host/error.h"

namespace tav::hosttypes {
namespace {

using nlohmann::ordered_json;

constexpr std::array<std::pair<InvokeKind, std::string_view>, 4> invokeKinds{{
    {InvokeKind::method, "method"},
    {InvokeKind::get, "propget"},
    {InvokeKind::put, "propput"},
    {InvokeKind::putReference, "propputref"},
}};

InvokeKind invokeKindOf(const std::string& text) {
    for (const auto& [kind, name] : invokeKinds) {
        if (name == text) {
            return kind;
        }
    }
    throw std::runtime_error("\"" + text + "\" is no invoke kind");
}

DeclaredType typeOf(const ordered_json& text) {
    const std::string written = text.get<std::string>();
    std::optional<DeclaredType> type = parseDeclaredType(written);
    if (!type) {
        throw std::runtime_error("\"" + written + "\" is no declared type");
    }
    return *type;
}

ordered_json functionJson(const DeclaredFunction& function) {
    ordered_json parameters = ordered_json::array();
    for (const DeclaredType& parameter : function.parameters) {
        parameters.push_back(textOf(parameter));
    }
    return {{"id", function.id},
            {"name", function.name},
            {"invokeKind", invokeKindText(function.kind)},
            {"parameters", std::move(parameters)},
            {"optionalParameters", function.optionalParameters},
            {"returns", textOf(function.returns)}};
}

DeclaredFunction functionOf(const ordered_json& json) {
    DeclaredFunction function;
    function.id = json.at("id").get<std::int32_t>();
    function.name = json.at("name").get<std::string>();
    function.kind = invokeKindOf(json.at("invokeKind").get<std::string>());
    for (const ordered_json& parameter : json.at("parameters")) {
        function.parameters.push_back(typeOf(parameter));
    }
    function.optionalParameters = json.value("optionalParameters", 0);
    function.returns = typeOf(json.at("returns"));
    return function;
}

ordered_json memberJson(const ReportedMember& member) {
    ordered_json json;
    if (member.id) {
        json["id"] = *member.id;
    } else {
        json["name"] = member.name;
    }
    json["use"] = member.use;
    ordered_json declared = ordered_json::array();
    for (const DeclaredFunction& function : member.declared) {
        declared.push_back(functionJson(function));
    }
    json["declared"] = std::move(declared);
    json["idOfName"] = member.idOfName ? ordered_json(*member.idOfName) : ordered_json(nullptr);
    json["returned"] = member.returned;
    return json;
}

ReportedMember memberOf(const ordered_json& json) {
    ReportedMember member;
    if (json.contains("id")) {
        member.id = json.at("id").get<std::int32_t>();
    } else {
        member.name = json.at("name").get<std::string>();
    }
    member.use = json.at("use").get<std::string>();
    for (const ordered_json& function : json.at("declared")) {
        member.declared.push_back(functionOf(function));
    }
    if (const ordered_json& id = json.at("idOfName"); !id.is_null()) {
        member.idOfName = id.get<std::int32_t>();
    }
    member.returned = json.at("returned").get<std::string>();
    return member;
}

ordered_json kindJson(const ReportedKind& kind) {
    ordered_json json{{"kind", kind.kind}, {"met", kind.met}};
    if (!kind.met) {
        return json;
    }
    if (kind.typeInfo) {
        const TypeAttributes& type = *kind.typeInfo;
        json["typeInfo"] = {
            {"name", type.name},           {"guid", type.guid},
            {"typeKind", type.typeKind},   {"functions", type.functions},
            {"variables", type.variables}, {"implementedTypes", type.implementedTypes}};
    } else {
        json["typeInfoProblem"] = kind.typeInfoProblem;
    }
    if (!kind.castIid.empty()) {
        json["cast"] = {{"iid", kind.castIid}, {"answer", kind.castAnswer}};
    }
    ordered_json members = ordered_json::array();
    for (const ReportedMember& member : kind.members) {
        members.push_back(memberJson(member));
    }
    json["members"] = std::move(members);
    return json;
}

ReportedKind kindOf(const ordered_json& json) {
    ReportedKind kind;
    kind.kind = json.at("kind").get<std::string>();
    kind.met = json.at("met").get<bool>();
    if (!kind.met) {
        return kind;
    }
    if (json.contains("typeInfo")) {
        const ordered_json& type = json.at("typeInfo");
        kind.typeInfo = TypeAttributes{
            type.at("name").get<std::string>(),     type.at("guid").get<std::string>(),
            type.at("typeKind").get<std::string>(), type.at("functions").get<int>(),
            type.at("variables").get<int>(),        type.at("implementedTypes").get<int>()};
    } else {
        kind.typeInfoProblem = json.at("typeInfoProblem").get<std::string>();
    }
    if (json.contains("cast")) {
        kind.castIid = json.at("cast").at("iid").get<std::string>();
        kind.castAnswer = json.at("cast").at("answer").get<std::string>();
    }
    for (const ordered_json& member : json.at("members")) {
        kind.members.push_back(memberOf(member));
    }
    return kind;
}

ordered_json formJson(const ColorQueryForm& form) {
    ordered_json json{{"form", form.form}, {"answer", form.answer}, {"returned", form.returned}};
    json["lowerBound"] = form.lowerBound ? ordered_json(*form.lowerBound) : ordered_json(nullptr);
    json["elements"] = form.elements ? ordered_json(*form.elements) : ordered_json(nullptr);
    return json;
}

std::optional<std::int32_t> optionalNumber(const ordered_json& json, const char* key) {
    const ordered_json& value = json.at(key);
    return value.is_null() ? std::nullopt : std::optional(value.get<std::int32_t>());
}

ColorQueryForm formOf(const ordered_json& json) {
    return {json.at("form").get<std::string>(), json.at("answer").get<std::string>(),
            json.at("returned").get<std::string>(), optionalNumber(json, "lowerBound"),
            optionalNumber(json, "elements")};
}

}  // namespace

const ReportedKind* ProbeReport::kindNamed(std::string_view kind) const {
    for (const ReportedKind& candidate : kinds) {
        if (candidate.kind == kind) {
            return &candidate;
        }
    }
    return nullptr;
}

std::string_view invokeKindText(InvokeKind kind) {
    for (const auto& [candidate, name] : invokeKinds) {
        if (candidate == kind) {
            return name;
        }
    }
    return "method";
}

namespace {
constexpr std::int32_t succeeded = 0;
constexpr std::int32_t noInterface = static_cast<std::int32_t>(0x80004002);
}  // namespace

std::string answerText(std::int32_t hresult) {
    if (hresult == succeeded) {
        return "S_OK";
    }
    if (hresult == noInterface) {
        return "E_NOINTERFACE";
    }
    return host::hexNumberText(hresult);
}

std::optional<std::int32_t> answerNumber(std::string_view text) {
    if (text == "S_OK") {
        return succeeded;
    }
    if (text == "E_NOINTERFACE") {
        return noInterface;
    }
    if (text.size() != 10 || !text.starts_with("0x")) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    const std::string_view digits = text.substr(2);
    const auto [end, problem] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (problem != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

std::string formText(const std::vector<DeclaredType>& form) {
    std::string text;
    for (const DeclaredType& type : form) {
        if (!text.empty()) {
            text += ',';
        }
        text += textOf(type);
    }
    return text;
}

std::optional<std::vector<DeclaredType>> parseForm(std::string_view text) {
    std::vector<DeclaredType> form;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::optional<DeclaredType> type = parseDeclaredType(text.substr(0, comma));
        if (!type) {
            return std::nullopt;
        }
        form.push_back(*type);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return form;
}

void writeProbeReport(std::ostream& out, const ProbeReport& report) {
    ordered_json json;
    json["format"] = probeReportFormat;
    json["probeVersion"] = report.probeVersion;
    json["solidEdge"] = {{"version", report.solidEdgeVersion},
                         {"instancesRunning", report.instancesRunning}};
    json["bareRoundTrips"] = {{"calls", report.roundTripCalls},
                              {"milliseconds", report.roundTripMilliseconds}};
    ordered_json kinds = ordered_json::array();
    for (const ReportedKind& kind : report.kinds) {
        kinds.push_back(kindJson(kind));
    }
    json["kinds"] = std::move(kinds);
    ordered_json forms = ordered_json::array();
    for (const ColorQueryForm& form : report.colorQuery) {
        forms.push_back(formJson(form));
    }
    json["colorQuery"] = std::move(forms);
    json["problems"] = report.problems;
    // The format on the first line: {"format": "tavrelmondix-probe/1",
    std::string text = json.dump(1);
    const std::string firstBreak = "{\n \"format\"";
    if (text.starts_with(firstBreak)) {
        text = "{\"format\"" + text.substr(firstBreak.size());
    }
    out << text << '\n';
}

ProbeReport readProbeReport(std::istream& in) {
    ordered_json json;
    try {
        json = ordered_json::parse(in);
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(std::string("not JSON: ") + error.what());
    }
    try {
        if (!json.is_object() || json.value("format", "") != probeReportFormat) {
            throw std::runtime_error("not a " + std::string(probeReportFormat) + " report");
        }
        ProbeReport report;
        report.probeVersion = json.at("probeVersion").get<std::string>();
        report.solidEdgeVersion = json.at("solidEdge").at("version").get<std::string>();
        report.instancesRunning = json.at("solidEdge").at("instancesRunning").get<int>();
        report.roundTripCalls = json.at("bareRoundTrips").at("calls").get<int>();
        report.roundTripMilliseconds = json.at("bareRoundTrips").at("milliseconds").get<double>();
        for (const ordered_json& kind : json.at("kinds")) {
            report.kinds.push_back(kindOf(kind));
        }
        for (const ordered_json& form : json.at("colorQuery")) {
            report.colorQuery.push_back(formOf(form));
        }
        report.problems = json.at("problems").get<std::vector<std::string>>();
        return report;
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(std::string("not a probe report as written: ") + error.what());
    }
}

}  // namespace tav::hosttypes
