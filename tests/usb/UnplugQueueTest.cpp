#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "usb/UnplugQueue.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<int> Entries(const UnplugQueue& queue) {
    std::vector<int> entries;
    for (int i = 0; i < queue.Count(); ++i) entries.push_back(queue.At(i));
    return entries;
}

TEST(UnplugQueue, AChannelMayStandInItTwice) {
    UnplugQueue queue;
    queue.Append(3);
    queue.Append(3);
    EXPECT_THAT(Entries(queue), ElementsAre(3, 3));
}

TEST(UnplugQueue, RemovingMovesTheLaterEntriesUp) {
    UnplugQueue queue;
    for (const std::int8_t channel : {2, 5, 7}) queue.Append(channel);
    queue.RemoveAt(0);
    EXPECT_THAT(Entries(queue), ElementsAre(5, 7));
    queue.RemoveAt(1);
    EXPECT_THAT(Entries(queue), ElementsAre(5));
}

TEST(UnplugQueue, PositionsOutsideTheQueueReadZeroAndRemoveNothing) {
    UnplugQueue queue;
    queue.Append(4);
    queue.RemoveAt(1);
    queue.RemoveAt(-1);
    EXPECT_EQ(queue.At(1), 0);
    EXPECT_EQ(queue.At(-1), 0);
    EXPECT_THAT(Entries(queue), ElementsAre(4));
}

TEST(UnplugQueue, OnlyChannelNumbersAreTaken) {
    UnplugQueue queue;
    EXPECT_FALSE(queue.Append(0));
    EXPECT_FALSE(queue.Append(9));
    EXPECT_FALSE(queue.Append(-3));
    EXPECT_TRUE(queue.Append(8));
    EXPECT_THAT(Entries(queue), ElementsAre(8));
}

TEST(UnplugQueue, RemovingAllEmptiesItAndIsHarmlessWhenEmpty) {
    UnplugQueue queue;
    queue.RemoveAll();
    EXPECT_THAT(Entries(queue), IsEmpty());
    queue.Append(1);
    queue.Append(6);
    queue.RemoveAll();
    EXPECT_THAT(Entries(queue), IsEmpty());
}

}  // namespace
}  // namespace tandrel
