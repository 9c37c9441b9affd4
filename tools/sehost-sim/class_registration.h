// The registry keys that make "SolidEdge.Application" name the server's own
// class: the programmatic identifier with its class id, and the class key.
// Keys are written under Software\Classes of the current user or of the
// machine; every key made is removed again when the registration goes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/sehost-sim/type_library.h"

namespace tav::sehost {

// Who holds the programmatic identifier in one scope before the server starts.
enum class ExistingRegistration { none, leftoverOfOurs, foreign };

ExistingRegistration existingRegistration(RegistrationScope scope);
// The class id the identifier names in `scope`, as registry text (for messages).
std::wstring registeredClassId(RegistrationScope scope);
// Removes a leftover of ours in `scope` (its keys only).
void removeLeftover(RegistrationScope scope);

// Thrown when keys cannot be written in a scope (access denied).
class RegistrationDenied : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ClassRegistration {
  public:
    // Writes the keys in `scope`; throws RegistrationDenied when the scope
    // cannot be written, std::runtime_error for other failures.
    explicit ClassRegistration(RegistrationScope scope);
    ~ClassRegistration();
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;

    RegistrationScope scope() const { return scope_; }

  private:
    void removeMadeKeys();

    RegistrationScope scope_;
    // Paths below the scope's root that this registration created.
    std::vector<std::wstring> madeKeys_;
};

// Whether COM resolves the programmatic identifier to the server's class id.
bool comResolvesToServer();

}  // namespace tav::sehost
