#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PhoneBench.h"
#include "platform/PhoneRegistryKeys.h"
#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PhoneBench;

std::string PathOf(const std::string& instance) {
    return std::string(kPhoneEnumerationKey) + "\\" + instance + "\\" + std::string(kDeviceParametersKey);
}

// Hands every listed name to a hook before the scan sees it: a phone can be
// unplugged between the listing and the read of its value.
class HookedRegistry : public DeviceRegistry {
public:
    HookedRegistry(const DeviceRegistry& inner, std::function<void(std::string_view)> hook)
        : inner_(inner), hook_(std::move(hook)) {}
    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override {
        return inner_.ListSubkeys(key, [&](std::string_view name) {
            hook_(name);
            return visit(name);
        });
    }
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer, std::size_t size) const override {
        return inner_.ReadString(key, valueName, buffer, size);
    }

private:
    const DeviceRegistry& inner_;
    std::function<void(std::string_view)> hook_;
};

class DeviceScanTest : public ::testing::TestWithParam<std::string> {
protected:
    std::vector<std::int32_t> Pass() { return PassOver(bench->Registry()); }

    std::vector<std::int32_t> PassOver(const DeviceRegistry& registry) {
        FoundList found;
        ScanUsbDevices(registry, table, found);
        return {found.numbers, found.numbers + found.count};
    }

    bool NothingRecorded() const {
        for (int n = 0; n < DevicePathTable::kSlots; ++n) {
            if (table.Slot(n)[0] != '\0') return false;
        }
        return true;
    }

    std::unique_ptr<PhoneBench> bench = testing::MakePhoneBench(GetParam());
    DevicePathTable table;
};

TEST_P(DeviceScanTest, NoEnumerationKeyReportsNothing) {
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, ValuesNamingNoDeviceAreNeverReportedNorRecorded) {
    for (const char* value : {"USB0", "", "USB", "USBX", "USB-2", "USB00", "US"}) bench->Plug(value[0] ? value : "empty", value);
    bench->PlugWithoutValue("novalue");
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_THAT(Pass(), IsEmpty());
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, PhoneIsReportedOnceThenQuietUntilForgotten) {
    bench->Plug("0001", "USB5");
    EXPECT_THAT(Pass(), ElementsAre(5));
    EXPECT_EQ(std::string(table.Slot(5)), PathOf("0001"));
    EXPECT_THAT(Pass(), IsEmpty());

    table.ForgetDevicePath(5);
    EXPECT_THAT(Pass(), ElementsAre(5));
    EXPECT_EQ(std::string(table.Slot(5)), PathOf("0001"));
    EXPECT_THAT(Pass(), IsEmpty());
}

TEST_P(DeviceScanTest, RecordedPhoneStaysQuietAfterUnplugAndReplug) {
    bench->Plug("0001", "USB5");
    EXPECT_THAT(Pass(), ElementsAre(5));
    bench->Unplug("0001");
    EXPECT_THAT(Pass(), IsEmpty());
    bench->Plug("0001", "USB5");
    EXPECT_THAT(Pass(), IsEmpty());
    table.ClearDevicePaths();
    EXPECT_THAT(Pass(), ElementsAre(5));
}

TEST_P(DeviceScanTest, NumbersAboveTheChannelsAreReportedEveryPassAndNeverRecorded) {
    bench->Plug("a", "USB12");
    EXPECT_THAT(Pass(), ElementsAre(12));
    EXPECT_THAT(Pass(), ElementsAre(12));
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, LargeNumbersAreNeverTakenForASmallDevice) {
    bench->Plug("a", "USB260");  // 4 in eight bits
    EXPECT_THAT(Pass(), ElementsAre(260));
    bench->Unplug("a");
    bench->Plug("b", "USB4294967297");  // 1 in thirty-two bits
    EXPECT_THAT(Pass(), ElementsAre(2147483647));
    EXPECT_TRUE(NothingRecorded());
}

TEST_P(DeviceScanTest, TwoInstancesWithOneNumberAreBothReportedAndTheLaterIsRecorded) {
    bench->Plug("first", "USB4");
    bench->Plug("second", "USB4");
    EXPECT_THAT(Pass(), ElementsAre(4, 4));
    EXPECT_EQ(std::string(table.Slot(4)), PathOf("second"));
    EXPECT_THAT(Pass(), ElementsAre(4, 4));
}

TEST_P(DeviceScanTest, NumbersAreAppendedInEnumerationOrder) {
    bench->Plug("c", "USB1");
    bench->Plug("a", "USB7");
    bench->Plug("b", "COM3");  // the first three characters are not looked at
    EXPECT_THAT(Pass(), ElementsAre(7, 3, 1));
}

TEST_P(DeviceScanTest, FullListLeavesTheRemainingInstancesForTheNextPass) {
    const char* names = "abcdefghijkl";
    for (int i = 0; i < 12; ++i) bench->Plug(std::string(1, names[i]), "USB" + std::to_string(i % 8 + 1));
    EXPECT_THAT(Pass(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 1, 2));
    EXPECT_EQ(std::string(table.Slot(2)), PathOf("j"));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("c"));  // "k" was left unread
    EXPECT_EQ(std::string(table.Slot(4)), PathOf("d"));
    // "a" and "b" lost their slots to "i" and "j", and take them back before
    // "i" and "j" do again; "k" and "l" are read at last.
    EXPECT_THAT(Pass(), ElementsAre(1, 2, 1, 2, 3, 4));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("k"));
}

TEST_P(DeviceScanTest, UnservableNumbersCannotCrowdOutAServablePhone) {
    for (int i = 0; i < 12; ++i) bench->Plug("a" + std::to_string(10 + i), "USB" + std::to_string(9 + i));
    bench->Plug("z", "USB3");
    EXPECT_THAT(Pass(), ElementsAre(9, 3));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("z"));
    EXPECT_THAT(Pass(), ElementsAre(9));
}

TEST_P(DeviceScanTest, InstanceWhosePathDoesNotFitASlotIsSkipped) {
    const std::string longest(29, 'n');
    bench->Plug(longest, "USB2");
    bench->Plug(longest + "o", "USB6");
    EXPECT_THAT(Pass(), ElementsAre(2));
    EXPECT_EQ(std::string(table.Slot(2)).size(), 99u);
    EXPECT_THAT(Pass(), IsEmpty());
}

TEST_P(DeviceScanTest, ValueTooLongForItsBufferIsSkippedRatherThanCut) {
    bench->Plug("a", "USB0000000000000003");   // 19 characters: fits
    bench->Plug("b", "USB00000000000000031");  // cut to 19 it would read 3
    EXPECT_THAT(Pass(), ElementsAre(3));
    EXPECT_EQ(std::string(table.Slot(3)), PathOf("a"));
}

TEST_P(DeviceScanTest, PhoneUnpluggedBetweenListingAndReadingIsSkipped) {
    bench->Plug("a", "USB1");
    bench->Plug("b", "USB2");
    HookedRegistry unplugging(bench->Registry(), [&](std::string_view name) {
        if (name == "b") bench->Unplug("b");
    });
    EXPECT_THAT(PassOver(unplugging), ElementsAre(1));
    EXPECT_STREQ(table.Slot(2), "");
    bench->Plug("b", "USB2");
    EXPECT_THAT(Pass(), ElementsAre(2));
}

TEST_P(DeviceScanTest, AFullListOnEntryIsLeftAlone) {
    bench->Plug("a", "USB1");
    FoundList found;
    found.count = FoundList::kCapacity;
    ScanUsbDevices(bench->Registry(), table, found);
    EXPECT_EQ(found.count, FoundList::kCapacity);
    EXPECT_TRUE(NothingRecorded());
}

INSTANTIATE_TEST_SUITE_P(Sources, DeviceScanTest, ::testing::Values("InMemory", "Directory"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tandrel
