// The engine state the main window holds for the life of the program.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_tables.h"
#include "host/value.h"

namespace tav::engine {

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
};

}  // namespace tav::engine
