#include "RateLimiter.h"

#include <algorithm>

namespace tandrel::sim {

void RateLimiter::SetRate(std::uint64_t bytesPerSecond) {
    std::lock_guard lock(mutex);
    rate = bytesPerSecond;
}

Clock::time_point RateLimiter::Reserve(Clock::time_point now, std::uint64_t size) {
    std::lock_guard lock(mutex);
    if (rate == 0) return now;
    // An idle link banks no credit: a transfer never starts before now.
    Clock::time_point start = std::max(now, nextFree);
    auto busy = std::chrono::nanoseconds(static_cast<std::int64_t>(size * 1'000'000'000.0 / static_cast<double>(rate)));
    nextFree = start + std::chrono::duration_cast<Clock::duration>(busy);
    return nextFree;
}

}  // namespace tandrel::sim
