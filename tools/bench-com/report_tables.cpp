#include "tools/bench-com/report_tables.h"

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

namespace tav::benchcom {
namespace {

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

// 12659 as "12,659", as the docs write counts.
std::string count(std::int64_t value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back(',');
        }
        text.push_back(digits[i]);
    }
    return text;
}

std::string ratio(double value, double unit, int decimals) {
    return unit > 0 ? fixed(value / unit, decimals) : "-";
}

void printBareRow(std::ostream& out, const char* when, const BareRoundTrip& bare) {
    const CallTimes& t = bare.times;
    out << "| " << when << " | " << count(t.calls) << " | " << fixed(t.medianMs, 3) << " | "
        << fixed(t.meanMs, 3) << " | " << fixed(t.p10Ms, 3) << "–" << fixed(t.p90Ms, 3) << " | "
        << fixed(t.fastestBatchMs, 3) << "–" << fixed(t.slowestBatchMs, 3) << " | "
        << (t.medianMs > 0 ? count(static_cast<std::int64_t>(1000 / t.medianMs)) : "-") << " | "
        << count(bare.server.count("invoke")) << " of " << count(bare.server.total) << " | "
        << fixed(bare.serverReadySeconds, 2) << " |\n";
}

void printBare(std::ostream& out, const BenchReport& report) {
    out << "| bare round trip | calls | median ms | mean ms | p10–p90 ms | batch means ms | "
           "calls/s | server's count: Invokes of all round trips | sehost-sim ready after s |\n"
           "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    printBareRow(out, "before the drawings", report.bareBefore);
    printBareRow(out, "after the drawings", report.bareAfter);
    out << "\nEach call an Invoke of the id that every served object answers at once, without a "
           "host call, timed on its own after "
        << warmUpCalls << " untimed ones; batch means: the fastest and slowest mean of "
        << report.bareBefore.times.batchSize
        << " calls in a row. The server's count includes the untimed calls and the runtime's own "
           "few (looking the application up, releasing it).\n";
}

void printDrawings(std::ostream& out, const BenchReport& report) {
    const double before = report.bareBefore.times.medianMs;
    const double after = report.bareAfter.times.medianMs;
    out << "| drawing | library | parts | ended | host calls | whole run s | ms per host call | × "
           "bare "
           "before | × bare after | start-up s | net ms per host call | net × bare | round trips "
           "| per host call | round trips × bare ÷ whole run |\n"
           "|---|---|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const DrawingRun& run : report.drawings) {
        const double perCall = msPerHostCall(run);
        const auto calls = static_cast<double>(run.hostCalls);
        const double roundTripMs = static_cast<double>(run.server.total) * bareMedianMs(report);
        out << "| " << scenegen::familyName(run.drawing.family) << " | "
            << run.drawing.libraryName() << " | " << count(run.drawing.parts) << " | " << run.end
            << " | " << count(run.hostCalls) << " | " << fixed(run.wallSeconds, 1) << " | "
            << fixed(perCall, 3) << " | " << ratio(perCall, before, 1) << " | "
            << ratio(perCall, after, 1) << " | " << fixed(run.startUpSeconds, 2) << " | "
            << fixed(netMsPerHostCall(run), 3) << " | "
            << ratio(netMsPerHostCall(run), bareMedianMs(report), 1) << " | "
            << count(run.server.total) << " | "
            << ratio(static_cast<double>(run.server.total), calls, 2) << " | "
            << (run.wallSeconds > 0 ? fixed(100 * roundTripMs / (run.wallSeconds * 1000), 0) + " %"
                                    : "-")
            << " |\n";
    }
    out << "\nWhole run: the harness's process from start to end by the wall clock, "
           "sehost-sim.exe's start-up and the result file included. Start-up: the same drawing "
           "with Exit pressed at once, which is what a whole run spends around the run itself; "
           "net: the whole run less that, over the host calls less start-up's own, against the "
           "mean of the two bare medians. Round trips: every call the "
           "server took from the client. The last column: the round trips at the bare median "
           "(the mean of before and after) as a share of the whole run.\n";
}

// One table of the round trips by kind: per host call, or in total.
void printKinds(std::ostream& out, const BenchReport& report, bool perHostCall) {
    out << "| drawing | library | parts";
    for (const std::string& kind : roundTripKindNames()) {
        out << " | " << kind;
    }
    out << " | all | objects marshalled |\n|---|---|---:";
    for (std::size_t i = 0; i < roundTripKindNames().size() + 2; ++i) {
        out << "|---:";
    }
    out << "|\n";
    for (const DrawingRun& run : report.drawings) {
        const auto calls = static_cast<double>(run.hostCalls);
        auto cell = [&](std::int64_t value) {
            return perHostCall ? ratio(static_cast<double>(value), calls, 3) : count(value);
        };
        out << "| " << scenegen::familyName(run.drawing.family) << " | "
            << run.drawing.libraryName() << " | " << count(run.drawing.parts);
        for (const RoundTripKind& kind : run.server.kinds) {
            out << " | " << cell(kind.count);
        }
        out << " | " << cell(run.server.total) << " | " << cell(run.server.objectsMarshalled)
            << " |\n";
    }
}

// The round trips spent on type information (asking an object for it, and
// every call on what it gave), per run and per host call.
void printTypeInformation(std::ostream& out, const BenchReport& report) {
    out << "| drawing | library | parts | getTypeInfo | calls on type information | type "
           "information in all | per host call | name lookups |\n"
           "|---|---|---:|---:|---:|---:|---:|---:|\n";
    for (const DrawingRun& run : report.drawings) {
        const std::int64_t asked = run.server.count("getTypeInfo");
        const std::int64_t calls = run.server.count("typeInfoCalls");
        out << "| " << scenegen::familyName(run.drawing.family) << " | "
            << run.drawing.libraryName() << " | " << count(run.drawing.parts) << " | "
            << count(asked) << " | " << count(calls) << " | " << count(asked + calls) << " | "
            << ratio(static_cast<double>(asked + calls), static_cast<double>(run.hostCalls), 3)
            << " | " << count(run.server.count("getIDsOfNames")) << " |\n";
    }
}

}  // namespace

void printTables(std::ostream& out, const BenchReport& report) {
    out << "Measured on " << report.machine << ".\n\n";
    printBare(out, report);
    out << "\n";
    printDrawings(out, report);
    out << "\nRound trips by kind, per host call:\n\n";
    printKinds(out, report, true);
    out << "\nRound trips by kind, in total:\n\n";
    printKinds(out, report, false);
    out << "\nType information:\n\n";
    printTypeInformation(out, report);
}

}  // namespace tav::benchcom
