#include "tools/sehost-sim/server.h"

#include <objbase.h>
#include <oleauto.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/sim/scene_error.h"
#include "host/sim/sim_host.h"
#include "tools/sehost-sim/busy_filter.h"
#include "tools/sehost-sim/child_program.h"
#include "tools/sehost-sim/host_registration.h"
#include "tools/sehost-sim/host_result.h"
#include "tools/sehost-sim/served_object.h"
#include "tools/sehost-sim/server_ids.h"
#include "tools/sehost-sim/server_scene.h"
#include "tools/sehost-sim/stop_signals.h"

namespace tav::sehost {
namespace {

using Microsoft::WRL::ComPtr;

// The server's single-threaded apartment: incoming calls arrive as window
// messages on this thread while the serving loop pumps them.
class Apartment {
  public:
    Apartment() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(hr)) {
            throw std::runtime_error("CoInitializeEx failed (" + std::to_string(hr) + ")");
        }
    }
    ~Apartment() { CoUninitialize(); }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
};

// The application object in the running-object table, revoked when it goes.
class RunningEntry {
  public:
    explicit RunningEntry(IUnknown* application) {
        const HRESULT hr =
            RegisterActiveObject(application, serverClassId, ACTIVEOBJECT_STRONG, &cookie_);
        if (FAILED(hr)) {
            throw std::runtime_error("RegisterActiveObject failed (" + std::to_string(hr) + ")");
        }
    }
    ~RunningEntry() { revoke(); }
    RunningEntry(const RunningEntry&) = delete;
    RunningEntry& operator=(const RunningEntry&) = delete;

    void revoke() {
        if (cookie_ != 0) {
            RevokeActiveObject(cookie_, nullptr);
            cookie_ = 0;
        }
    }

  private:
    DWORD cookie_ = 0;
};

enum class StopReason { programEnded, inputEnded, interrupted, timedOut };

// Pumps the apartment's messages (the clients' calls) until one of `waits`
// is signalled or the deadline passes.
StopReason serve(const std::vector<std::pair<HANDLE, StopReason>>& waits,
                 std::chrono::steady_clock::time_point deadline) {
    std::vector<HANDLE> handles;
    for (const auto& wait : waits) {
        handles.push_back(wait.first);
    }
    const auto count = static_cast<DWORD>(handles.size());
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return StopReason::timedOut;
        }
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, handles.data(), static_cast<DWORD>(left.count()),
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count) {
            return waits[woke - WAIT_OBJECT_0].second;
        }
        if (woke == WAIT_TIMEOUT) {
            return StopReason::timedOut;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void announceReady() {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

}  // namespace

int runServer(const ServerOptions& options) {
    ServerScene loaded;
    try {
        loaded = loadServerScene(std::filesystem::path(options.scene));
    } catch (const sim::SceneError& error) {
        std::cerr << error.what() << '\n';
        return refusedStatus;
    }

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    StopSignals stopSignals(options.program.empty());
    Apartment apartment;

    std::vector<sim::HostEvent> events;
    sim::SimHost host(std::move(loaded.scene),
                      [&](const sim::HostEvent& event) { events.push_back(event); });

    auto servedHost = std::make_shared<ServedHost>(host.inspector());
    servedHost->crashAtCall = loaded.crashAtCall;
    ComPtr<BusyFilter> filter =
        BusyFilter::make<BusyFilter>(loaded.busy.value_or(BusyCall{}), servedHost);
    InstalledFilter installedFilter(filter.Get());

    std::unique_ptr<HostRegistration> registration;
    std::unique_ptr<RunningEntry> running;
    ComPtr<ServedObject> application;
    if (host.running()) {
        try {
            registration =
                std::make_unique<HostRegistration>(options.allowInstalled, typeLibraryFile());
        } catch (const RegistrationRefused& refusal) {
            std::cerr << refusal.what() << '\n';
            return refusedStatus;
        }
        application = ServedObject::make<ServedObject>(host.application(), servedHost);
        running = std::make_unique<RunningEntry>(static_cast<IDispatch*>(application.Get()));
    }
    announceReady();

    std::unique_ptr<ChildProgram> program;
    std::vector<std::pair<HANDLE, StopReason>> waits{
        {stopSignals.interrupted(), StopReason::interrupted}};
    int status = 0;
    if (!options.program.empty()) {
        try {
            program = std::make_unique<ChildProgram>(options.program);
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
                    program->end(timedOutStatus);
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
    const nlohmann::ordered_json result =
        hostResultJson(host.inspector(), heldReferences, events, servedHost->names.lookups());
    running.reset();
    registration.reset();
    if (options.result) {
        try {
            writeResultFile(std::filesystem::path(*options.result), result);
        } catch (const std::exception& error) {
            std::cerr << "sehost-sim: " << error.what() << '\n';
            status = status == 0 ? 1 : status;
        }
    }
    stopSignals.finished();
    return status;
}

}  // namespace tav::sehost
