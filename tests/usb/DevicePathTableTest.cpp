#include <gtest/gtest.h>

#include <string>

#include "usb/DevicePathTable.h"

namespace tandrel {
namespace {

TEST(DevicePathTable, RecordsOnlyChannelNumbersAndPathsThatFit) {
    DevicePathTable table;
    EXPECT_FALSE(table.Record(0, "zero"));
    EXPECT_FALSE(table.Record(9, "nine"));
    ASSERT_TRUE(table.Record(2, "old"));
    EXPECT_FALSE(table.Record(2, std::string(kDevicePathSize, 'p').c_str()));
    EXPECT_STREQ(table.Slot(2), "old");
    EXPECT_TRUE(table.Record(8, std::string(kDevicePathSize - 1, 'p').c_str()));
    EXPECT_STREQ(table.Slot(0), "");
    EXPECT_STREQ(table.Slot(9), "");
}

TEST(DevicePathTable, RecordedPathsMatchByteForByte) {
    DevicePathTable table;
    table.Record(3, "Enum\\Abc");
    EXPECT_TRUE(table.IsRecorded("Enum\\Abc"));
    EXPECT_FALSE(table.IsRecorded("Enum\\abc"));
    EXPECT_FALSE(table.IsRecorded("Enum\\Abcd"));
    EXPECT_FALSE(table.IsRecorded(""));  // empty slots record nothing
}

}  // namespace
}  // namespace tandrel
