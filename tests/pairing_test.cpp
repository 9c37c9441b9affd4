// Pairing members with parts: first fit in member order, without regard to
// case, each part used once; the same result as scanning every part for
// every member.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/pairing.h"
#include "engine/text.h"
#include "host/error.h"
#include "testbed/reference_oracles/nested_scan.h"

namespace tav::test {
namespace {

using engine::RunTables;

struct Entry {
    std::u16string assemblyPath;
    std::u16string fileName;
    engine::ColorValue color = -1;
};

RunTables tablesOf(const std::vector<Entry>& parts, const std::vector<Entry>& members) {
    RunTables tables;
    for (const Entry& p : parts) {
        auto& record = tables.parts.append();
        record.assemblyPath = p.assemblyPath;
        record.fileName = p.fileName;
        record.color = p.color;
    }
    for (const Entry& m : members) {
        auto& record = tables.members.append();
        record.assemblyPath = m.assemblyPath;
        record.fileName = m.fileName;
        record.color = -1;
    }
    return tables;
}

std::vector<engine::ColorValue> memberColors(const RunTables& tables) {
    std::vector<engine::ColorValue> colors;
    for (const auto& member : tables.members.records()) {
        colors.push_back(member.color);
    }
    return colors;
}

TEST(Pairing, FirstFitInOrderIgnoringCase) {
    RunTables tables =
        tablesOf({{u"/frame.asm", u"Bolt.PAR", 10},
                  {u"", u"Nut.par", 20},
                  {u"", u"Nut.par", 30},
                  {u"/Frame.asm", u"Pin.par", 40},
                  {u"", u"Washer.par", -1}},
                 {{u"/Frame.ASM", u"BOLT.par"},  // case differs on both fields: pairs
                  {u"", u"nut.par"},             // first Nut
                  {u"", u"Nut.par"},             // second Nut
                  {u"", u"Nut.par"},             // no Nut left
                  {u"", u"Pin.par"},             // same file, other path: no pair
                  {u"", u"Washer.par"},          // pairs with a part of no colour
                  {u"", u"Washer.par"}});        // that part is used up
    engine::pairMembers(tables);
    EXPECT_EQ(memberColors(tables), (std::vector<engine::ColorValue>{10, 20, 30, -1, -1, -1, -1}));
    EXPECT_TRUE(tables.parts.at(5).used);
    EXPECT_FALSE(tables.parts.at(4).used);
}

TEST(Pairing, NonAsciiNamesPairWithoutRegardToCase) {
    RunTables tables =
        tablesOf({{u"/GEHÄUSE.ASM", u"ÖLDECKEL.PAR", 7}}, {{u"/gehäuse.asm", u"öldeckel.par"}});
    engine::pairMembers(tables);
    EXPECT_EQ(memberColors(tables), std::vector<engine::ColorValue>{7});
}

TEST(Pairing, AgreesWithTheNestedScanOnRandomTables) {
    std::mt19937 random(20261206);
    const std::vector<std::u16string> paths{u"", u"/A.asm", u"/a.ASM", u"/A.asm/B.asm", u"/b.asm"};
    const std::vector<std::u16string> names{u"x.par", u"X.PAR", u"y.par", u"Ÿ.par", u"ÿ.par"};
    auto pick = [&](const auto& options) {
        return options[std::uniform_int_distribution<std::size_t>(0, options.size() - 1)(random)];
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<Entry> parts(std::uniform_int_distribution<std::size_t>(0, 30)(random));
        std::vector<Entry> members(std::uniform_int_distribution<std::size_t>(0, 30)(random));
        for (Entry& p : parts) {
            p = {pick(paths), pick(names), std::uniform_int_distribution<int>(-1, 5)(random)};
        }
        for (Entry& m : members) {
            m = {pick(paths), pick(names), -1};
        }
        RunTables fast = tablesOf(parts, members);
        RunTables reference = tablesOf(parts, members);
        engine::pairMembers(fast);
        reference::nestedScan(reference);
        ASSERT_EQ(memberColors(fast), memberColors(reference)) << "round " << round;
        for (std::int32_t j = 1; j <= fast.parts.count(); ++j) {
            ASSERT_EQ(fast.parts.at(j).used, reference.parts.at(j).used) << "round " << round;
        }
    }
}

TEST(Pairing, TablesPast32767RecordsOverflow) {
    RunTables tables = tablesOf(std::vector<Entry>(32768), {});
    EXPECT_NO_THROW(engine::pairMembers(tables)) << "no member, so the parts are never walked";
    tables.members.append();
    EXPECT_THROW(engine::pairMembers(tables), host::AutomationError);

    RunTables manyMembers = tablesOf({}, std::vector<Entry>(32768));
    EXPECT_THROW(engine::pairMembers(manyMembers), host::AutomationError);
}

}  // namespace
}  // namespace tav::test
