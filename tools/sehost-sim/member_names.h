// The late-bound names the simulated host answers to, and the dispatch ids
// the server gives them, far from the host's real dispatch ids. GetIDsOfNames
// maps a name to an id; Invoke maps the id back, so that the simulated host
// sees the call by name exactly as in process.
//
// Two numberings:
// - shared: one id per name, whatever the object;
// - per interface, as a strict host's type library numbers them: each class
//   numbers the names it answers in its own order (object_classes.h), so an
//   id means another member, or none, on an object of another class.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/automation_ids.h"
#include "host/sim/object_classes.h"
#include "host/sim/scene.h"
#include "host/value.h"

namespace tav::sehost {

class MemberNames {
  public:
    explicit MemberNames(sim::ComStrictness::Names numbering) : numbering_(numbering) {}

    // The id of a name that objects of `objectClass` answer (letter case
    // ignored, as automation names are), or nothing. Counts every name asked for.
    std::optional<host::DispId> idOf(const sim::ObjectClass& objectClass, std::u16string_view name);
    // The member `id` stands for on an object of `objectClass`: a plain
    // dispatch id as it is, a name for an id that `idOf` gives out, nothing
    // for such an id that names no member of the class.
    std::optional<host::MemberName> memberOf(const sim::ObjectClass& objectClass,
                                             host::DispId id) const;

    // The id of a name the class answers, as `idOf` gives it, without
    // counting a look-up (for the type library's declarations).
    std::optional<host::DispId> numberOf(const sim::ObjectClass& objectClass,
                                         std::u16string_view name) const;

    // Names resolved for clients so far.
    std::int32_t lookups() const { return lookups_; }

  private:
    sim::ComStrictness::Names numbering_;
    std::int32_t lookups_ = 0;
};

}  // namespace tav::sehost
