#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

#include "GuiStation.h"
#include "qt/QtWindowLoop.h"

namespace tandrel::gui {
namespace {

struct Numbered : MessagePayload {
    Numbered(int s, int n, std::atomic<int>* alive = nullptr) : sender(s), number(n), alive_(alive) {
        if (alive_) ++*alive_;
    }
    ~Numbered() override {
        if (alive_) --*alive_;
    }
    int sender;
    int number;
    std::atomic<int>* alive_;
};

WindowMessage Message(int sender, int number, std::atomic<int>* alive = nullptr) {
    return WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Numbered>(sender, number, alive)};
}

const Numbered& PayloadOf(const WindowMessage& m) { return static_cast<const Numbered&>(*m.payload); }

TEST(QtWindowLoop, PostsFromManyThreadsAllArriveEachSenderInOrder) {
    constexpr int kSenders = 8;
    constexpr int kEach = 2000;
    QtWindowLoop loop;
    std::vector<std::vector<int>> seen(kSenders);
    loop.SetHandlers([&](WindowMessage& m) { seen[PayloadOf(m).sender].push_back(PayloadOf(m).number); },
                     [](int) {});
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s) {
        senders.emplace_back([&loop, s] {
            for (int n = 0; n < kEach; ++n) loop.Post(Message(s, n));
        });
    }
    for (auto& t : senders) t.join();
    EXPECT_TRUE(Eventually([&] {
        return std::all_of(seen.begin(), seen.end(), [](const auto& v) { return v.size() == kEach; });
    }));
    for (const auto& numbers : seen) EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
}

TEST(QtWindowLoop, CloseFreesWhatIsQueuedAndRefusesLaterPosts) {
    std::atomic<int> alive{0};
    int delivered = 0;
    {
        QtWindowLoop loop;
        loop.SetHandlers([&](WindowMessage&) { ++delivered; }, [](int) {});
        std::thread([&] {
            for (int n = 0; n < 10; ++n) loop.Post(Message(0, n, &alive));
        }).join();
        EXPECT_EQ(alive, 10);
        loop.Close();
        EXPECT_EQ(alive, 0);
        EXPECT_FALSE(loop.Post(Message(0, 99, &alive)));
        EXPECT_EQ(alive, 0);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(delivered, 0);
}

TEST(QtWindowLoop, AHandlerRunningAModalLoopStillSeesMessagesInOrder) {
    QtWindowLoop loop;
    std::vector<int> order;
    loop.SetHandlers(
        [&](WindowMessage& m) {
            const int n = PayloadOf(m).number;
            order.push_back(n);
            if (n != 0) return;
            // As a message box would: a nested loop that lasts until 2 is in.
            loop.Post(Message(0, 2));
            QEventLoop nested;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (order.size() == 3) nested.quit();
            });
            poll.start(1);
            QTimer::singleShot(5000, &nested, &QEventLoop::quit);
            nested.exec();
        },
        [](int) {});
    loop.Post(Message(0, 0));
    loop.Post(Message(0, 1));
    EXPECT_TRUE(Eventually([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

// The Qt timers the loop holds now.
QList<QAbstractEventDispatcher::TimerInfo> TimersOf(QtWindowLoop& loop) {
    return QAbstractEventDispatcher::instance()->registeredTimers(&loop);
}

TEST(QtWindowLoop, ATimerRepeatsUntilKilledAndSettingItAgainRestartsIt) {
    QtWindowLoop loop;
    std::vector<int> ticks;
    loop.SetHandlers([](WindowMessage&) {}, [&](int id) {
        ticks.push_back(id);
        if (ticks.size() == 3) loop.KillTimer(id);
    });
    loop.SetTimer(11, 1);
    loop.SetTimer(11, 2);
    ASSERT_EQ(TimersOf(loop).size(), 1);
    EXPECT_EQ(TimersOf(loop).front().interval, 2);
    EXPECT_TRUE(loop.IsTimerSet(11));
    ASSERT_TRUE(Eventually([&] { return ticks.size() == 3; }));
    EXPECT_FALSE(loop.IsTimerSet(11));
    EXPECT_TRUE(TimersOf(loop).isEmpty());
    EXPECT_EQ(ticks, (std::vector<int>{11, 11, 11}));
}

TEST(QtWindowLoop, ATaskRunsOnceAndLeavesNoTimer) {
    QtWindowLoop loop;
    int runs = 0;
    loop.After(0, [&] { ++runs; });
    EXPECT_TRUE(Eventually([&] { return runs == 1; }));
    EXPECT_TRUE(TimersOf(loop).isEmpty());
}

TEST(QtWindowLoop, CloseDropsTimersAndTasks) {
    QtWindowLoop loop;
    loop.SetTimer(1, 1);
    loop.After(1, [] {});
    EXPECT_EQ(TimersOf(loop).size(), 2);
    loop.Close();
    EXPECT_FALSE(loop.IsTimerSet(1));
    EXPECT_TRUE(TimersOf(loop).isEmpty());
}

}  // namespace
}  // namespace tandrel::gui
