#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// A window loop on a virtual clock. Nothing happens until the test drives it:
// RunFor(ms) delivers posted messages, timer ticks and delayed tasks in time
// order while the clock advances; Pause advances the clock and delivers
// nothing. Posts may come from any thread.
class SimulatedLoop : public WindowLoop {
public:
    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) override;
    bool Post(WindowMessage message) override;
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;
    void After(int delayMs, Task task) override;
    void Pause(int ms) override;
    std::int64_t Now() const override;
    void Close() override;

    // Advances the clock by ms, delivering everything that falls due.
    void RunFor(std::int64_t ms);
    // Delivers the messages posted so far, without moving the clock.
    void DeliverPosted();
    // Blocks in real time until a message is queued or the timeout passes.
    bool WaitForPost(std::chrono::milliseconds timeout);
    // Period of a set timer, 0 when unset.
    int TimerPeriod(int id) const;
    std::size_t PendingTasks() const { return tasks_.size(); }

private:
    struct Timer {
        int period = 0;
        std::int64_t due = 0;
        std::uint64_t order = 0;
    };
    using TaskKey = std::pair<std::int64_t, std::uint64_t>;

    bool FireNextDue(std::int64_t end);

    MessageHandler onMessage_;
    TimerHandler onTimer_;

    PostQueue posts_;

    std::int64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::map<int, Timer> timers_;
    std::map<TaskKey, Task> tasks_;
};

}  // namespace tandrel
