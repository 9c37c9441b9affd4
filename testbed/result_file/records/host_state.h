// The host's state as a result file records it: line styles, the part
// members' styles, and documents. The simulated host reports its state in
// these records; the result file writes, reads and compares them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tav::result {

struct LineStyleState {
    std::string name;
    std::int32_t color = 0;
    std::optional<std::string> templateName;  // empty for a style the scene brought
};

struct PartMemberState {
    std::string view;  // the drawing view's id
    std::string id;    // the member's id, or its index path ("V1/2/1")
    std::string path;  // names of the enclosing containers, "/" before each
    std::string name;
    std::string visible;
    std::string hidden;
    std::string tangent;
};

// One document as results show it. A closed document shows what it last
// saved (what the scene gave, when never saved).
struct DocumentState {
    std::string id;
    std::string path;  // "" when it has none
    bool open = false;
    bool active = false;
    std::int32_t saves = 0;
    std::optional<bool> unsaved;  // open documents only: changed since opened or saved
    bool draft = false;
    // Drafts only: the active sheet (1-based), the select set by view id or
    // item id, and the line styles in collection order.
    std::int32_t activeSheet = 0;
    std::vector<std::string> selection;
    std::vector<LineStyleState> lineStyles;
};

}  // namespace tav::result
