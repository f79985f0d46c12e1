#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempTree.h"
#include "platform/DirectoryRegistry.h"
#include "platform/FolderReads.h"
#include "platform/sim/InMemoryRegistry.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using testing::TempTree;

std::vector<std::string> Listed(const DeviceRegistry& registry, std::string_view key) {
    std::vector<std::string> names;
    registry.ListSubkeys(key, [&](std::string_view name) {
        names.emplace_back(name);
        return true;
    });
    return names;
}

class DirectoryRegistryTest : public ::testing::Test {
protected:
    TempTree tree;
    DirectoryRegistry registry{tree.Root().string()};
};

TEST_F(DirectoryRegistryTest, ListsSubfoldersInByteOrderAndNothingElse) {
    for (const char* name : {"b", "a0", "B", "a", "link-target"}) tree.MakeFolder(std::string("K/Sub/") + name);
    tree.WriteFile("K/Sub/a-file", "not a key");
    std::filesystem::create_directory_symlink(tree.Root() / "K/Sub/link-target", tree.Root() / "K/Sub/c-link");
    tree.MakeFolder("K/Sub/a/deeper");
    EXPECT_THAT(Listed(registry, "K\\Sub"), ElementsAre("B", "a", "a0", "b", "c-link", "link-target"));
    EXPECT_THAT(Listed(registry, "K\\Sub\\"), ElementsAre("B", "a", "a0", "b", "c-link", "link-target"));
}

TEST_F(DirectoryRegistryTest, ListingStopsWhenTheVisitorSaysSo) {
    for (const char* name : {"1", "2", "3"}) tree.MakeFolder(std::string("K/") + name);
    std::vector<std::string> seen;
    EXPECT_TRUE(registry.ListSubkeys("K", [&](std::string_view name) {
        seen.emplace_back(name);
        return seen.size() < 2;
    }));
    EXPECT_THAT(seen, ElementsAre("1", "2"));
}

TEST_F(DirectoryRegistryTest, ManySubkeysListTheSmallestInOrder) {
    for (int i = SortedNames::kCapacity + 9; i >= 0; --i) tree.MakeFolder("K/n" + std::to_string(1000 + i));
    const std::vector<std::string> names = Listed(registry, "K");
    ASSERT_EQ(names.size(), static_cast<std::size_t>(SortedNames::kCapacity));
    EXPECT_EQ(names.front(), "n1000");
    EXPECT_EQ(names.back(), "n" + std::to_string(1000 + SortedNames::kCapacity - 1));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(DirectoryRegistryTest, ReadsAValueWithoutOneTrailingNewline) {
    tree.WriteFile("K/V", "USB5\n");
    tree.WriteFile("K/Two", "USB5\n\n");
    tree.WriteFile("K/Bare", "USB5");
    char buffer[20] = {};
    EXPECT_TRUE(registry.ReadString("K", "V", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "USB5");
    EXPECT_TRUE(registry.ReadString("K", "Two", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "USB5\n");
    EXPECT_TRUE(registry.ReadString("K\\", "Bare", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "USB5");
}

TEST_F(DirectoryRegistryTest, ValueLongerThanTheBufferIsRefusedAndTheBufferKept) {
    tree.WriteFile("K/Fits", std::string(19, 'x') + "\n");
    tree.WriteFile("K/Long", std::string(20, 'x'));
    tree.WriteFile("K/Huge", std::string(10000, 'x'));
    char buffer[20] = "kept";
    EXPECT_FALSE(registry.ReadString("K", "Long", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("K", "Huge", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "kept");
    EXPECT_TRUE(registry.ReadString("K", "Fits", buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), std::string(19, 'x'));
}

TEST_F(DirectoryRegistryTest, MissingKeysAndValuesAndStrayPathsReadNothing) {
    tree.WriteFile("K/V", "USB1");
    tree.MakeFolder("K/Folder");
    TempTree outside;
    outside.WriteFile("V", "USB2");
    const std::string escape = "..\\" + outside.Root().filename().string();
    char buffer[20] = "kept";
    EXPECT_FALSE(registry.ReadString("Missing", "V", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("K", "Missing", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("K", "Folder", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString(escape, "V", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("K\\..\\K", "V", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("", "K/V", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ReadString("K\\\\", "V", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "kept");
    EXPECT_FALSE(registry.ListSubkeys("Missing", [](std::string_view) { return true; }));
    EXPECT_FALSE(registry.ListSubkeys(escape, [](std::string_view) { return true; }));
}

TEST(InMemoryRegistry, ListsDirectSubkeysInByteOrderAndRemovesWholeBranches) {
    InMemoryRegistry registry;
    registry.SetString("K\\b\\Deep", "V", "x");
    registry.AddKey("K\\b!");
    registry.AddKey("K\\a\\");
    registry.AddKey("Kx\\z");
    EXPECT_THAT(Listed(registry, "K"), ElementsAre("a", "b", "b!"));
    registry.RemoveKey("K\\b");
    EXPECT_THAT(Listed(registry, "K\\"), ElementsAre("a", "b!"));
    char buffer[4] = "old";
    EXPECT_FALSE(registry.ReadString("K\\b\\Deep", "V", buffer, sizeof buffer));
    EXPECT_FALSE(registry.ListSubkeys("Nothing", [](std::string_view) { return true; }));
}

TEST(InMemoryRegistry, ReadsValuesBoundedByTheBuffer) {
    InMemoryRegistry registry;
    registry.SetString("K", "V", "USB");
    registry.SetString("K", "W", "USB7");
    char buffer[4] = "old";
    EXPECT_TRUE(registry.ReadString("K", "V", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "USB");
    EXPECT_FALSE(registry.ReadString("K", "W", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "USB");
    EXPECT_FALSE(registry.ReadString("K", "V", buffer, 0));
}

}  // namespace
}  // namespace tandrel
