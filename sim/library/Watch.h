#pragma once

#include "Operation.h"
#include "PhoneLink.h"
#include "RateLimiter.h"

namespace tandrel::sim {

enum class Interrupt { None, Cancelled, Lost };

// Keeps a running operation honest about the world: an abort or an unplug
// is noticed within a few milliseconds, even while the operation waits for
// the link.
class Watch {
public:
    Watch(const Operation& operation, const PhoneLink& link) : operation(operation), link(link) {}

    Interrupt Check();
    // Check, forcing a fresh look at the bench.
    Interrupt CheckNow();
    Interrupt SleepUntil(Clock::time_point when);

private:
    const Operation& operation;
    const PhoneLink& link;
    Clock::time_point lastLook{};
    bool lost = false;
};

}  // namespace tandrel::sim
