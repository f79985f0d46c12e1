#include "platform/WallClock.h"

#include <chrono>

namespace tandrel {

std::int64_t SystemWallClock::UtcMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

const WallClock& TheSystemWallClock() {
    static const SystemWallClock clock;
    return clock;
}

}  // namespace tandrel
