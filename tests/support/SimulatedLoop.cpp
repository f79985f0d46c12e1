#include "support/SimulatedLoop.h"

#include <algorithm>

namespace tandrel {

void SimulatedLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool SimulatedLoop::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

void SimulatedLoop::SetTimer(int id, int periodMs) {
    const int period = std::max(periodMs, 1);
    timers_[id] = Timer{period, now_ + period, nextOrder_++};
}

void SimulatedLoop::KillTimer(int id) { timers_.erase(id); }

bool SimulatedLoop::IsTimerSet(int id) const { return timers_.count(id) != 0; }

int SimulatedLoop::TimerPeriod(int id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.period;
}

void SimulatedLoop::After(int delayMs, Task task) {
    tasks_.emplace(TaskKey{now_ + std::max(delayMs, 0), nextOrder_++}, std::move(task));
}

void SimulatedLoop::Pause(int ms) { now_ += std::max(ms, 0); }

std::int64_t SimulatedLoop::Now() const { return now_; }

void SimulatedLoop::Close() {
    posts_.Close();
    timers_.clear();
    tasks_.clear();
}

void SimulatedLoop::DeliverPosted() {
    WindowMessage message;
    while (posts_.Pop(message)) {
        if (onMessage_) onMessage_(message);
        message = WindowMessage{};
    }
}

bool SimulatedLoop::WaitForPost(std::chrono::milliseconds timeout) {
    return posts_.WaitUntil(std::chrono::steady_clock::now() + timeout);
}

// Fires the earliest timer tick or task due by end; false when none is.
bool SimulatedLoop::FireNextDue(std::int64_t end) {
    auto timer = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.due, a.second.order) < std::pair(b.second.due, b.second.order);
    });
    const bool timerDue = timer != timers_.end() && timer->second.due <= end;
    const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= end;
    if (!timerDue && !taskDue) return false;

    const bool takeTimer =
        timerDue && (!taskDue || std::pair(timer->second.due, timer->second.order) < tasks_.begin()->first);
    if (takeTimer) {
        const int id = timer->first;
        now_ = std::max(now_, timer->second.due);
        timer->second.due = now_ + timer->second.period;
        timer->second.order = nextOrder_++;
        if (onTimer_) onTimer_(id);
    } else {
        auto node = tasks_.extract(tasks_.begin());
        now_ = std::max(now_, node.key().first);
        node.mapped()();
    }
    return true;
}

void SimulatedLoop::RunFor(std::int64_t ms) {
    const std::int64_t end = now_ + std::max<std::int64_t>(ms, 0);
    DeliverPosted();
    while (FireNextDue(end)) DeliverPosted();
    now_ = std::max(now_, end);
    DeliverPosted();
}

}  // namespace tandrel
