#include "tools/sehost-sim/server.h"

#include <objbase.h>
#include <oleauto.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/com/apartment.h"
#include "host/sim/scene_error.h"
#include "host/sim/scene_loader.h"
#include "host/sim/served_library.h"
#include "host/sim/sim_host.h"
#include "host/types/probe_report.h"
#include "platform/win/child_process.h"
#include "platform/win/installed_message_filter.h"
#include "testbed/server_process/error_object_channel.h"
#include "tools/sehost-sim/host_registration.h"
#include "tools/sehost-sim/host_result.h"
#include "tools/sehost-sim/incoming_calls.h"
#include "tools/sehost-sim/served_object.h"
#include "tools/sehost-sim/server_ids.h"
#include "tools/sehost-sim/serving.h"
#include "tools/sehost-sim/stop_signals.h"

namespace tav::sehost {
namespace {

using Microsoft::WRL::ComPtr;

// The library a probe's report describes. Raises std::runtime_error with
// the file and what is wrong.
sim::ServedLibrary reportedLibraryOf(const std::wstring& report,
                                     const sim::ComStrictness& strictness) {
    const std::filesystem::path file(report);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read the type library's report " + file.string());
    }
    try {
        return sim::reportedLibrary(strictness, hosttypes::readProbeReport(in));
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(file.string() + ": " + error.what());
    }
}

void announceReady() {
    std::fputs(serverprocess::readyLine, stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

}  // namespace

int runServer(const ServerOptions& options) {
    sim::Scene scene;
    try {
        scene = sim::loadScene(std::filesystem::path(options.scene));
    } catch (const sim::SceneError& error) {
        std::cerr << error.what() << '\n';
        return refusedStatus;
    }

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    StopSignals stopSignals(options.program.empty());
    ServerApartment apartment;
    com::namePlainDispatchProxy();
    serverprocess::carryErrorObjectsAcrossProcesses();

    // The keys that act over COM only: the in-process host ignores them.
    const sim::BusyHost busy = scene.busy.value_or(sim::BusyHost{});
    const std::optional<std::int32_t> crashAtCall = scene.crashAtCall;
    const sim::ComStrictness strictness = scene.com;
    sim::ServedLibrary library;
    try {
        library = options.typeLibrary ? reportedLibraryOf(*options.typeLibrary, strictness)
                                      : sim::servedLibrary(strictness);
    } catch (const std::runtime_error& error) {
        std::cerr << "sehost-sim: " << error.what() << '\n';
        return refusedStatus;
    }
    std::vector<result::HostEvent> events;
    sim::SimHost host(std::move(scene),
                      [&](const result::HostEvent& event) { events.push_back(event); });

    auto servedHost =
        std::make_shared<ServedHost>(host.inspector(), strictness, std::move(library));
    servedHost->crashAtCall = crashAtCall;
    ComPtr<IncomingCallFilter> filter =
        IncomingCallFilter::make<IncomingCallFilter>(busy, strictness.busyKinds, servedHost);
    const platform::InstalledMessageFilter installedFilter(filter.Get());

    std::unique_ptr<HostRegistration> registration;
    std::unique_ptr<RunningEntry> running;
    ComPtr<ServedObject> application;
    if (host.running()) {
        try {
            registration = std::make_unique<HostRegistration>(
                options.allowInstalled, typeLibraryFile(), servedHost->library);
        } catch (const RegistrationRefused& refusal) {
            std::cerr << refusal.what() << '\n';
            return refusedStatus;
        }
        servedHost->typeLibrary = &registration->typeLibrary();
        application = ServedObject::make<ServedObject>(host.application(), servedHost);
        running = std::make_unique<RunningEntry>(static_cast<IDispatch*>(application.Get()));
    }
    announceReady();

    // Started with the server's standard streams; left running if the
    // server ends first (it ends it itself when its time runs out).
    std::optional<platform::ChildProcess> program;
    std::vector<std::pair<HANDLE, StopReason>> waits{
        {stopSignals.interrupted(), StopReason::interrupted}};
    int status = 0;
    if (!options.program.empty()) {
        try {
            program.emplace(options.program,
                            platform::LaunchOptions{.patienceWhenOwnerGoes = std::nullopt});
            waits.emplace_back(program->process(), StopReason::programEnded);
        } catch (const std::runtime_error& error) {
            std::cerr << "sehost-sim: " << error.what() << '\n';
            status = refusedStatus;
        }
    } else {
        waits.emplace_back(stopSignals.inputEnded(), StopReason::inputEnded);
    }

    if (status == 0) {
        switch (serve(waits, deadline)) {
            case StopReason::programEnded:
                status = static_cast<int>(program->exitStatus());
                break;
            case StopReason::inputEnded:
                status = 0;
                break;
            case StopReason::interrupted:
                status = interruptedStatus;
                break;
            case StopReason::timedOut:
                std::cerr << "sehost-sim: the timeout of " << options.timeoutSeconds
                          << " s passed; ending\n";
                if (program) {
                    program->terminate(timedOutStatus);
                }
                status = timedOutStatus;
                break;
        }
    }

    // Finishing. Once the table's connection to the application is gone,
    // what is held is what clients hold.
    if (running) {
        running->revoke();
    }
    application.Reset();
    const std::int32_t heldReferences = servedHost->heldByClients();
    std::optional<std::int32_t> rejectedReleases;
    if (strictness.busyKinds == sim::ComStrictness::BusyKinds::all) {
        rejectedReleases =
            static_cast<std::int32_t>(servedHost->roundTrips.referencesKeptByRejections());
    }
    const std::string result =
        hostResultText(host.inspector(), heldReferences, rejectedReleases, events,
                       servedHost->nameLookups, options.servesCommandLineTool());
    running.reset();
    servedHost->typeLibrary = nullptr;
    registration.reset();
    std::vector<std::pair<std::wstring, std::string>> files;
    if (options.result) {
        files.emplace_back(*options.result, result);
    }
    if (options.roundTrips) {
        files.emplace_back(*options.roundTrips, servedHost->roundTrips.jsonText());
    }
    for (const auto& [path, text] : files) {
        try {
            writeResultFile(std::filesystem::path(path), text);
        } catch (const std::exception& error) {
            std::cerr << "sehost-sim: " << error.what() << '\n';
            status = status == 0 ? 1 : status;
        }
    }
    stopSignals.finished();
    return status;
}

}  // namespace tav::sehost
