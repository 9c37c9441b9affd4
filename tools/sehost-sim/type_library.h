// The type library the server builds at run time from the served library's
// types (host/sim/served_library.h): one dispatch interface per type, each
// inheriting IDispatch, declaring its functions with their parameter and
// result types, and the enumerations those name. Once registered, the COM
// runtime marshals the host's interfaces between processes (QueryInterface
// for a host interface on a proxy needs it), and the served objects hand out
// their class's type information from it.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <filesystem>

#include "host/sim/served_library.h"

namespace tav::sehost {

enum class RegistrationScope { user, machine };

// A registered type library, unregistered and its file deleted when it goes.
class RegisteredTypeLibrary {
  public:
    // Builds the library into `file` and registers it for `scope`. Throws
    // std::runtime_error with the failing step and its HRESULT.
    RegisteredTypeLibrary(const std::filesystem::path& file, RegistrationScope scope,
                          const sim::ServedLibrary& served);
    ~RegisteredTypeLibrary();
    RegisteredTypeLibrary(const RegisteredTypeLibrary&) = delete;
    RegisteredTypeLibrary& operator=(const RegisteredTypeLibrary&) = delete;

    // The type information of the served library's type `id`: the same
    // object every time.
    Microsoft::WRL::ComPtr<ITypeInfo> typeInfoOf(const host::InterfaceId& id) const;

  private:
    std::filesystem::path file_;
    RegistrationScope scope_;
    Microsoft::WRL::ComPtr<ITypeLib> library_;
};

// Removes a registration of the server's type library left by a server that
// crashed, in either scope, and its file. Not an error when there is none.
void removeLeftoverTypeLibrary();

// Where this server builds its type library: a temporary file of its own.
std::filesystem::path typeLibraryFile();

}  // namespace tav::sehost
