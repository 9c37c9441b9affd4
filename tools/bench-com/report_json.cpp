#include "tools/bench-com/report_json.h"

namespace tav::benchcom {
namespace {

using nlohmann::ordered_json;

ordered_json serverJson(const ServerRoundTrips& server) {
    ordered_json json{{"total", server.total}};
    for (const RoundTripKind& kind : server.kinds) {
        json[kind.name] = kind.count;
    }
    json["objectsMarshalled"] = server.objectsMarshalled;
    return json;
}

ordered_json bareJson(const BareRoundTrip& bare) {
    const CallTimes& t = bare.times;
    return {{"serverReadySeconds", bare.serverReadySeconds},
            {"warmUpCalls", warmUpCalls},
            {"calls", t.calls},
            {"batchSize", t.batchSize},
            {"medianMs", t.medianMs},
            {"meanMs", t.meanMs},
            {"p10Ms", t.p10Ms},
            {"p90Ms", t.p90Ms},
            {"fastestMs", t.fastestMs},
            {"slowestMs", t.slowestMs},
            {"fastestBatchMs", t.fastestBatchMs},
            {"slowestBatchMs", t.slowestBatchMs},
            {"server", serverJson(bare.server)}};
}

ordered_json drawingJson(const DrawingRun& run, const BenchReport& report) {
    const double perCall = msPerHostCall(run);
    const auto calls = static_cast<double>(run.hostCalls);
    ordered_json perHostCall = ordered_json::object();
    for (const RoundTripKind& kind : run.server.kinds) {
        perHostCall[kind.name] = calls > 0 ? static_cast<double>(kind.count) / calls : 0.0;
    }
    perHostCall["total"] = calls > 0 ? static_cast<double>(run.server.total) / calls : 0.0;
    perHostCall["objectsMarshalled"] =
        calls > 0 ? static_cast<double>(run.server.objectsMarshalled) / calls : 0.0;
    return {{"drawing", scenegen::familyName(run.drawing.family)},
            {"typeLibrary", run.drawing.libraryName()},
            {"parts", run.drawing.parts},
            {"end", run.end},
            {"hostCalls", run.hostCalls},
            {"wallSeconds", run.wallSeconds},
            {"msPerHostCall", perCall},
            {"startUpSeconds", run.startUpSeconds},
            {"startUpHostCalls", run.startUpHostCalls},
            {"netMsPerHostCall", netMsPerHostCall(run)},
            {"timesBareBefore", perCall / report.bareBefore.times.medianMs},
            {"timesBareAfter", perCall / report.bareAfter.times.medianMs},
            {"roundTrips", serverJson(run.server)},
            {"roundTripsPerHostCall", perHostCall},
            {"client", run.client}};
}

}  // namespace

ordered_json reportJson(const BenchReport& report) {
    ordered_json drawings = ordered_json::array();
    for (const DrawingRun& run : report.drawings) {
        drawings.push_back(drawingJson(run, report));
    }
    return {{"machine", report.machine},
            {"bareBefore", bareJson(report.bareBefore)},
            {"bareAfter", bareJson(report.bareAfter)},
            {"drawings", std::move(drawings)}};
}

}  // namespace tav::benchcom
