#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "plan/MemoryClass.h"
#include "plan/SortDownloadList.h"

namespace tandrel {
namespace {

TEST(MemoryClass, NumbersOutsideTheTableAreClassZero) {
    EXPECT_STREQ(MemoryClassName(17), "HEX Extract");
    EXPECT_EQ(ClassPriority(17), 255);
    for (std::int32_t c : {0, 18, 99, -1, INT_MIN, INT_MAX}) {
        EXPECT_STREQ(MemoryClassName(c), "") << c;
        EXPECT_EQ(ClassPriority(c), 255) << c;
    }
}

DownloadList ListOf(const std::vector<std::int32_t>& classes) {
    DownloadList list;
    for (std::size_t n = 0; n < classes.size(); ++n) {
        list.items[n].memoryClass = classes[n];
        std::snprintf(list.items[n].path, sizeof list.items[n].path, "item%zu", n);
        std::snprintf(list.items[n].fileSpec, sizeof list.items[n].fileSpec, "|0|item%zu", n);
    }
    list.count = static_cast<std::int8_t>(classes.size());
    return list;
}

std::vector<std::string> Order(const DownloadList& list) {
    std::vector<std::string> order;
    for (int n = 0; n < list.count; ++n) order.emplace_back(list.items[n].path);
    return order;
}

TEST(SortDownloadList, UnclassedItemsGoAfterEveryKnownClass) {
    DownloadList list = ListOf({99, 17, 0, 16, 5});
    SortDownloadList(list);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"item4", "item3", "item2", "item0", "item1"}));
    // Whole items move: the fileSpec follows its path.
    EXPECT_STREQ(list.items[0].fileSpec, "|0|item4");
    EXPECT_EQ(list.items[0].memoryClass, 5);
}

TEST(SortDownloadList, EqualPrioritiesAreCarriedPastEachOtherByTheExchanges) {
    DownloadList list = ListOf({4, 4, 1});
    SortDownloadList(list);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"item2", "item1", "item0"}));
}

TEST(SortDownloadList, AnyMixOfClassesEndsInPriorityOrderWithNothingLost) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> anyClass(-3, 21);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::int32_t> classes(static_cast<std::size_t>(round % 8));
        for (auto& c : classes) c = anyClass(random);
        DownloadList list = ListOf(classes);
        SortDownloadList(list);
        std::vector<std::string> seen = Order(list);
        for (int n = 1; n < list.count; ++n) {
            ASSERT_LE(ClassPriority(list.items[n - 1].memoryClass), ClassPriority(list.items[n].memoryClass));
        }
        std::vector<std::string> all = Order(ListOf(classes));
        std::sort(seen.begin(), seen.end());
        std::sort(all.begin(), all.end());
        ASSERT_EQ(seen, all);
    }
}

}  // namespace
}  // namespace tandrel
