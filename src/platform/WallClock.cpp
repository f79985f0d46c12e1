#include "platform/WallClock.h"

#include <chrono>
#include <ctime>

namespace tandrel {

std::int64_t SystemWallClock::UtcMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t LocalDayStartMs(std::int64_t utcMs) {
    const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local)) * 1000;
}

const WallClock& TheSystemWallClock() {
    static const SystemWallClock clock;
    return clock;
}

}  // namespace tandrel
