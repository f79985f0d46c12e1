#pragma once

#include <cstdint>

namespace tandrel {

// The calendar time, which a result is stamped with so that it can be found
// again weeks later. The window loop's clock only counts from start-up; this
// is a port of its own so that the simulated window can fake it.
class WallClock {
public:
    virtual ~WallClock() = default;

    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UtcMs() const = 0;
};

// The system's own clock.
class SystemWallClock : public WallClock {
public:
    std::int64_t UtcMs() const override;
};

// The beginning (midnight, in the system's time zone) of the local day that
// utcMs falls in, as UTC milliseconds.
std::int64_t LocalDayStartMs(std::int64_t utcMs);

// The one the station runs on.
const WallClock& TheSystemWallClock();

}  // namespace tandrel
