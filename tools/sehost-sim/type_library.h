// The type library the server builds at run time: one dispatch interface per
// class of the host's objects (host_classes.h), each inheriting IDispatch.
// Once registered, the COM runtime marshals the host's interfaces between
// processes (QueryInterface for a host interface on a proxy needs it), and
// the served objects hand out their class's type information from it.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <filesystem>

#include "host/sim/object_classes.h"
#include "tools/sehost-sim/member_names.h"

namespace tav::sehost {

enum class RegistrationScope { user, machine };

// A registered type library, unregistered and its file deleted when it goes.
class RegisteredTypeLibrary {
  public:
    // Builds the library into `file` and registers it for `scope`. Throws
    // std::runtime_error with the failing step and its HRESULT.
    // `names` gives the ids of the late-bound names the classes declare.
    RegisteredTypeLibrary(const std::filesystem::path& file, RegistrationScope scope,
                          const MemberNames& names);
    ~RegisteredTypeLibrary();
    RegisteredTypeLibrary(const RegisteredTypeLibrary&) = delete;
    RegisteredTypeLibrary& operator=(const RegisteredTypeLibrary&) = delete;

    // The type information of `objectClass`: the same object every time.
    Microsoft::WRL::ComPtr<ITypeInfo> typeInfoOf(const sim::ObjectClass& objectClass) const;

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
