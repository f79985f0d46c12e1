#include <gtest/gtest.h>

#include "library/RateLimiter.h"

namespace tandrel::sim {
namespace {

using std::chrono::milliseconds;

Clock::time_point At(int ms) { return Clock::time_point(milliseconds(ms)) + std::chrono::hours(1); }

TEST(RateLimiter, UnlimitedLinkNeverDelays) {
    RateLimiter link(0);
    EXPECT_EQ(link.Reserve(At(5), 1 << 30), At(5));
}

TEST(RateLimiter, PacesBytesAtItsRate) {
    RateLimiter link(1000000);
    EXPECT_EQ(link.Reserve(At(0), 250000), At(250));
    // A caller that is early queues behind the transfer before it.
    EXPECT_EQ(link.Reserve(At(10), 250000), At(500));
}

TEST(RateLimiter, SharersSplitTheRate) {
    RateLimiter bus(1000000);
    Clock::time_point last{};
    for (int phone = 0; phone < 4; ++phone) last = bus.Reserve(At(0), 100000);
    EXPECT_EQ(last, At(400));
}

TEST(RateLimiter, AnIdleLinkBanksNoCredit) {
    RateLimiter link(1000000);
    link.Reserve(At(0), 1000);
    EXPECT_EQ(link.Reserve(At(5000), 100000), At(5100));
}

TEST(RateLimiter, ANewRateAppliesToTheNextReservation) {
    RateLimiter link(1000000);
    link.SetRate(2000000);
    EXPECT_EQ(link.Reserve(At(0), 1000000), At(500));
    link.SetRate(0);
    EXPECT_EQ(link.Reserve(At(0), 1000000), At(0));
}

}  // namespace
}  // namespace tandrel::sim
