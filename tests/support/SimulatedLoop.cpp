#include "support/SimulatedLoop.h"

#include <algorithm>

namespace tandrel {

void SimulatedLoop::Pause(int ms) { now_ += std::chrono::milliseconds(std::max(ms, 0)); }

void SimulatedLoop::Reach(Time due) { now_ = std::max(now_, due); }

void SimulatedLoop::DeliverPosted() {
    while (DeliverOnePost()) {
    }
}

bool SimulatedLoop::WaitForPost(std::chrono::milliseconds timeout) {
    return Posts().WaitUntil(std::chrono::steady_clock::now() + timeout);
}

void SimulatedLoop::RunFor(std::int64_t ms) {
    const Time end = now_ + std::chrono::milliseconds(std::max<std::int64_t>(ms, 0));
    DeliverPosted();
    while (FireNextDue(end)) DeliverPosted();
    Reach(end);
    DeliverPosted();
}

}  // namespace tandrel
