// The window loop on the Windows message queue: posts, timers by id and
// delayed tasks reach the window thread; what is queued at close is freed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "win32/Win32WindowSystem.h"

namespace tandrel {
namespace {

struct Counted : MessagePayload {
    explicit Counted(int& freed) : freed(freed) {}
    ~Counted() override { ++freed; }
    int& freed;
};

struct Loop {
    Loop() {
        if (!window.Dialog()) ADD_FAILURE() << "no window could be made: DISPLAY names no X server open to us";
        window.Loop().SetHandlers([this](WindowMessage& m) { delivered.push_back(m.id); },
                                  [this](int id) { ticks.push_back(id); });
    }
    // Runs the window thread until done() holds or limit has passed.
    template <typename Done>
    bool RunUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end) {
            window.RunPending();
            Sleep(1);
        }
        return done();
    }

    Win32WindowSystem window;
    std::vector<unsigned> delivered;
    std::vector<int> ticks;
};

TEST(Win32Loop, PostsFromOtherThreadsArriveInOrder) {
    Loop loop;
    std::thread sender([&] {
        for (unsigned id = 1; id <= 500; ++id) loop.window.Loop().Post(WindowMessage{id, nullptr});
    });
    sender.join();
    ASSERT_TRUE(loop.RunUntil([&] { return loop.delivered.size() == 500; }));
    for (unsigned i = 0; i < 500; ++i) EXPECT_EQ(loop.delivered[i], i + 1);
}

TEST(Win32Loop, TimersTickByTheirIdAndTasksRunOnce) {
    Loop loop;
    int tasks = 0;
    loop.window.Loop().SetTimer(11, 10);
    loop.window.Loop().After(10, [&] { ++tasks; });
    ASSERT_TRUE(loop.RunUntil([&] { return loop.ticks.size() >= 3 && tasks == 1; }));
    EXPECT_EQ(loop.ticks.front(), 11);
    loop.window.Loop().KillTimer(11);
    EXPECT_FALSE(loop.window.Loop().IsTimerSet(11));
    loop.ticks.clear();
    loop.RunUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_TRUE(loop.ticks.empty());
    EXPECT_EQ(tasks, 1);
}

TEST(Win32Loop, MessagesQueuedWhenTheWindowClosesAreFreedNotDelivered) {
    Loop loop;
    int freed = 0;
    for (int i = 0; i < 3; ++i) loop.window.Loop().Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Counted>(freed)});
    SendMessageW(loop.window.Dialog(), WM_CLOSE, 0, 0);
    loop.window.RunPending();
    EXPECT_TRUE(loop.window.IsClosed());
    EXPECT_TRUE(loop.delivered.empty());
    EXPECT_EQ(freed, 3);
    EXPECT_FALSE(loop.window.Loop().Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Counted>(freed)}));
    EXPECT_EQ(freed, 4);
}

}  // namespace
}  // namespace tandrel
