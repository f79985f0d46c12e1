#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "results/PortHealth.h"

namespace tandrel {
namespace {

// Phones finished one after another, a second apart.
struct Phones {
    std::vector<PortOutcome> list;
    std::int64_t at = 1'000'000;

    // count phones on port, each a success ('S') or a failure ('F') by pattern, repeated.
    Phones& On(int port, const std::string& pattern, int count, std::int64_t ms = 1000) {
        for (int i = 0; i < count; ++i) {
            list.push_back(PortOutcome{port, pattern[static_cast<std::size_t>(i) % pattern.size()] == 'S', ms, at});
            at += 1000;
        }
        return *this;
    }
};

// The ports flagged, in the order they were flagged.
std::vector<int> Feed(PortHealth& health, const std::vector<PortOutcome>& phones) {
    std::vector<int> flagged;
    for (const PortOutcome& p : phones) {
        for (int port : health.Add(p)) flagged.push_back(port);
    }
    return flagged;
}

struct RuleCase {
    const char* name;
    int alarm;
    Phones phones;
    std::vector<int> flagged;
    const char* reason;  // of the first port flagged

    friend void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }
};

class Rules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(Rules, FlagTheRightPortsForTheRightReason) {
    const RuleCase& c = GetParam();
    PortHealth health(c.alarm);
    EXPECT_EQ(Feed(health, c.phones.list), c.flagged);
    if (!c.flagged.empty()) {
        EXPECT_EQ(health.Flag(c.flagged[0]).reason, c.reason);
    }
}

const int kNoAlarm = 1000;

INSTANTIATE_TEST_SUITE_P(
    PortHealth, Rules,
    ::testing::Values(
        RuleCase{"ThreeInARow", 3, Phones().On(1, "S", 3).On(3, "F", 3).On(2, "S", 3), {3}, "3 failures in a row"},
        RuleCase{"TwoInARowIsNotYetThree", 3, Phones().On(3, "FFS", 3).On(3, "F", 2), {}, ""},
        RuleCase{"AlarmOfOne", 1, Phones().On(1, "S", 2).On(6, "F", 1), {6}, "1 failure in a row"},
        RuleCase{"YieldFarBelow", kNoAlarm, Phones().On(1, "S", 10).On(3, "S", 10).On(2, "SF", 10), {2},
                 "yield 50% over its last 10 phones, the other ports 100%"},
        RuleCase{"YieldTwentyBelowIsNotEnough", kNoAlarm,
                 Phones().On(1, "S", 10).On(3, "S", 10).On(2, "SSSSF", 10), {}, ""},
        RuleCase{"YieldNeedsTenPhonesOnEachSide", kNoAlarm,
                 Phones().On(1, "S", 9).On(2, "SF", 12).On(3, "SF", 9), {}, ""},
        RuleCase{"Slow", 3, Phones().On(1, "S", 10).On(2, "S", 10, 1200).On(5, "S", 10, 10'000), {5},
                 "slow, 10.0 s a phone over its last 10 successes, the other ports 1.1 s"},
        RuleCase{"NotSlowAtOneAndAHalfTimes", 3, Phones().On(1, "S", 10).On(5, "S", 10, 1500), {}, ""},
        RuleCase{"SlowNeedsTenSuccesses", 3, Phones().On(1, "S", 10).On(5, "S", 9, 10'000), {}, ""}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST(PortHealth, FiguresCountSinceTheClearWithTheShiftAndTheLastTwenty) {
    PortHealth health;
    Phones before;
    before.On(4, "SSF", 6, 2000);
    Feed(health, before.list);
    health.StartShift(before.at);
    Phones shift;
    shift.at = before.at;
    shift.On(4, "SFFS", 24, 4000).On(4, "F", 2);
    Feed(health, shift.list);

    const PortFigures f = health.Figures(4);
    EXPECT_EQ(f.phones, 32);
    EXPECT_EQ(f.successes, 16);
    EXPECT_EQ(f.inRow, 2);
    ASSERT_TRUE(f.yield20 && f.shiftYield);
    EXPECT_DOUBLE_EQ(*f.yield20, 45.0);  // the last 20: 18 of SFFS (9 S) and F, F
    EXPECT_DOUBLE_EQ(*f.shiftYield, 12.0 / 26 * 100);
    EXPECT_EQ(f.successMedianMs, 4000);
    EXPECT_EQ(f.medianMs, 4000);
    EXPECT_FALSE(health.Figures(5).yield20) << "a port without phones has no yield";
}

TEST(PortHealth, AFlagStaysUntilClearedAndThenCountingStartsAfresh) {
    PortHealth health;
    Feed(health, Phones().On(3, "F", 3).list);
    ASSERT_TRUE(health.Flag(3).flagged);
    Feed(health, Phones().On(3, "S", 1).list);
    EXPECT_TRUE(health.Flag(3).flagged) << "a success does not clear what the operator has not seen to";

    health.Clear(3, 5000);
    EXPECT_FALSE(health.Flag(3).flagged);
    EXPECT_EQ(health.Figures(3).phones, 0);
    EXPECT_EQ(health.ClearedAt(3), 5000);
    EXPECT_TRUE(Feed(health, Phones().On(3, "SFF", 3).list).empty());
    EXPECT_EQ(health.Figures(3).inRow, 2);
}

}  // namespace
}  // namespace tandrel
