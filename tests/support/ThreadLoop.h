#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// A window loop on the real clock without a toolkit: the thread that calls
// RunUntil is the window thread. Posts may come from any thread; timers,
// tasks and pauses belong to the window thread.
class ThreadLoop : public WindowLoop {
public:
    using Clock = std::chrono::steady_clock;

    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) override;
    bool Post(WindowMessage message) override;
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;
    void After(int delayMs, Task task) override;
    void Pause(int ms) override;
    std::int64_t Now() const override;
    void Close() override;

    // Delivers messages, ticks and tasks as they fall due until done() holds
    // after a delivery or the timeout passes; true when done() held.
    template <typename Done>
    bool RunUntil(Done done, std::chrono::milliseconds timeout) {
        const Clock::time_point end = Clock::now() + timeout;
        while (!done()) {
            if (Clock::now() >= end) return false;
            RunOnce(end);
        }
        return true;
    }

private:
    struct Timer {
        std::chrono::milliseconds period{};
        Clock::time_point due;
    };
    using TaskKey = std::pair<Clock::time_point, std::uint64_t>;

    // Delivers what is posted and at most one due tick or task, or waits for
    // the next of them (a post, a due time, or end).
    void RunOnce(Clock::time_point end);
    bool DeliverOnePost();
    bool FireOneDue();
    Clock::time_point NextDue(Clock::time_point end) const;

    MessageHandler onMessage_;
    TimerHandler onTimer_;

    PostQueue posts_;

    const Clock::time_point start_ = Clock::now();
    std::uint64_t nextOrder_ = 0;
    std::map<int, Timer> timers_;
    std::map<TaskKey, Task> tasks_;
};

}  // namespace tandrel
