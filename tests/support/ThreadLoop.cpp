#include "support/ThreadLoop.h"

#include <algorithm>
#include <thread>

namespace tandrel {

void ThreadLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool ThreadLoop::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

void ThreadLoop::SetTimer(int id, int periodMs) {
    const std::chrono::milliseconds period(std::max(periodMs, 1));
    timers_[id] = Timer{period, Clock::now() + period};
}

void ThreadLoop::KillTimer(int id) { timers_.erase(id); }

bool ThreadLoop::IsTimerSet(int id) const { return timers_.count(id) != 0; }

void ThreadLoop::After(int delayMs, Task task) {
    tasks_.emplace(TaskKey{Clock::now() + std::chrono::milliseconds(std::max(delayMs, 0)), nextOrder_++},
                   std::move(task));
}

void ThreadLoop::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

std::int64_t ThreadLoop::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
}

void ThreadLoop::Close() {
    posts_.Close();
    timers_.clear();
    tasks_.clear();
}

bool ThreadLoop::DeliverOnePost() {
    WindowMessage message;
    if (!posts_.Pop(message)) return false;
    if (onMessage_) onMessage_(message);
    return true;
}

bool ThreadLoop::FireOneDue() {
    const Clock::time_point now = Clock::now();
    auto timer = std::min_element(timers_.begin(), timers_.end(),
                                  [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    const bool timerDue = timer != timers_.end() && timer->second.due <= now;
    const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= now;
    if (timerDue && (!taskDue || timer->second.due <= tasks_.begin()->first.first)) {
        timer->second.due = now + timer->second.period;
        if (onTimer_) onTimer_(timer->first);
        return true;
    }
    if (!taskDue) return false;
    auto node = tasks_.extract(tasks_.begin());
    node.mapped()();
    return true;
}

ThreadLoop::Clock::time_point ThreadLoop::NextDue(Clock::time_point end) const {
    Clock::time_point next = end;
    for (const auto& [id, timer] : timers_) next = std::min(next, timer.due);
    if (!tasks_.empty()) next = std::min(next, tasks_.begin()->first.first);
    return next;
}

void ThreadLoop::RunOnce(Clock::time_point end) {
    if (DeliverOnePost() || FireOneDue()) return;
    posts_.WaitUntil(NextDue(end));
}

}  // namespace tandrel
