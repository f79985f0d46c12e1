#include "qt/QtWindowLoop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <algorithm>
#include <thread>

namespace tandrel {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

// The wake-up is posted under the queue's lock, once per batch: once Close
// has taken the lock, no post to this object can still be on its way.
QtWindowLoop::QtWindowLoop()
    : start_(std::chrono::steady_clock::now()),
      posts_([this] { QCoreApplication::postEvent(this, new QEvent(kWakeEvent)); }) {}

QtWindowLoop::~QtWindowLoop() { Close(); }

void QtWindowLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool QtWindowLoop::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

bool QtWindowLoop::event(QEvent* event) {
    if (event->type() != kWakeEvent) return QObject::event(event);
    DeliverPosted();
    return true;
}

void QtWindowLoop::DeliverPosted() {
    posts_.TakeAll(batch_);
    while (!batch_.empty()) {
        WindowMessage message = std::move(batch_.front());
        batch_.pop_front();
        if (onMessage_) onMessage_(message);
    }
}

void QtWindowLoop::SetTimer(int id, int periodMs) {
    KillTimer(id);
    const int qtId = startTimer(std::max(periodMs, 1), Qt::PreciseTimer);
    if (qtId == 0) return;
    windowTimerOf_[qtId] = id;
    qtTimerOf_[id] = qtId;
}

void QtWindowLoop::KillTimer(int id) {
    const auto it = qtTimerOf_.find(id);
    if (it == qtTimerOf_.end()) return;
    killTimer(it->second);
    windowTimerOf_.erase(it->second);
    qtTimerOf_.erase(it);
}

bool QtWindowLoop::IsTimerSet(int id) const { return qtTimerOf_.count(id) != 0; }

void QtWindowLoop::After(int delayMs, Task task) {
    const int qtId = startTimer(std::max(delayMs, 0), Qt::PreciseTimer);
    if (qtId != 0) tasks_[qtId] = std::move(task);
}

void QtWindowLoop::timerEvent(QTimerEvent* event) {
    const int qtId = event->timerId();
    if (auto task = tasks_.extract(qtId)) {
        killTimer(qtId);
        task.mapped()();
        return;
    }
    const auto it = windowTimerOf_.find(qtId);
    if (it != windowTimerOf_.end() && onTimer_) onTimer_(it->second);
}

void QtWindowLoop::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

std::int64_t QtWindowLoop::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

void QtWindowLoop::Close() {
    posts_.Close();
    batch_.clear();
    StopAllTimers();
}

void QtWindowLoop::StopAllTimers() {
    for (const auto& [qtId, windowId] : windowTimerOf_) killTimer(qtId);
    for (const auto& [qtId, task] : tasks_) killTimer(qtId);
    windowTimerOf_.clear();
    qtTimerOf_.clear();
    tasks_.clear();
}

}  // namespace tandrel
