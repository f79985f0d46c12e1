#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "channels/ChannelEvent.h"
#include "channels/EventRelay.h"
#include "library/LibraryBinding.h"
#include "support/Station.h"
#include "support/TableLoader.h"

namespace tandrel {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUpAfter = std::chrono::minutes(3);

// Eight library threads, one per channel, each numbering its reports, while
// this thread is the window thread.
TEST(RelayThreads, EveryReportArrivesOnceAndInEachSendersOrder) {
    constexpr int kSenders = 8;
    constexpr int kReportsEach = 100000;
    // Senders stay at most this far ahead of the window, so the queue (and the
    // memory a sanitizer shadows) stays bounded.
    constexpr int kAhead = 5000;

    ChannelTable channels;
    channels.Create();
    SimulatedLoop loop;
    std::array<std::atomic<int>, kSenders + 1> consumed{};
    std::array<int, kSenders + 1> outOfOrder{};
    loop.SetHandlers(
        [&](WindowMessage& m) {
            const auto& e = dynamic_cast<const ChannelEvent&>(*m.payload);
            const auto n = static_cast<std::size_t>(e.channel);
            if (std::atoi(e.text.c_str()) != consumed[n].load()) ++outOfOrder[n];
            consumed[n].fetch_add(1);
        },
        [](int) {});
    AttachRelay(channels, loop);

    std::vector<std::thread> senders;
    for (int n = 1; n <= kSenders; ++n) {
        senders.emplace_back([&, n] {
            const auto slot = static_cast<std::size_t>(n);
            for (int i = 0; i < kReportsEach; ++i) {
                while (i - consumed[slot].load() > kAhead) std::this_thread::yield();
                LibraryCallback(n, 2, std::to_string(i).c_str());
            }
        });
    }
    const auto deadline = Clock::now() + kGiveUpAfter;
    auto total = [&] {
        int sum = 0;
        for (int n = 1; n <= kSenders; ++n) sum += consumed[static_cast<std::size_t>(n)].load();
        return sum;
    };
    while (total() < kSenders * kReportsEach && Clock::now() < deadline) {
        loop.WaitForPost(std::chrono::milliseconds(50));
        loop.DeliverPosted();
    }
    for (auto& t : senders) t.join();
    loop.DeliverPosted();
    DetachRelay(channels);

    for (int n = 1; n <= kSenders; ++n) {
        const auto slot = static_cast<std::size_t>(n);
        EXPECT_EQ(consumed[slot].load(), kReportsEach) << "channel " << n;
        EXPECT_EQ(outOfOrder[slot], 0) << "channel " << n;
    }
}

IFWD_DL_Callback g_registered = nullptr;
int Register(IFWD_DL_Callback callback, char*) {
    g_registered = callback;
    return 0;
}

// Sends count reports from each of eight threads through callback.
void SendFromEightThreads(IFWD_DL_Callback callback, int count, std::atomic<int>& sent) {
    std::vector<std::thread> senders;
    for (int n = 1; n <= 8; ++n) {
        senders.emplace_back([callback, count, n, &sent] {
            for (int i = 0; i < count; ++i) {
                callback(n, i % 3, "50");
                sent.fetch_add(1);
            }
        });
    }
    for (auto& t : senders) t.join();
}

// Library threads keep reporting through the callback the window registered
// while the window closes and after it has gone: nothing may touch the freed
// window, and nothing queued may be lost track of.
TEST(RelayThreads, ReportsDuringAndAfterCloseTouchNothingFreed) {
    constexpr int kEach = 5000;
    TableLoader loader;
    loader.Export(kLibraryFileName, "_IFWD_DL_init_callback", &Register);
    test::Station<> station({{}, &loader});
    station.dialog.OnInitDialog();
    ASSERT_EQ(g_registered, &LibraryCallback);
    SimulatedLoop& loop = station.window.loop;

    std::atomic<int> sent{0};
    std::thread library([&] { SendFromEightThreads(g_registered, kEach, sent); });
    // The window works through reports until the library is half done, then closes.
    while (sent.load() < 8 * kEach / 2) {
        loop.DeliverPosted();
        std::this_thread::yield();
    }
    station.CloseDialog();
    library.join();
    SendFromEightThreads(g_registered, 1000, sent);

    // The loop still holds the dead window's handler: anything delivered now
    // would reach freed memory.
    EXPECT_FALSE(loop.WaitForPost(std::chrono::milliseconds(0)));
    loop.RunFor(100);
}

// Eight library threads report all the time, of every status, while the
// window thread ends every channel's run and begins the next one. A report
// whose callback had returned when a run ended must never count for the next.
TEST(RelayThreads, AReportFromAnEndedRunNeverCountsForTheNextRun) {
    constexpr int kSenders = 8;
    constexpr int kReportsEach = 20000;
    constexpr int kAhead = 2000;

    ChannelTable channels;
    channels.Create();
    SimulatedLoop loop;
    std::array<std::atomic<int>, kSenders + 1> posted{};   // the last report whose callback returned
    std::array<std::atomic<int>, kSenders + 1> handled{};  // reports the window has seen
    std::array<int, kSenders + 1> lastOfEndedRun{};
    int accepted = 0, dropped = 0, stale = 0;
    loop.SetHandlers(
        [&](WindowMessage& m) {
            const auto& e = dynamic_cast<const ChannelEvent&>(*m.payload);
            const auto n = static_cast<std::size_t>(e.channel);
            handled[n].fetch_add(1);
            if (!channels.Record(e.channel)->IsCurrentSession(e.session)) {
                ++dropped;
                return;
            }
            ++accepted;
            if (std::atoi(e.text.c_str()) <= lastOfEndedRun[n]) ++stale;
        },
        [](int) {});
    AttachRelay(channels, loop);
    for (int n = 1; n <= kSenders; ++n) channels.Record(n)->BeginSession();

    std::vector<std::thread> senders;
    for (int n = 1; n <= kSenders; ++n) {
        senders.emplace_back([&, n] {
            const auto slot = static_cast<std::size_t>(n);
            for (int i = 1; i <= kReportsEach; ++i) {
                while (i - handled[slot].load() > kAhead) std::this_thread::yield();
                LibraryCallback(n, i % 3, std::to_string(i).c_str());
                posted[slot].store(i);
            }
        });
    }
    const auto deadline = Clock::now() + kGiveUpAfter;
    auto allHandled = [&] {
        for (int n = 1; n <= kSenders; ++n) {
            if (handled[static_cast<std::size_t>(n)].load() < kReportsEach) return false;
        }
        return true;
    };
    while (!allHandled() && Clock::now() < deadline) {
        for (int n = 1; n <= kSenders; ++n) {
            ChannelRecord& record = *channels.Record(n);
            record.EndSession();
            lastOfEndedRun[static_cast<std::size_t>(n)] = posted[static_cast<std::size_t>(n)].load();
            record.BeginSession();
        }
        loop.WaitForPost(std::chrono::milliseconds(5));
        loop.DeliverPosted();
    }
    for (auto& t : senders) t.join();
    loop.DeliverPosted();
    DetachRelay(channels);

    EXPECT_EQ(stale, 0);
    EXPECT_EQ(accepted + dropped, kSenders * kReportsEach);
    EXPECT_GT(accepted, 0);
    EXPECT_GT(dropped, 0);
}

}  // namespace
}  // namespace tandrel
