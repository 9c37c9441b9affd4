#include "tools/bench-com/bare_round_trip.h"

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/com/apartment.h"
#include "host/com/automation_errors.h"
#include "host/com/variant.h"
#include "testbed/result_file/result_reader.h"
#include "testbed/server_process/server_protocol.h"
#include "testbed/server_process/server_start.h"

namespace tav::benchcom {
namespace {

using Clock = std::chrono::steady_clock;
using Microsoft::WRL::ComPtr;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The running "SolidEdge.Application", looked up as the tool looks it up.
ComPtr<IDispatch> runningApplication() {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(L"SolidEdge.Application", &clsid);
    if (FAILED(hr)) {
        throw com::errorFromHresult(hr);
    }
    ComPtr<IUnknown> running;
    hr = GetActiveObject(clsid, nullptr, running.GetAddressOf());
    if (FAILED(hr)) {
        throw com::errorFromHresult(hr);
    }
    ComPtr<IDispatch> application;
    hr = running.As(&application);
    if (FAILED(hr)) {
        throw com::errorFromHresult(hr);
    }
    return application;
}

// One Invoke that the server answers without a host call, made as the tool
// makes a property get: a result and an exception record travel with it.
void invokeDoingNothing(IDispatch* application) {
    DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
    com::Variant result;
    EXCEPINFO exception{};
    const HRESULT hr =
        application->Invoke(serverprocess::doNothingId, IID_NULL, LOCALE_USER_DEFAULT,
                            DISPATCH_PROPERTYGET | DISPATCH_METHOD, &noArguments, result.receive(),
                            &exception, nullptr);
    if (FAILED(hr)) {
        throw com::errorFromInvoke(hr, exception, application, IID_IDispatch);
    }
}

// Times `calls` Invokes, each on its own, after the warm-up.
std::vector<double> timeCalls(int calls) {
    // The tool's own apartment (with its message filter), so that the calls
    // take the path the tool's calls take.
    com::Apartment apartment;
    const ComPtr<IDispatch> application = runningApplication();
    for (int i = 0; i < warmUpCalls; ++i) {
        invokeDoingNothing(application.Get());
    }
    std::vector<double> callMs;
    callMs.reserve(static_cast<std::size_t>(calls));
    for (int i = 0; i < calls; ++i) {
        const Clock::time_point start = Clock::now();
        invokeDoingNothing(application.Get());
        callMs.push_back(millisecondsSince(start));
    }
    return callMs;
}

}  // namespace

BareRoundTrip measureBareRoundTrip(const std::filesystem::path& scene,
                                   const std::filesystem::path& roundTripsFile, int calls,
                                   int batchSize) {
    std::filesystem::remove(roundTripsFile);
    // Time enough for the calls however slow the machine is: 10 ms each.
    const int serverSeconds = 60 + calls / 100;
    const Clock::time_point start = Clock::now();
    platform::ChildProcess server = serverprocess::startServerBeside(
        {scene.wstring(), L"--timeout", std::to_wstring(serverSeconds), L"--round-trips",
         roundTripsFile.wstring()});
    serverprocess::waitUntilReady(server);
    BareRoundTrip bare;
    bare.serverReadySeconds = millisecondsSince(start) / 1000;
    bare.times = summarize(timeCalls(calls), batchSize);
    const DWORD status = server.finish(serverprocess::serverFinishing);
    if (status != 0) {
        throw std::runtime_error("sehost-sim.exe ended with exit status " + std::to_string(status) +
                                 " after the bare round trips");
    }
    bare.server = serverRoundTripsFrom(result::readJsonFile(roundTripsFile));
    return bare;
}

}  // namespace tav::benchcom
