#include <gtest/gtest.h>

#include "TempTree.h"
#include "platform/DeviceSources.h"

namespace tandrel {
namespace {

TEST(DeviceSources, SysfsIsAlwaysAvailable) {
    std::string error;
    EXPECT_NE(MakeDeviceRegistry("sysfs", error), nullptr);
    EXPECT_EQ(error, "");
}

TEST(DeviceSources, ExistingFolderGivesADirectoryTree) {
    testing::TempTree tree;
    std::string error;
    EXPECT_NE(MakeDeviceRegistry("dir:" + tree.Root().string(), error), nullptr);
    EXPECT_EQ(error, "");
}

TEST(DeviceSources, MissingOrWrongSourcesAreRefusedWithTheReason) {
    testing::TempTree tree;
    tree.WriteFile("file", "x");
    const struct {
        std::string spec;
        std::string error;
    } cases[] = {
        {"dir:" + tree.Root().string() + "/missing", "device tree \"" + tree.Root().string() + "/missing\" does not exist"},
        {"dir:" + tree.Root().string() + "/file", "device tree \"" + tree.Root().string() + "/file\" is not a folder"},
        {"dir:", "device tree \"\" does not exist"},
        {"registry", "unknown device source \"registry\": use sysfs or dir:PATH"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(MakeDeviceRegistry(c.spec, error), nullptr) << c.spec;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace tandrel
