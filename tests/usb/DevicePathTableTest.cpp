#include <gtest/gtest.h>

#include <string>

#include "usb/DevicePathTable.h"

namespace tandrel {
namespace {

TEST(DevicePathTable, RecordsOnlyDeviceNumbersOfTheChannels) {
    DevicePathTable table;
    EXPECT_FALSE(table.Record(0, "zero"));
    EXPECT_FALSE(table.Record(9, "nine"));
    EXPECT_FALSE(table.Record(-1, "minus"));
    EXPECT_TRUE(table.Record(8, "eight"));
    EXPECT_STREQ(table.Slot(0), "");
    EXPECT_STREQ(table.Slot(8), "eight");
    EXPECT_STREQ(table.Slot(9), "");
}

TEST(DevicePathTable, PathThatDoesNotFitASlotLeavesItAsItWas) {
    DevicePathTable table;
    ASSERT_TRUE(table.Record(2, "old"));
    EXPECT_FALSE(table.Record(2, std::string(kDevicePathSize, 'p').c_str()));
    EXPECT_STREQ(table.Slot(2), "old");
    EXPECT_TRUE(table.Record(2, std::string(kDevicePathSize - 1, 'p').c_str()));
    EXPECT_EQ(std::string(table.Slot(2)).size(), static_cast<std::size_t>(kDevicePathSize - 1));
}

TEST(DevicePathTable, RecordedPathsMatchByteForByte) {
    DevicePathTable table;
    table.Record(3, "Enum\\Abc");
    EXPECT_TRUE(table.IsRecorded("Enum\\Abc"));
    EXPECT_FALSE(table.IsRecorded("Enum\\abc"));
    EXPECT_FALSE(table.IsRecorded("Enum\\Abcd"));
    EXPECT_FALSE(table.IsRecorded(""));  // empty slots record nothing
}

TEST(DevicePathTable, ForgettingEmptiesOneSlotAndClearingAll) {
    DevicePathTable table;
    table.Record(1, "one");
    table.Record(5, "five");
    table.ForgetDevicePath(5);
    table.ForgetDevicePath(0);
    table.ForgetDevicePath(42);
    EXPECT_FALSE(table.IsRecorded("five"));
    EXPECT_TRUE(table.IsRecorded("one"));
    table.ClearDevicePaths();
    EXPECT_FALSE(table.IsRecorded("one"));
}

}  // namespace
}  // namespace tandrel
