#include "tools/bench/pairing_race.h"

#include <algorithm>
#include <ctime>
#include <string>

#include "engine/pairing.h"
#include "testbed/reference_oracles/nested_scan.h"

namespace tav::bench {
namespace {

std::u16string number(int value) {
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// Parts in subassemblies of 32, members in the same order with the letter
// case of their paths changed, as a view of the assembly draws them.
engine::RunTables drawingTables(int records) {
    engine::RunTables tables;
    for (int i = 0; i < records; ++i) {
        engine::PartRecord& part = tables.parts.append();
        part.assemblyPath = u"/Unit" + number(i / 32) + u".asm";
        part.fileName = u"Part" + number(i) + u".par";
        part.color = i;
        engine::MemberRecord& member = tables.members.append();
        member.assemblyPath = u"/UNIT" + number(i / 32) + u".ASM";
        member.fileName = part.fileName;
        member.color = -1;
    }
    return tables;
}

// CPU time, so that other work on the machine does not favour either side.
double threadSeconds() {
    std::timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Pass>
double secondsOf(Pass&& pass) {
    const double start = threadSeconds();
    pass();
    return threadSeconds() - start;
}

bool sameColors(const engine::RunTables& a, const engine::RunTables& b) {
    const auto& x = a.members.records();
    const auto& y = b.members.records();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](const auto& m, const auto& n) { return m.color == n.color; });
}

}  // namespace

PairingRace racePairing(int records) {
    PairingRace race;
    race.records = records;
    engine::RunTables fast;
    race.pairingSeconds = 1e9;
    for (int pass = 0; pass < 5; ++pass) {
        fast = drawingTables(records);
        race.pairingSeconds =
            std::min(race.pairingSeconds, secondsOf([&] { engine::pairMembers(fast); }));
    }
    engine::RunTables reference = drawingTables(records);
    race.nestedScanSeconds = secondsOf([&] { reference::nestedScan(reference); });
    race.sameResult = sameColors(fast, reference);
    return race;
}

}  // namespace tav::bench
