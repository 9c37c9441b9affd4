#include "engine/pairing.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text.h"

namespace tav::engine {
namespace {

// The lower-cased path and file name in one string, the lower-cased path's
// length first (two units), so that no two pairs share a key.
void appendKey(std::u16string& out, const std::u16string& assemblyPath,
               const std::u16string& fileName) {
    const std::size_t lengthAt = out.size();
    out.append(2, u'\0');
    appendLowerCase(out, assemblyPath);
    const std::size_t pathLength = out.size() - lengthAt - 2;
    out[lengthAt] = static_cast<char16_t>(pathLength & 0xFFFF);
    out[lengthAt + 1] = static_cast<char16_t>(pathLength >> 16 & 0xFFFF);
    appendLowerCase(out, fileName);
}

std::size_t hashOf(std::u16string_view key) {
    return std::hash<std::u16string_view>{}(key);
}

// The unused parts of every pair, in table order: an open-addressing table
// with one slot per pair, each the head of a chain of part positions. The
// part keys sit end to end in one string, so that a drawing of tens of
// thousands of parts costs a few allocations, not one per part.
class UnusedParts {
  public:
    // `keyUnits`: the length of all part keys together, or an estimate.
    UnusedParts(std::int32_t partCount, std::size_t keyUnits)
        : slots_(std::bit_ceil(static_cast<std::size_t>(partCount) * 2 + 2)),
          keyStart_(static_cast<std::size_t>(partCount) + 2, 0),
          nextOfPair_(static_cast<std::size_t>(partCount) + 1, 0) {
        keys_.reserve(keyUnits);
    }

    // Adds part `j` at the end of its pair's chain. Every part is added, in
    // rising positions from 1, before the first take.
    void add(std::int32_t j, const PartRecord& part) {
        const auto at = static_cast<std::size_t>(j);
        keyStart_[at] = keys_.size();
        appendKey(keys_, part.assemblyPath, part.fileName);
        keyStart_[at + 1] = keys_.size();
        const std::u16string_view key = keyOfPart(j);
        const std::size_t hash = hashOf(key);
        Slot& slot = find(key, hash);
        if (slot.sample == 0) {
            slot = Slot{static_cast<std::uint32_t>(hash), j, j, j};
        } else {
            nextOfPair_[static_cast<std::size_t>(slot.last)] = j;
        }
        slot.last = j;
    }

    // Takes the first unused part of the pair `key`; 0 when none is left.
    std::int32_t take(std::u16string_view key) {
        Slot& slot = find(key, hashOf(key));
        const std::int32_t j = slot.first;
        if (j != 0) {
            slot.first = nextOfPair_[static_cast<std::size_t>(j)];
        }
        return j;
    }

  private:
    // Small, so that the table of a large drawing stays in the cache.
    struct Slot {
        std::uint32_t hash = 0;   // the hash's low half: most unequal keys differ here
        std::int32_t sample = 0;  // a part of the pair, for its key; 0: empty slot
        std::int32_t first = 0;   // the first unused part; 0 when none is left
        std::int32_t last = 0;
    };

    std::u16string_view keyOfPart(std::int32_t j) const {
        const auto at = static_cast<std::size_t>(j);
        return std::u16string_view(keys_).substr(keyStart_[at], keyStart_[at + 1] - keyStart_[at]);
    }

    // The pair's slot, or the empty slot where it goes.
    Slot& find(std::u16string_view key, std::size_t hash) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.sample == 0) {
                return slot;
            }
            if (slot.hash == static_cast<std::uint32_t>(hash) && keyOfPart(slot.sample) == key) {
                return slot;
            }
        }
    }

    std::vector<Slot> slots_;  // at least half empty, so every probe ends
    std::u16string keys_;
    std::vector<std::size_t> keyStart_;
    std::vector<std::int32_t> nextOfPair_;
};

}  // namespace

void pairMembers(RunTables& tables) {
    const std::int16_t memberBound = tables.members.loopBound();
    if (memberBound == 0) {
        return;
    }
    const std::int16_t partBound = tables.parts.loopBound();

    std::size_t keyUnits = 0;
    for (std::int32_t j = 1; j <= partBound; ++j) {
        const PartRecord& part = tables.parts.at(j);
        keyUnits += 2 + part.assemblyPath.size() + part.fileName.size();
    }
    UnusedParts unused(partBound, keyUnits);
    for (std::int32_t j = 1; j <= partBound; ++j) {
        const PartRecord& part = tables.parts.at(j);
        if (!part.used) {
            unused.add(j, part);
        }
    }

    std::u16string key;
    for (std::int32_t i = 1; i <= memberBound; ++i) {
        MemberRecord& member = tables.members.at(i);
        key.clear();
        appendKey(key, member.assemblyPath, member.fileName);
        const std::int32_t j = unused.take(key);
        if (j == 0) {
            continue;
        }
        PartRecord& part = tables.parts.at(j);
        part.used = true;
        member.color = part.color;
    }
}

}  // namespace tav::engine
