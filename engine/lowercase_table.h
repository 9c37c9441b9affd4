// Unicode's simple lowercase mapping, sorted by code point.
#pragma once

#include <cstddef>

namespace tav::engine {

struct LowercasePair {
    char32_t from;
    char32_t to;
};

extern const LowercasePair lowercaseTable[];
extern const std::size_t lowercaseTableSize;

}  // namespace tav::engine
