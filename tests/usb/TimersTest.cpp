#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SimulatedLoop.h"
#include "usb/Timers.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;

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

TEST_F(TimersTest, SettingASetTimerLeavesOneTimerRestarted) {
    SetScanTimer(loop);
    SetResultTimer(loop, 4, false);
    loop.RunFor(30);
    SetScanTimer(loop);
    EXPECT_EQ(loop.TimerPeriod(kScanTimerId), 50);
    loop.RunFor(870);
    SetResultTimer(loop, 4, true);
    loop.RunFor(40000);
    EXPECT_THAT(ticks, ElementsAre("1@80", "14@35900"));
}

TEST_F(TimersTest, ResultTimersWaitLongAfterSuccessAndBrieflyAfterFailure) {
    SetResultTimer(loop, 1, true);
    SetResultTimer(loop, 8, false);
    SetResultTimer(loop, 0, true);  // names no channel: no timer
    SetResultTimer(loop, 9, false);
    loop.RunFor(34999);
    EXPECT_THAT(ticks, ElementsAre("18@1000"));
    loop.RunFor(60000);
    EXPECT_THAT(ticks, ElementsAre("18@1000", "11@35000"));
    EXPECT_EQ(ChannelOfResultTimer(11), 1);
    EXPECT_EQ(ChannelOfResultTimer(18), 8);
    for (const int id : {kScanTimerId, 10, 19}) EXPECT_EQ(ChannelOfResultTimer(id), 0) << id;
}

TEST_F(TimersTest, KillingStopsEveryUsbTimerAndUnsetOnesAreHarmless) {
    KillUsbTimers(loop);
    SetScanTimer(loop);
    SetResultTimer(loop, 1, true);
    SetResultTimer(loop, 5, false);
    loop.SetTimer(99, 10);
    KillUsbTimers(loop);
    loop.RunFor(40000);
    EXPECT_THAT(ticks, ElementsAre("99@10"));
}

}  // namespace
}  // namespace tandrel
