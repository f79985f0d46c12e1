#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// A window loop without a toolkit, on a clock its subclass keeps: the
// virtual clock of SimulatedLoop or the real one of ThreadLoop. Posts may
// come from any thread; timers and tasks belong to the window thread. Ticks
// and tasks fire in the order they fall due; one due at the same time as
// another fires in the order the two were set.
class Scheduler : public WindowLoop {
public:
    // Time since the loop was made.
    using Time = std::chrono::nanoseconds;

    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) override;
    bool Post(WindowMessage message) override;
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;
    void After(int delayMs, Task task) override;
    std::int64_t Now() const override;
    void Close() override;

    // Period of a set timer, 0 when unset.
    int TimerPeriod(int id) const;
    std::size_t PendingTasks() const { return tasks_.size(); }

protected:
    // The clock's reading.
    virtual Time Clock() const = 0;
    // A tick or task due at due is about to run: a clock that is behind moves on to it.
    virtual void Reach(Time due) = 0;

    // Delivers the oldest posted message; false when none is queued.
    bool DeliverOnePost();
    // Fires the tick or task that falls due first, if it is due by end.
    bool FireNextDue(Time end);
    // When the next tick or task falls due, or end when none does before.
    Time NextDue(Time end) const;
    PostQueue& Posts() { return posts_; }

private:
    struct Timer {
        std::chrono::milliseconds period{};
        Time due{};
        std::uint64_t order = 0;
    };
    using TaskKey = std::pair<Time, std::uint64_t>;

    MessageHandler onMessage_;
    TimerHandler onTimer_;
    PostQueue posts_;
    std::uint64_t nextOrder_ = 0;
    std::map<int, Timer> timers_;
    std::map<TaskKey, Task> tasks_;
};

}  // namespace tandrel
