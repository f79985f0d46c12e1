#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// What a window loop on a toolkit's event loop shares with any other.
//
// Posted messages wait in a PostQueue under one short lock; the toolkit is
// woken once per batch, and the window thread then delivers everything
// queued so far in one go. Window timers and delayed tasks are the
// toolkit's own timers, booked here by the toolkit's timer id. The clock
// counts from the loop's making. A front-end supplies the wake-up, the
// toolkit's timers and Pause.
class ToolkitWindowLoop : public WindowLoop {
public:
    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) final;
    bool Post(WindowMessage message) final;
    void SetTimer(int id, int periodMs) final;
    void KillTimer(int id) final;
    bool IsTimerSet(int id) const final;
    void After(int delayMs, Task task) final;
    std::int64_t Now() const final;
    void Close() override;

protected:
    // The toolkit's id of one of its timers.
    using ToolkitTimer = std::uintptr_t;

    // wake as for PostQueue: it runs under the queue's lock, so once Close
    // has taken the lock no wake-up can still be on its way.
    explicit ToolkitWindowLoop(PostQueue::Wake wake);

    // Starts a toolkit timer that fires every periodMs for window timer
    // windowTimerId, or one whose first firing runs a delayed task; nothing
    // when the toolkit would not start one.
    virtual std::optional<ToolkitTimer> StartTimer(int windowTimerId, int periodMs) = 0;
    virtual std::optional<ToolkitTimer> StartTaskTimer(int delayMs) = 0;
    virtual void StopTimer(ToolkitTimer timer) = 0;

    // The toolkit was woken: delivers every message posted so far.
    void DeliverPosted();
    // Hands one message to the handler.
    void Deliver(WindowMessage& message);
    // A toolkit timer fired: runs its task once, or ticks its window timer.
    // One that is not the loop's is ignored.
    void Fire(ToolkitTimer timer);

private:
    void StopAllTimers();

    const std::chrono::steady_clock::time_point start_;
    MessageHandler onMessage_;
    TimerHandler onTimer_;
    PostQueue posts_;

    // Window thread only. The batch being delivered: a handler that opens a
    // modal box delivers later posts behind what is left of it, in order.
    std::deque<WindowMessage> batch_;
    // Toolkit timer -> window timer id, and back; toolkit timer -> delayed task.
    std::map<ToolkitTimer, int> windowTimerOf_;
    std::map<int, ToolkitTimer> toolkitTimerOf_;
    std::map<ToolkitTimer, Task> tasks_;
};

}  // namespace tandrel
