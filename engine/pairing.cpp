#include "engine/pairing.h"

#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

#include "engine/text.h"

namespace tav::engine {
namespace {

struct PairKey {
    std::u16string asmPath;
    std::u16string fileName;
    bool operator==(const PairKey&) const = default;
};

struct PairKeyHash {
    std::size_t operator()(const PairKey& key) const {
        std::hash<std::u16string> hash;
        return hash(key.asmPath) * 31 + hash(key.fileName);
    }
};

PairKey keyOf(const std::u16string& asmPath, const std::u16string& fileName) {
    return {lowerCase(asmPath), lowerCase(fileName)};
}

}  // namespace

void pairMembers(RunTables& tables) {
    const std::int16_t memberBound = tables.members.loopBound();
    if (memberBound == 0) {
        return;
    }
    const std::int16_t partBound = tables.parts.loopBound();

    // Unused parts of each pair, in table order: the front is the first fit.
    std::unordered_map<PairKey, std::deque<std::int32_t>, PairKeyHash> unusedParts;
    for (std::int32_t j = 1; j <= partBound; ++j) {
        const PartRecord& part = tables.parts.at(j);
        if (!part.used) {
            unusedParts[keyOf(part.asmPath, part.fileName)].push_back(j);
        }
    }

    for (std::int32_t i = 1; i <= memberBound; ++i) {
        MemberRecord& member = tables.members.at(i);
        auto found = unusedParts.find(keyOf(member.asmPath, member.fileName));
        if (found == unusedParts.end() || found->second.empty()) {
            continue;
        }
        PartRecord& part = tables.parts.at(found->second.front());
        found->second.pop_front();
        part.used = true;
        member.color = part.color;
    }
}

}  // namespace tav::engine
