#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "HookedRegistry.h"
#include "support/TempFolder.h"
#include "platform/PhoneRegistryKeys.h"
#include "platform/posix/SysfsRegistry.h"
#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

std::string ParametersKey(const std::string& device) {
    return std::string(kPhoneEnumerationKey) + "\\" + device + "\\Device Parameters";
}

// A sysfs tree laid out as the kernel lays it: devices live under
// devices/…, and bus/usb/devices holds a link to each by its kernel name.
class SysfsRegistryTest : public ::testing::Test {
protected:
    SysfsRegistryTest() {
        tree.MakeFolder("bus/usb/devices");
        AddDevice("usb1", "1d6b", "0002");
        AddDevice("1-1", "05e3", "0610");  // the station's hub
        AddDevice("1-1.3", "058b", "0041");
        AddDevice("1-1.3:1.0", "", "");
        AddDevice("2-4", "058b", "0041");
        AddDevice("1-1.2", "058b", "0042");  // same maker, another product
        AddDevice("1-1.1", "abcd", "0041");
    }
    void AddDevice(const std::string& name, const std::string& vendor, const std::string& product) {
        if (!vendor.empty()) tree.WriteFile(Home(name) / "idVendor", vendor + "\n");
        if (!product.empty()) tree.WriteFile(Home(name) / "idProduct", product + "\n");
        tree.MakeFolder(Home(name));
        fs::create_directory_symlink(tree / Home(name), tree / (fs::path("bus/usb/devices") / name));
    }
    void RemoveDevice(const std::string& name) {
        tree.Remove(Home(name));
        tree.Remove(fs::path("bus/usb/devices") / name);
    }
    static fs::path Home(const std::string& name) { return fs::path("devices/pci0000:00/usb1") / name; }

    std::string CreateFileName(const std::string& device) const {
        char value[kCreateFileNameSize] = {};
        if (!registry.ReadString(ParametersKey(device), kCreateFileNameValue, value, sizeof value)) return "<none>";
        return value;
    }

    test::TempFolder tree;
    SysfsRegistry registry{tree.Path()};
};

TEST_F(SysfsRegistryTest, ListsOnlyThePhonesNumberedByTheirLastPort) {
    std::vector<std::string> listed;
    registry.ListSubkeys(kPhoneEnumerationKey, [&](std::string_view name) {
        listed.emplace_back(name);
        return true;
    });
    EXPECT_THAT(listed, ElementsAre("1-1.3", "2-4"));
    EXPECT_EQ(CreateFileName("1-1.3"), "USB3");
    EXPECT_EQ(CreateFileName("2-4"), "USB4");
    for (const char* other : {"1-1", "1-1.2", "1-1.3:1.0", "9-9"}) EXPECT_EQ(CreateFileName(other), "<none>") << other;
    char value[kCreateFileNameSize] = {};
    EXPECT_FALSE(registry.ReadString(ParametersKey("1-1.3"), "FriendlyName", value, sizeof value));
    EXPECT_FALSE(registry.ReadString("SYSTEM\\1-1.3\\Device Parameters", kCreateFileNameValue, value, sizeof value));
}

TEST_F(SysfsRegistryTest, ScanSkipsAPhoneThatVanishesBetweenListingAndReading) {
    const testing::HookedRegistry vanishing(registry, [&](std::string_view name) {
        if (name == "2-4") RemoveDevice("2-4");
    });
    DevicePathTable table;
    FoundList found;
    ScanUsbDevices(vanishing, table, found);
    EXPECT_THAT(std::vector<std::int32_t>(found.numbers, found.numbers + found.count), ElementsAre(3));
    EXPECT_EQ(std::string(table.Slot(3)), ParametersKey("1-1.3"));
    EXPECT_STREQ(table.Slot(4), "");
}

TEST(UsbDeviceName, TakesBusDashPortsAndNothingElse) {
    for (const char* name : {"1-1", "1-1.3", "2-4", "3-1.2.4.1", "10-12"}) EXPECT_TRUE(IsUsbDeviceName(name)) << name;
    for (const char* name : {"usb1", "1-1.3:1.0", "1-", "-1", "1-1.", "1-.1", "1--1", "", "a-1", "1-1 "}) {
        EXPECT_FALSE(IsUsbDeviceName(name)) << name;
    }
    std::mt19937 random(7);
    const std::string alphabet = "0123456789-.:ub";
    for (int round = 0; round < 100000; ++round) {
        std::string name(random() % 12, ' ');
        for (char& c : name) c = alphabet[random() % alphabet.size()];
        if (!IsUsbDeviceName(name)) continue;
        const std::string_view port = LastPortNumber(name);
        ASSERT_TRUE(!port.empty() && port.find_first_not_of("0123456789") == std::string_view::npos) << name;
    }
}

}  // namespace
}  // namespace tandrel
