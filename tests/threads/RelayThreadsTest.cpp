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

}  // namespace
}  // namespace tandrel
