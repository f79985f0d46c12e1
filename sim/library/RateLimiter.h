#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

namespace tandrel::sim {

using Clock = std::chrono::steady_clock;

// Paces bytes through a link of a given rate. Each transfer reserves its
// share of the link's time; concurrent callers queue behind one another, so
// several phones on one bus split its rate between them.
class RateLimiter {
public:
    explicit RateLimiter(std::uint64_t bytesPerSecond = 0) : rate(bytesPerSecond) {}

    // 0 lifts the limit.
    void SetRate(std::uint64_t bytesPerSecond);
    // When size bytes handed over at now will have passed the link.
    Clock::time_point Reserve(Clock::time_point now, std::uint64_t size);

private:
    std::mutex mutex;
    std::uint64_t rate;
    Clock::time_point nextFree{};
};

}  // namespace tandrel::sim
