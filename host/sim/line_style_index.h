// A draft's line styles found by name in constant time, so that drawings of
// tens of thousands of colours cost no more per call than drawings of a few.
// Names compare exactly, UTF-16 unit by unit, letter case included. The
// collection keeps its order. Each style also has a serial number of its own
// that no later style takes, so that an object the tool holds for a style
// finds that style however the collection changed, or learns that it is gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/sim/scene.h"

namespace tav::sim {

class LineStyleIndex {
  public:
    // Indexes `styles` as they are, numbering those without a serial; the
    // collection must outlive the index and change only through it (or be
    // replaced whole, then `reindex`).
    explicit LineStyleIndex(std::vector<LineStyle>& styles);

    // The position of the first style named exactly `name`.
    std::optional<std::size_t> find(std::u16string_view name) const;
    // The position of the style with this serial, while it is held.
    std::optional<std::size_t> findSerial(std::uint32_t serial) const;
    // Appends `style` under a new serial and returns its position.
    std::size_t append(LineStyle style);
    // Takes the style at `position` out of the collection.
    void remove(std::size_t position);
    // After the collection was replaced whole (a document going back to its
    // saved state).
    void reindex();

  private:
    void add(std::size_t position);

    std::vector<LineStyle>* styles_;
    // Positions by the hash of their name; names that collide share a hash.
    std::unordered_multimap<std::size_t, std::size_t> positions_;
    std::unordered_map<std::uint32_t, std::size_t> serials_;
    std::uint32_t nextSerial_ = 1;
};

}  // namespace tav::sim
