#include "Watch.h"

#include <algorithm>
#include <thread>

namespace tandrel::sim {
namespace {

// Short enough that an unplug fails the operation well inside 100 ms, long
// enough that eight channels looking at the bench cost nothing noticeable.
constexpr auto kLookInterval = std::chrono::milliseconds(10);

}  // namespace

Interrupt Watch::Check() {
    if (operation.Cancelled()) return Interrupt::Cancelled;
    Clock::time_point now = Clock::now();
    if (!lost && now - lastLook >= kLookInterval) {
        lastLook = now;
        lost = !link.Present();
    }
    return lost ? Interrupt::Lost : Interrupt::None;
}

Interrupt Watch::CheckNow() {
    lastLook = {};
    return Check();
}

Interrupt Watch::SleepUntil(Clock::time_point when) {
    for (;;) {
        Interrupt interrupt = Check();
        Clock::time_point now = Clock::now();
        if (interrupt != Interrupt::None || now >= when) return interrupt;
        std::this_thread::sleep_until(std::min(when, now + kLookInterval));
    }
}

}  // namespace tandrel::sim
