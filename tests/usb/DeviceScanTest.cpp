#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HookedRegistry.h"
#include "PhoneBench.h"
#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string PathOf(const std::string& instance) { return testing::PhoneBench::Key(instance) + "\\Device Parameters"; }

class DeviceScanTest : public ::testing::TestWithParam<bool> {
protected:
    std::vector<std::int32_t> Pass(const DeviceRegistry* registry = nullptr) {
        FoundList found;
        ScanUsbDevices(registry ? *registry : bench.Registry(), table, found);
        return {found.numbers, found.numbers + found.count};
    }
    bool NothingRecorded() const {
        for (int n = 0; n < DevicePathTable::kSlots; ++n) {
            if (table.Slot(n)[0] != '\0') return false;
        }
        return true;
    }

    testing::PhoneBench bench{GetParam()};
    DevicePathTable table;
};

TEST_P(DeviceScanTest, NoEnumerationKeyReportsNothing) {
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, ValuesNamingNoDeviceAreNeverReportedNorRecorded) {
    for (const char* value : {"USB0", "", "USB", "USBX", "USB-2", "US"}) bench.Plug(std::string("i") + value, value);
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, PhoneIsReportedOnceThenQuietUntilForgotten) {
    bench.Plug("0001", "USB5");
    EXPECT_THAT(Pass(), ElementsAre(5));
    EXPECT_EQ(std::string(table.Slot(5)), PathOf("0001"));
    EXPECT_THAT(Pass(), IsEmpty());
    bench.Unplug("0001");
    bench.Plug("0001", "USB5");  // the same instance back: still recorded
    EXPECT_THAT(Pass(), IsEmpty());

    table.ForgetDevicePath(5);
    EXPECT_THAT(Pass(), ElementsAre(5));
    EXPECT_EQ(std::string(table.Slot(5)), PathOf("0001"));
    EXPECT_THAT(Pass(), IsEmpty());
}

TEST_P(DeviceScanTest, NumbersAboveTheChannelsAreReportedEveryPassAndNeverRecorded) {
    bench.Plug("a", "USB12");
    EXPECT_THAT(Pass(), ElementsAre(12));
    EXPECT_THAT(Pass(), ElementsAre(12));
    bench.Unplug("a");
    bench.Plug("b", "USB260");  // 4 in eight bits
    EXPECT_THAT(Pass(), ElementsAre(260));
    bench.Unplug("b");
    bench.Plug("c", "USB4294967297");  // 1 in thirty-two bits
    EXPECT_THAT(Pass(), ElementsAre(2147483647));
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, TwoInstancesWithOneNumberAreBothReportedAndTheLaterIsRecorded) {
    bench.Plug("first", "USB4");
    bench.Plug("second", "USB4");
    bench.Plug("third", "COM3");  // the first three characters are not looked at
    EXPECT_THAT(Pass(), ElementsAre(4, 4, 3));
    EXPECT_EQ(std::string(table.Slot(4)), PathOf("second"));
    EXPECT_THAT(Pass(), ElementsAre(4, 4));
}

TEST_P(DeviceScanTest, FullListLeavesTheRemainingInstancesForTheNextPass) {
    const std::string names = "abcdefghijkl";
    for (int i = 0; i < 12; ++i) bench.Plug(names.substr(i, 1), "USB" + std::to_string(i % 8 + 1));
    EXPECT_THAT(Pass(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 1, 2));
    EXPECT_EQ(std::string(table.Slot(2)), PathOf("j"));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("c"));  // "k" was left unread
    // "a" and "b" lost their slots to "i" and "j"; "k" and "l" are read at last.
    EXPECT_THAT(Pass(), ElementsAre(1, 2, 1, 2, 3, 4));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("k"));
}

TEST_P(DeviceScanTest, UnservableNumbersCannotCrowdOutAServablePhone) {
    for (int i = 0; i < 12; ++i) bench.Plug("a" + std::to_string(10 + i), "USB" + std::to_string(9 + i));
    bench.Plug("z", "USB3");
    EXPECT_THAT(Pass(), ElementsAre(9, 3));
    EXPECT_THAT(Pass(), ElementsAre(9));
}

TEST_P(DeviceScanTest, TooLongNamesAndValuesAreSkippedRatherThanCut) {
    const std::string longest(29, 'n');
    bench.Plug(longest, "USB2");
    bench.Plug(longest + "o", "USB6");  // its path would not fit a slot
    bench.Plug("a", "USB0000000000000003");
    bench.Plug("b", "USB00000000000000031");  // cut to 19 characters it would read 3
    EXPECT_THAT(Pass(), ElementsAre(3, 2));
    EXPECT_EQ(std::string(table.Slot(2)).size(), 99u);
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("a"));
    EXPECT_THAT(Pass(), IsEmpty());
}

TEST_P(DeviceScanTest, PhoneUnpluggedBetweenListingAndReadingIsSkipped) {
    bench.Plug("a", "USB1");
    bench.Plug("b", "USB2");
    const testing::HookedRegistry unplugging(bench.Registry(), [&](std::string_view name) {
        if (name == "b") bench.Unplug("b");
    });
    EXPECT_THAT(Pass(&unplugging), ElementsAre(1));
    bench.Plug("b", "USB2");
    EXPECT_THAT(Pass(), ElementsAre(2));
}

INSTANTIATE_TEST_SUITE_P(Sources, DeviceScanTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Directory" : "InMemory"; });

}  // namespace
}  // namespace tandrel
