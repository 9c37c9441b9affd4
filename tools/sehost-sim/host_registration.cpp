#include "tools/sehost-sim/host_registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "platform/win/wide_text.h"
#include "tools/sehost-sim/server_ids.h"

namespace tav::sehost {
namespace {

const char* scopeName(RegistrationScope scope) {
    return scope == RegistrationScope::user ? "this user" : "the machine";
}

// The registration COM sees, in the first scope where it resolves to us.
std::unique_ptr<ClassRegistration> registerWhereSeen(bool foreignForUser, bool foreignForMachine) {
    if (!foreignForUser) {
        auto user = std::make_unique<ClassRegistration>(RegistrationScope::user);
        if (comResolvesToServer()) {
            return user;
        }
    }
    // COM here ignores the user's classes (Wine), or another program's
    // registration for the user hides ours.
    if (foreignForMachine) {
        throw RegistrationRefused(
            "sehost-sim: COM here sees only machine-wide classes, where SolidEdge.Application "
            "belongs to another program; not overwriting it");
    }
    std::unique_ptr<ClassRegistration> machine;
    try {
        machine = std::make_unique<ClassRegistration>(RegistrationScope::machine);
    } catch (const RegistrationDenied&) {
        throw RegistrationRefused(
            "sehost-sim: COM here sees only machine-wide classes, and registering "
            "SolidEdge.Application in HKLM\\Software\\Classes is not allowed for this user");
    }
    if (!comResolvesToServer()) {
        throw RegistrationRefused(
            "sehost-sim: SolidEdge.Application does not resolve to the simulated host even "
            "after registering it (another program's registration hides it)");
    }
    return machine;
}

}  // namespace

bool serverIsRunning() {
    Microsoft::WRL::ComPtr<IUnknown> running;
    return SUCCEEDED(GetActiveObject(serverClassId, nullptr, running.GetAddressOf()));
}

HostRegistration::HostRegistration(bool allowInstalled,
                                   const std::filesystem::path& typeLibraryFile,
                                   const sim::ServedLibrary& served) {
    bool foreign[2] = {false, false};
    bool leftover = false;
    for (RegistrationScope scope : {RegistrationScope::user, RegistrationScope::machine}) {
        switch (existingRegistration(scope)) {
            case ExistingRegistration::none:
                break;
            case ExistingRegistration::leftoverOfOurs:
                if (serverIsRunning()) {
                    throw RegistrationRefused(
                        "sehost-sim: another sehost-sim is serving SolidEdge.Application; "
                        "not replacing it");
                }
                removeLeftover(scope);
                leftover = true;
                break;
            case ExistingRegistration::foreign:
                if (!allowInstalled) {
                    throw RegistrationRefused(
                        std::string("sehost-sim: SolidEdge.Application is registered for ") +
                        scopeName(scope) + " by another program (class " +
                        platform::utf8Text(registeredClassId(scope)) +
                        "); not taking over an installed Solid Edge (--allow-installed serves "
                        "beside it)");
                }
                foreign[scope == RegistrationScope::user ? 0 : 1] = true;
                break;
        }
    }
    if (leftover) {
        removeLeftoverTypeLibrary();
    }
    classes_ = registerWhereSeen(foreign[0], foreign[1]);
    typeLibrary_ =
        std::make_unique<RegisteredTypeLibrary>(typeLibraryFile, classes_->scope(), served);
}

}  // namespace tav::sehost
