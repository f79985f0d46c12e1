#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimulatedLoop.h"
#include "usb/Timers.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A window whose tick handler kills each timer first, as the station's does,
// and notes "id@time" for every tick.
class TimersTest : public ::testing::Test {
protected:
    TimersTest() {
        loop.SetHandlers([](WindowMessage&) {}, [this](int id) {
            loop.KillTimer(id);
            ticks.push_back(std::to_string(id) + "@" + std::to_string(loop.Now()));
        });
    }
    SimulatedLoop loop;
    std::vector<std::string> ticks;
};

TEST_F(TimersTest, SettingTheScanTimerWhileSetLeavesOneTimerRestarted) {
    SetScanTimer(loop);
    loop.RunFor(30);
    SetScanTimer(loop);
    EXPECT_EQ(loop.TimerPeriod(kScanTimerId), 50);
    loop.RunFor(200);
    EXPECT_THAT(ticks, ElementsAre("1@80"));
}

TEST_F(TimersTest, ResultTimersWaitLongAfterSuccessAndBrieflyAfterFailure) {
    SetResultTimer(loop, 2, true);
    SetResultTimer(loop, 8, false);
    EXPECT_EQ(loop.TimerPeriod(12), 35000);
    EXPECT_EQ(loop.TimerPeriod(18), 1000);
    loop.RunFor(34999);
    EXPECT_THAT(ticks, ElementsAre("18@1000"));
    loop.RunFor(60000);
    EXPECT_THAT(ticks, ElementsAre("18@1000", "12@35000"));
}

TEST_F(TimersTest, SettingAResultTimerAgainRestartsIt) {
    SetResultTimer(loop, 4, false);
    loop.RunFor(900);
    SetResultTimer(loop, 4, true);
    loop.RunFor(40000);
    EXPECT_THAT(ticks, ElementsAre("14@35900"));
}

TEST_F(TimersTest, NoTimerIsSetForANumberThatNamesNoChannel) {
    SetResultTimer(loop, 0, true);
    SetResultTimer(loop, 9, false);
    KillResultTimer(loop, 9);
    loop.RunFor(40000);
    EXPECT_THAT(ticks, IsEmpty());
}

TEST_F(TimersTest, KillingStopsEveryUsbTimerAndUnsetOnesAreHarmless) {
    KillScanTimer(loop);
    KillResultTimer(loop, 3);
    SetScanTimer(loop);
    SetResultTimer(loop, 1, true);
    SetResultTimer(loop, 5, false);
    loop.SetTimer(99, 10);
    KillUsbTimers(loop);
    KillUsbTimers(loop);
    loop.RunFor(40000);
    EXPECT_THAT(ticks, ElementsAre("99@10"));
}

TEST(ResultTimerIds, MapToChannelsOneToEight) {
    EXPECT_EQ(ResultTimerId(1), 11);
    EXPECT_EQ(ResultTimerId(8), 18);
    EXPECT_EQ(ChannelOfResultTimer(11), 1);
    EXPECT_EQ(ChannelOfResultTimer(18), 8);
    for (const int id : {kScanTimerId, 10, 19, 0, -5}) EXPECT_EQ(ChannelOfResultTimer(id), 0) << id;
}

}  // namespace
}  // namespace tandrel
