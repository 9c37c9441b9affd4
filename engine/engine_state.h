// The engine state the main window holds for the life of the program.
#pragma once

#include <cstdint>
#include <string>

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

    bool documentChanged() const { return stylesCreated + styleColorsPut + memberStylesPut > 0; }
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
};

}  // namespace tav::engine
