#include "support/Scheduler.h"

#include <algorithm>

namespace tandrel {

void Scheduler::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool Scheduler::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

void Scheduler::SetTimer(int id, int periodMs) {
    const std::chrono::milliseconds period(std::max(periodMs, 1));
    timers_[id] = Timer{period, Clock() + period, nextOrder_++};
}

void Scheduler::KillTimer(int id) { timers_.erase(id); }

bool Scheduler::IsTimerSet(int id) const { return timers_.count(id) != 0; }

int Scheduler::TimerPeriod(int id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? 0 : static_cast<int>(it->second.period.count());
}

void Scheduler::After(int delayMs, Task task) {
    const Time due = Clock() + std::chrono::milliseconds(std::max(delayMs, 0));
    tasks_.emplace(TaskKey{due, nextOrder_++}, std::move(task));
}

std::int64_t Scheduler::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock()).count();
}

void Scheduler::Close() {
    posts_.Close();
    timers_.clear();
    tasks_.clear();
}

bool Scheduler::DeliverOnePost() {
    WindowMessage message;
    if (!posts_.Pop(message)) return false;
    if (onMessage_) onMessage_(message);
    return true;
}

bool Scheduler::FireNextDue(Time end) {
    const auto timer = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.due, a.second.order) < std::pair(b.second.due, b.second.order);
    });
    const bool timerDue = timer != timers_.end() && timer->second.due <= end;
    const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= end;
    if (!timerDue && !taskDue) return false;

    if (timerDue && (!taskDue || std::pair(timer->second.due, timer->second.order) < tasks_.begin()->first)) {
        const int id = timer->first;
        Reach(timer->second.due);
        timer->second.due = Clock() + timer->second.period;
        timer->second.order = nextOrder_++;
        if (onTimer_) onTimer_(id);
    } else {
        auto node = tasks_.extract(tasks_.begin());
        Reach(node.key().first);
        node.mapped()();
    }
    return true;
}

Scheduler::Time Scheduler::NextDue(Time end) const {
    Time next = end;
    for (const auto& [id, timer] : timers_) next = std::min(next, timer.due);
    if (!tasks_.empty()) next = std::min(next, tasks_.begin()->first.first);
    return next;
}

}  // namespace tandrel
