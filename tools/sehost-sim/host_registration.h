// Everything that makes the simulated host reachable as the running
// "SolidEdge.Application": the class registration, in the scope where COM
// sees it, and the run-time type library. Removed again when it goes.
//
// The server never takes over another program's registration: an identifier
// registered by anything but an earlier server of ours is refused (unless
// installed programs are allowed, and even then never overwritten), a
// leftover of a server that crashed is replaced, and a server that is still
// serving is left alone.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "host/sim/served_library.h"
#include "tools/sehost-sim/class_registration.h"
#include "tools/sehost-sim/type_library.h"

namespace tav::sehost {

// The server will not register; what() is the one line to show.
class RegistrationRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class HostRegistration {
  public:
    // Raises RegistrationRefused, or std::runtime_error for a failure.
    // `served`: the types the run-time type library declares.
    HostRegistration(bool allowInstalled, const std::filesystem::path& typeLibraryFile,
                     const sim::ServedLibrary& served);

    RegistrationScope scope() const { return classes_->scope(); }
    const RegisteredTypeLibrary& typeLibrary() const { return *typeLibrary_; }

  private:
    std::unique_ptr<ClassRegistration> classes_;
    std::unique_ptr<RegisteredTypeLibrary> typeLibrary_;
};

// Whether a server of ours is serving now (its entry in the running-object
// table answers).
bool serverIsRunning();

}  // namespace tav::sehost
