#include "platform/ToolkitWindowLoop.h"

#include <utility>

namespace tandrel {

ToolkitWindowLoop::ToolkitWindowLoop(PostQueue::Wake wake)
    : start_(std::chrono::steady_clock::now()), posts_(std::move(wake)) {}

void ToolkitWindowLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool ToolkitWindowLoop::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

void ToolkitWindowLoop::DeliverPosted() {
    posts_.TakeAll(batch_);
    while (!batch_.empty()) {
        WindowMessage message = std::move(batch_.front());
        batch_.pop_front();
        Deliver(message);
    }
}

void ToolkitWindowLoop::Deliver(WindowMessage& message) {
    if (onMessage_) onMessage_(message);
}

void ToolkitWindowLoop::SetTimer(int id, int periodMs) {
    KillTimer(id);
    const std::optional<ToolkitTimer> timer = StartTimer(id, periodMs);
    if (!timer) return;
    windowTimerOf_[*timer] = id;
    toolkitTimerOf_[id] = *timer;
}

void ToolkitWindowLoop::KillTimer(int id) {
    const auto it = toolkitTimerOf_.find(id);
    if (it == toolkitTimerOf_.end()) return;
    StopTimer(it->second);
    windowTimerOf_.erase(it->second);
    toolkitTimerOf_.erase(it);
}

bool ToolkitWindowLoop::IsTimerSet(int id) const { return toolkitTimerOf_.count(id) != 0; }

void ToolkitWindowLoop::After(int delayMs, Task task) {
    if (const std::optional<ToolkitTimer> timer = StartTaskTimer(delayMs)) tasks_[*timer] = std::move(task);
}

void ToolkitWindowLoop::Fire(ToolkitTimer timer) {
    if (auto task = tasks_.extract(timer)) {
        StopTimer(timer);
        task.mapped()();
        return;
    }
    const auto it = windowTimerOf_.find(timer);
    if (it != windowTimerOf_.end() && onTimer_) onTimer_(it->second);
}

std::int64_t ToolkitWindowLoop::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

void ToolkitWindowLoop::Close() {
    posts_.Close();
    batch_.clear();
    StopAllTimers();
}

void ToolkitWindowLoop::StopAllTimers() {
    for (const auto& [timer, windowId] : windowTimerOf_) StopTimer(timer);
    for (const auto& [timer, task] : tasks_) StopTimer(timer);
    windowTimerOf_.clear();
    toolkitTimerOf_.clear();
    tasks_.clear();
}

}  // namespace tandrel
