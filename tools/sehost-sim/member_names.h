// The late-bound names the simulated host answers to, and the dispatch ids
// the server gives them. GetIDsOfNames maps a name to an id of a range of its
// own, far from the host's real dispatch ids; Invoke maps it back, so that
// the simulated host sees the call by name exactly as in process.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/automation_ids.h"

namespace tav::sehost {

class MemberNames {
  public:
    // The id of a name the host knows (letter case ignored, as automation
    // names are), or nothing. Counts every name asked for.
    std::optional<host::DispId> idOf(std::u16string_view name);
    // The name behind an id from `idOf`, or nothing for a plain dispatch id.
    static std::optional<std::u16string_view> nameOf(host::DispId id);

    // Names resolved for clients so far.
    std::int32_t lookups() const { return lookups_; }

  private:
    std::int32_t lookups_ = 0;
};

}  // namespace tav::sehost
