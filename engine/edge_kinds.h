// A model member's three edge styles and the suffix each of the tool's own
// line styles carries for it ("255_visible" is red's visible style).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "host/automation_ids.h"

namespace tav::engine {

struct EdgeKind {
    std::u16string_view suffix;
    host::DispId memberProperty;
};

inline constexpr std::size_t edgeKindCount = 3;

// Visible, hidden, tangent: the order of the report's columns.
inline constexpr std::array<EdgeKind, edgeKindCount> edgeKinds{{
    {u"_visible", host::dispatch::modelMember::visibleEdgeStyle},
    {u"_hidden", host::dispatch::modelMember::hiddenEdgeStyle},
    {u"_tangent", host::dispatch::modelMember::tangentEdgeStyle},
}};

}  // namespace tav::engine
