#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "platform/DeviceSources.h"

namespace tandrel {
namespace {

TEST(DeviceSources, NamedSourcesAreMadeAndWrongOnesRefusedWithTheReason) {
    test::TempFolder tree;
    tree.WriteFile("file", "x");
    const std::string root = tree.Path();
    std::string error;
    // The system's own source, and the other system's, which this one lacks.
    const std::string own = DefaultDeviceSource();
    const std::string other = own == "sysfs" ? "registry" : "sysfs";
    EXPECT_NE(MakeDeviceRegistry(own, error), nullptr);
    EXPECT_NE(MakeDeviceRegistry("dir:" + root, error), nullptr);
    EXPECT_EQ(error, "");

    const std::pair<std::string, std::string> refused[] = {
        {"dir:" + root + "/missing", "device tree \"" + root + "/missing\" does not exist"},
        {"dir:" + root + "/file", "device tree \"" + root + "/file\" is not a folder"},
        {"dir:", "device tree \"\" does not exist"},
        {other, "unknown device source \"" + other + "\": use " + own + " or dir:PATH"},
    };
    for (const auto& [spec, reason] : refused) {
        EXPECT_EQ(MakeDeviceRegistry(spec, error), nullptr) << spec;
        EXPECT_EQ(error, reason);
    }
}

}  // namespace
}  // namespace tandrel
