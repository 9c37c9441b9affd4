// A draft's line styles found by name in constant time, so that drawings of
// tens of thousands of colours cost no more per call than drawings of a few.
// Names compare exactly, UTF-16 unit by unit, letter case included. The
// collection keeps its order; styles are only ever appended, never removed or
// renamed, so a position once found stays valid.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/sim/scene.h"

namespace tav::sim {

class LineStyleIndex {
  public:
    // Indexes `styles` as they are; the collection must outlive the index and
    // grow only through `append`.
    explicit LineStyleIndex(std::vector<LineStyle>& styles);

    // The position of the first style named exactly `name`.
    std::optional<std::size_t> find(std::u16string_view name) const;
    // Appends `style` to the collection and returns its position.
    std::size_t append(LineStyle style);

  private:
    void add(std::size_t position);

    std::vector<LineStyle>* styles_;
    // Positions by the hash of their name; names that collide share a hash.
    std::unordered_multimap<std::size_t, std::size_t> positions_;
};

}  // namespace tav::sim
