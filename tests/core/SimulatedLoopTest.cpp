#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/PostedTask.h"
#include "support/SimulatedLoop.h"

namespace tandrel {
namespace {

struct Tagged : MessagePayload {
    explicit Tagged(int v) : value(v) {}
    int value;
};

TEST(SimulatedLoop, DeliversTimersTasksAndPostsInTimeOrder) {
    SimulatedLoop loop;
    std::vector<std::string> seen;
    loop.SetHandlers([&](WindowMessage& m) { seen.push_back("post" + std::to_string(static_cast<Tagged&>(*m.payload).value)); },
                     [&](int id) {
                         seen.push_back("timer" + std::to_string(id) + "@" + std::to_string(loop.Now()));
                         loop.KillTimer(id);
                     });
    loop.SetTimer(1, 50);
    loop.After(20, [&] { seen.push_back("task@" + std::to_string(loop.Now())); });
    loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Tagged>(7)});
    loop.RunFor(100);
    EXPECT_EQ(seen, (std::vector<std::string>{"post7", "task@20", "timer1@50"}));
    EXPECT_EQ(loop.Now(), 100);
}

TEST(SimulatedLoop, SettingASetTimerRestartsItAndKillingAnUnsetOneIsHarmless) {
    SimulatedLoop loop;
    std::vector<std::int64_t> ticks;
    loop.SetHandlers([](WindowMessage&) {}, [&](int) { ticks.push_back(loop.Now()); });
    loop.SetTimer(1, 50);
    loop.RunFor(30);
    loop.SetTimer(1, 50);
    loop.KillTimer(7);
    loop.RunFor(100);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{80, 130}));
}

TEST(SimulatedLoop, PauseMovesTheClockWithoutDelivering) {
    SimulatedLoop loop;
    int tasks = 0;
    loop.SetHandlers([](WindowMessage&) {}, [](int) {});
    loop.After(10, [&] { ++tasks; });
    loop.Pause(1000);
    EXPECT_EQ(tasks, 0);
    EXPECT_EQ(loop.Now(), 1000);
    loop.RunFor(0);
    EXPECT_EQ(tasks, 1);
}

TEST(SimulatedLoop, CloseFreesQueuedMessagesAndRefusesLaterPosts) {
    SimulatedLoop loop;
    int delivered = 0;
    loop.SetHandlers([&](WindowMessage&) { ++delivered; }, [](int) {});
    std::thread sender([&] { loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Tagged>(1)}); });
    sender.join();
    loop.Close();
    EXPECT_FALSE(loop.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Tagged>(2)}));
    loop.RunFor(10);
    EXPECT_EQ(delivered, 0);
}

TEST(PostedTask, RunsOnDeliveryAndIsDroppedUnrunOnceTheWindowClosed) {
    SimulatedLoop loop;
    loop.SetHandlers(RunPostedTask, [](int) {});
    auto captured = std::make_shared<int>(0);
    std::thread worker([&] { EXPECT_TRUE(PostTask(loop, [captured] { ++*captured; })); });
    worker.join();
    loop.RunFor(0);
    EXPECT_EQ(*captured, 1);
    PostTask(loop, [captured] { ++*captured; });
    loop.Close();
    EXPECT_FALSE(PostTask(loop, [captured] { ++*captured; }));
    loop.RunFor(10);
    EXPECT_EQ(*captured, 1);
    EXPECT_EQ(captured.use_count(), 1);
}

}  // namespace
}  // namespace tandrel
