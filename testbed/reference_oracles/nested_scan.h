// The plain nested scan that the pairing pass replaced: for every member,
// every part in turn until the first unused one with the same path and file
// name, compared without regard to case. The tests check the pairing against
// it; the scale benchmark times the two side by side.
#pragma once

#include <cstdint>

#include "engine/run_tables.h"
#include "engine/text.h"

namespace tav::reference {

inline void nestedScan(engine::RunTables& tables) {
    for (std::int32_t i = 1; i <= tables.members.count(); ++i) {
        auto& member = tables.members.at(i);
        for (std::int32_t j = 1; j <= tables.parts.count(); ++j) {
            auto& part = tables.parts.at(j);
            if (!part.used &&
                engine::lowerCase(member.assemblyPath) == engine::lowerCase(part.assemblyPath) &&
                engine::lowerCase(member.fileName) == engine::lowerCase(part.fileName)) {
                part.used = true;
                member.color = part.color;
                break;
            }
        }
    }
}

}  // namespace tav::reference
