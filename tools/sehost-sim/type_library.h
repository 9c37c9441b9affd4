// The type library the server builds at run time: one dispatch interface per
// interface id of the host's object table, each inheriting IDispatch. Once
// registered, the COM runtime marshals those interfaces between processes
// (QueryInterface for a host interface on a proxy needs it).
#pragma once

#include <windows.h>

#include <filesystem>

namespace tav::sehost {

enum class RegistrationScope { user, machine };

// A registered type library, unregistered and its file deleted when it goes.
class RegisteredTypeLibrary {
  public:
    // Builds the library into `file` and registers it for `scope`. Throws
    // std::runtime_error with the failing step and its HRESULT.
    RegisteredTypeLibrary(const std::filesystem::path& file, RegistrationScope scope);
    ~RegisteredTypeLibrary();
    RegisteredTypeLibrary(const RegisteredTypeLibrary&) = delete;
    RegisteredTypeLibrary& operator=(const RegisteredTypeLibrary&) = delete;

  private:
    std::filesystem::path file_;
    RegistrationScope scope_;
};

// Removes a registration of the server's type library left by a server that
// crashed, in either scope, and its file. Not an error when there is none.
void removeLeftoverTypeLibrary();

// Where this server builds its type library: a temporary file of its own.
std::filesystem::path typeLibraryFile();

}  // namespace tav::sehost
