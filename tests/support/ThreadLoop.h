#pragma once

#include <chrono>

#include "support/Scheduler.h"

namespace tandrel {

// A window loop on the real clock without a toolkit: the thread that calls
// RunUntil is the window thread. Posts may come from any thread; timers,
// tasks and pauses belong to the window thread.
class ThreadLoop : public Scheduler {
public:
    void Pause(int ms) override;

    // Delivers messages, ticks and tasks as they fall due until done() holds
    // after a delivery or the timeout passes; true when done() held.
    template <typename Done>
    bool RunUntil(Done done, std::chrono::milliseconds timeout) {
        const Time end = Clock() + timeout;
        while (!done()) {
            if (Clock() >= end) return false;
            RunOnce(end);
        }
        return true;
    }

protected:
    Time Clock() const override { return std::chrono::steady_clock::now() - start_; }
    // The real clock is always there already.
    void Reach(Time) override {}

private:
    // Delivers one post or one due tick or task, or waits for the next of
    // them (a post, a due time, or end).
    void RunOnce(Time end);

    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tandrel
