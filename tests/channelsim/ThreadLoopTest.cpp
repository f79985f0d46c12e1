// The real-time loop that threaded tests run the window on.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/ThreadLoop.h"

namespace tandrel {
namespace {

struct Number : MessagePayload {
    explicit Number(int v) : value(v) {}
    int value;
};

TEST(ThreadLoop, PostsFromAnotherThreadArriveInOrderAmongTasksAndTicks) {
    ThreadLoop loop;
    std::vector<int> posts;
    int ticks = 0;
    bool taskRan = false;
    loop.SetHandlers([&](WindowMessage& m) { posts.push_back(static_cast<Number&>(*m.payload).value); },
                     [&](int id) {
                         ++ticks;
                         loop.KillTimer(id);
                     });
    loop.SetTimer(1, 1);
    loop.After(0, [&] { taskRan = true; });
    std::thread sender([&] {
        for (int i = 0; i < 1000; ++i) loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Number>(i)});
    });
    EXPECT_TRUE(loop.RunUntil([&] { return posts.size() == 1000 && ticks == 1 && taskRan; },
                              std::chrono::seconds(30)));
    sender.join();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(posts[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(loop.IsTimerSet(1));
}

TEST(ThreadLoop, AfterCloseNothingIsDeliveredAndPostsAreRefused) {
    ThreadLoop loop;
    int delivered = 0;
    loop.SetHandlers([&](WindowMessage&) { ++delivered; }, [&](int) { ++delivered; });
    loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Number>(1)});
    loop.SetTimer(1, 1);
    loop.Close();
    EXPECT_FALSE(loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Number>(2)}));
    EXPECT_FALSE(loop.RunUntil([&] { return delivered > 0; }, std::chrono::milliseconds(20)));
}

}  // namespace
}  // namespace tandrel
