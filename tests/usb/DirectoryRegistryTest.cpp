#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "platform/DirectoryRegistry.h"
#include "platform/FolderReads.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class DirectoryRegistryTest : public ::testing::Test {
protected:
    std::vector<std::string> Listed(std::string_view key, std::size_t stopAfter = 1000) const {
        std::vector<std::string> names;
        registry.ListSubkeys(key, [&](std::string_view name) {
            names.emplace_back(name);
            return names.size() < stopAfter;
        });
        return names;
    }
    std::string Read(std::string_view key, std::string_view value) const {
        char buffer[20] = "<kept>";
        registry.ReadString(key, value, buffer, sizeof buffer);
        return buffer;
    }

    test::TempFolder tree;
    DirectoryRegistry registry{tree.Path()};
};

TEST_F(DirectoryRegistryTest, ListsSubfoldersInByteOrderAndNothingElse) {
    for (const char* name : {"b", "a0", "Z", "a/deeper", "target"}) tree.MakeFolder(std::string("K/") + name);
    tree.WriteFile("K/a-file", "not a key");
    // A link to a folder lists as a folder, where the system can make one.
    std::error_code noLinks;
    std::filesystem::create_directory_symlink(tree / "K/target", tree / "K/c-link", noLinks);
    std::vector<std::string> expected = {"Z", "a", "a0", "b", "c-link", "target"};
    if (noLinks) std::erase(expected, "c-link");
    EXPECT_THAT(Listed("K\\"), ElementsAreArray(expected));
    EXPECT_THAT(Listed("K", 2), ElementsAre("Z", "a"));
}

TEST_F(DirectoryRegistryTest, ManySubkeysListTheSmallestInOrder) {
    for (int i = SortedNames::kCapacity + 9; i >= 0; --i) tree.MakeFolder("K/n" + std::to_string(1000 + i));
    const std::vector<std::string> names = Listed("K");
    ASSERT_EQ(names.size(), static_cast<std::size_t>(SortedNames::kCapacity));
    EXPECT_EQ(names.front(), "n1000");
    EXPECT_EQ(names.back(), "n" + std::to_string(1000 + SortedNames::kCapacity - 1));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(DirectoryRegistryTest, ReadsWholeValuesWithoutOneTrailingNewline) {
    tree.WriteFile("K/V", "USB5\n");
    tree.WriteFile("K/Two", "USB5\n\n");
    tree.WriteFile("K/Fits", std::string(19, 'x') + "\n");
    tree.WriteFile("K/Long", std::string(20, 'x'));
    tree.WriteFile("K/Huge", std::string(10000, 'x'));
    EXPECT_EQ(Read("K", "V"), "USB5");
    EXPECT_EQ(Read("K\\", "Two"), "USB5\n");
    EXPECT_EQ(Read("K", "Fits"), std::string(19, 'x'));
    EXPECT_EQ(Read("K", "Long"), "<kept>");
    EXPECT_EQ(Read("K", "Huge"), "<kept>");
}

TEST_F(DirectoryRegistryTest, MissingKeysAndValuesAndStrayPathsReadNothing) {
    tree.WriteFile("K/V", "USB1");
    tree.MakeFolder("K/Folder");
    test::TempFolder outside;
    outside.WriteFile("V", "USB2");
    const std::string escape = "..\\" + std::filesystem::path(outside.Path()).filename().string();
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"Missing", "V"}, {"K", "Missing"}, {"K", "Folder"}, {escape, "V"}, {"K\\..\\K", "V"}, {"", "K/V"},
             {"K\\\\", "V"}}) {
        EXPECT_EQ(Read(key, value), "<kept>") << key << " " << value;
    }
    EXPECT_FALSE(registry.ListSubkeys("Missing", [](std::string_view) { return true; }));
    EXPECT_FALSE(registry.ListSubkeys(escape, [](std::string_view) { return true; }));
}

}  // namespace
}  // namespace tandrel
