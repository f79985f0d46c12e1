#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TempTree.h"
#include "platform/PhoneRegistryKeys.h"
#include "platform/SysfsRegistry.h"
#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using testing::TempTree;

// A sysfs tree laid out as the kernel lays it: devices live under
// devices/…, and bus/usb/devices holds a link to each by its kernel name.
class FakeSysfs {
public:
    FakeSysfs() { tree.MakeFolder(kBus); }

    void AddDevice(const std::string& name, const std::string& vendor, const std::string& product) {
        const std::filesystem::path home = std::filesystem::path("devices/pci0000:00/usb1") / name;
        tree.WriteFile(home / "idVendor", vendor + "\n");
        tree.WriteFile(home / "idProduct", product + "\n");
        std::filesystem::create_directory_symlink(tree.Root() / home, tree.Root() / kBus / name);
    }
    void AddInterface(const std::string& name) {
        tree.MakeFolder(std::filesystem::path("devices/pci0000:00/usb1") / name);
        std::filesystem::create_directory_symlink(tree.Root() / "devices/pci0000:00/usb1" / name,
                                                  tree.Root() / kBus / name);
    }
    void RemoveDevice(const std::string& name) {
        tree.Remove(std::filesystem::path("devices/pci0000:00/usb1") / name);
        tree.Remove(std::filesystem::path(kBus) / name);
    }

    static constexpr const char* kBus = "bus/usb/devices";
    TempTree tree;
};

std::vector<std::string> Listed(const DeviceRegistry& registry) {
    std::vector<std::string> names;
    registry.ListSubkeys(kPhoneEnumerationKey, [&](std::string_view name) {
        names.emplace_back(name);
        return true;
    });
    return names;
}

std::string ParametersKey(const std::string& device) {
    return std::string(kPhoneEnumerationKey) + "\\" + device + "\\" + std::string(kDeviceParametersKey);
}

std::string CreateFileName(const DeviceRegistry& registry, const std::string& device) {
    char value[kCreateFileNameSize] = {};
    if (!registry.ReadString(ParametersKey(device), kCreateFileNameValue, value, sizeof value)) return "<none>";
    return value;
}

class SysfsRegistryTest : public ::testing::Test {
protected:
    SysfsRegistryTest() {
        sysfs.AddDevice("usb1", "1d6b", "0002");
        sysfs.AddDevice("1-1", "05e3", "0610");  // the station's hub
        sysfs.AddDevice("1-1.3", "058b", "0041");
        sysfs.AddInterface("1-1.3:1.0");
        sysfs.AddDevice("2-4", "058b", "0041");
        sysfs.AddDevice("1-1.2", "058b", "0042");  // same maker, another product
        sysfs.AddDevice("1-1.1", "abcd", "0041");
    }
    FakeSysfs sysfs;
    SysfsRegistry registry{sysfs.tree.Root().string()};
};

TEST_F(SysfsRegistryTest, ListsOnlyThePhonesByKernelNameInByteOrder) {
    EXPECT_THAT(Listed(registry), ElementsAre("1-1.3", "2-4"));
}

TEST_F(SysfsRegistryTest, DeviceNumberIsTheLastPortNumber) {
    EXPECT_EQ(CreateFileName(registry, "1-1.3"), "USB3");
    EXPECT_EQ(CreateFileName(registry, "2-4"), "USB4");
}

TEST_F(SysfsRegistryTest, OtherDevicesAndKeysHaveNoValue) {
    EXPECT_EQ(CreateFileName(registry, "1-1"), "<none>");
    EXPECT_EQ(CreateFileName(registry, "1-1.2"), "<none>");
    EXPECT_EQ(CreateFileName(registry, "1-1.3:1.0"), "<none>");
    EXPECT_EQ(CreateFileName(registry, "9-9"), "<none>");
    char value[kCreateFileNameSize] = {};
    EXPECT_FALSE(registry.ReadString(ParametersKey("1-1.3"), "FriendlyName", value, sizeof value));
    EXPECT_FALSE(registry.ReadString("SYSTEM\\1-1.3\\Device Parameters", kCreateFileNameValue, value, sizeof value));
    EXPECT_FALSE(registry.ListSubkeys("SYSTEM", [](std::string_view) { return true; }));
}

TEST_F(SysfsRegistryTest, DeviceVanishingBetweenListingAndReadingHasNoValue) {
    std::vector<std::string> read;
    registry.ListSubkeys(kPhoneEnumerationKey, [&](std::string_view name) {
        sysfs.RemoveDevice("2-4");
        read.push_back(CreateFileName(registry, std::string(name)));
        return true;
    });
    EXPECT_THAT(read, ElementsAre("USB3", "<none>"));
}

TEST_F(SysfsRegistryTest, ScanReportsAndRecordsThePhones) {
    DevicePathTable table;
    FoundList found;
    ScanUsbDevices(registry, table, found);
    EXPECT_THAT(std::vector<std::int32_t>(found.numbers, found.numbers + found.count), ElementsAre(3, 4));
    EXPECT_EQ(std::string(table.Slot(3)), ParametersKey("1-1.3"));
}

TEST(SysfsRegistry, MissingTreeListsNothing) {
    const SysfsRegistry registry("/nonexistent-sysfs-root");
    EXPECT_FALSE(registry.ListSubkeys(kPhoneEnumerationKey, [](std::string_view) { return true; }));
}

TEST(UsbDeviceName, TakesBusDashPortsAndNothingElse) {
    for (const char* name : {"1-1", "1-1.3", "2-4", "3-1.2.4.1", "10-12"}) EXPECT_TRUE(IsUsbDeviceName(name)) << name;
    for (const char* name : {"usb1", "1-1.3:1.0", "1-", "-1", "1-1.", "1-.1", "1--1", "", "a-1", "1-1.x", "1-1 "}) {
        EXPECT_FALSE(IsUsbDeviceName(name)) << name;
    }
    EXPECT_EQ(LastPortNumber("1-1.3"), "3");
    EXPECT_EQ(LastPortNumber("2-4"), "4");
    EXPECT_EQ(LastPortNumber("3-1.12"), "12");
}

TEST(UsbDeviceName, RandomNamesTakenAlwaysEndInAPortNumber) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789-.:ub";
    for (int round = 0; round < 100000; ++round) {
        std::string name(random() % 12, ' ');
        for (char& c : name) c = alphabet[random() % alphabet.size()];
        if (!IsUsbDeviceName(name)) continue;
        const std::string_view port = LastPortNumber(name);
        ASSERT_FALSE(port.empty()) << name;
        ASSERT_EQ(port.find_first_not_of("0123456789"), std::string_view::npos) << name;
    }
}

}  // namespace
}  // namespace tandrel
