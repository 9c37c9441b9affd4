// The engine state the main window holds for the life of the program.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/run_tables.h"
#include "host/value.h"

namespace tav::engine {

// What runs changed, for the command-line tool's document lines; the window
// never reads it. Counts only successful host calls.
struct RunStatistics {
    std::int32_t stylesCreated = 0;
    std::int32_t styleColorsPut = 0;
    std::int32_t memberStylesPut = 0;
    // Part members met in the processed views, and those given a colour.
    std::int32_t partMembers = 0;
    std::int32_t coloredMembers = 0;
    // A reset: members with at least one edge style put back (or, in a dry
    // run, that would be), and edge styles of ours left as they were because
    // where they came from is unknown or the put was refused.
    std::int32_t resetMembers = 0;
    std::int32_t edgeStylesKept = 0;
    std::int32_t stylesRemoved = 0;

    bool documentChanged() const {
        return stylesCreated + styleColorsPut + memberStylesPut + stylesRemoved > 0;
    }
};

// What the command-line tool does to the members of the views it processes;
// the window always colours.
enum class StyleAction {
    color,  // give each part its colour's styles
    reset,  // give each edge coloured by the tool back the style it was made from
};

// Where one of the tool's styles leads when it is reset: the first style not
// the tool's own on its chain of parents, or why there is none.
struct StyleOrigin {
    std::optional<std::u16string> style;
    std::u16string whyNone;
};

struct EngineState {
    host::ObjectRef hostApp;
    host::ObjectRef draftDocument;
    host::ObjectRef assemblyDocument;
    host::ObjectRef currentView;

    // Edge style names of the first eligible part member, used as templates
    // when line styles are created. Captured once per program life.
    std::u16string templateVisible;
    std::u16string templateHidden;
    std::u16string templateTangent;
    bool templateTaken = false;

    // Shared by both collection walks: one progress dot every tenth visit.
    std::int16_t dotCounter = 0;

    RunTables tables;

    // A dry run pairs and counts as a real one but creates no style and puts
    // nothing on a member.
    bool dryRun = false;
    RunStatistics statistics;

    // The command-line tool's choices; the window leaves them as they are.
    StyleAction styleAction = StyleAction::color;
    // Part colours darker than this contrast against white are darkened
    // before they name and colour their styles.
    std::optional<double> paperSafeRatio;
    // Read back while a document is reset: where each style of ours leads.
    std::map<std::u16string, StyleOrigin> styleOrigins;
    // In a dry run that will look for unused styles: each edge style a
    // member would change, from and to, so that the search sees the styles
    // as the run would have left them.
    bool recordPlannedStyles = false;
    std::vector<std::pair<std::u16string, std::u16string>> plannedStyleChanges;
};

}  // namespace tav::engine
