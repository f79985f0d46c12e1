#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "usb/UnplugQueue.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;

std::vector<int> Entries(const UnplugQueue& queue) {
    std::vector<int> entries;
    for (int i = 0; i < queue.Count(); ++i) entries.push_back(queue.At(i));
    return entries;
}

TEST(UnplugQueue, HoldsChannelsInOrderDuplicatesIncluded) {
    UnplugQueue queue;
    queue.RemoveAll();
    for (const std::int8_t channel : {2, 5, 3, 3}) queue.Append(channel);
    EXPECT_FALSE(queue.Append(0));
    EXPECT_FALSE(queue.Append(9));
    queue.RemoveAt(0);
    EXPECT_THAT(Entries(queue), ElementsAre(5, 3, 3));
    queue.RemoveAt(3);
    queue.RemoveAt(-1);
    EXPECT_EQ(queue.At(3), 0);
    EXPECT_THAT(Entries(queue), ElementsAre(5, 3, 3));
    queue.RemoveAll();
    EXPECT_EQ(queue.Count(), 0);
}

}  // namespace
}  // namespace tandrel
