#pragma once

#include <QObject>
#include <chrono>
#include <deque>
#include <map>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// The window loop on Qt's event loop, for the thread that made it.
//
// Posted messages wait in the station's PostQueue under one short lock; the
// event loop is woken by a single event for a whole batch, and the window
// thread then delivers everything queued so far in one go. Window timers and
// delayed tasks are Qt timers; a Pause sleeps the window thread.
class QtWindowLoop : public QObject, public WindowLoop {
    Q_OBJECT

public:
    QtWindowLoop();
    ~QtWindowLoop() override;

    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) override;
    bool Post(WindowMessage message) override;
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;
    void After(int delayMs, Task task) override;
    void Pause(int ms) override;
    std::int64_t Now() const override;
    void Close() override;

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void DeliverPosted();
    void StopAllTimers();

    const std::chrono::steady_clock::time_point start_;
    MessageHandler onMessage_;
    TimerHandler onTimer_;

    PostQueue posts_;

    // Window thread only: the batch being delivered. A handler that opens a
    // modal box delivers later posts behind what is left of it, in order.
    std::deque<WindowMessage> batch_;

    // Qt timer id -> window timer id, and back; Qt timer id -> delayed task.
    std::map<int, int> windowTimerOf_;
    std::map<int, int> qtTimerOf_;
    std::map<int, Task> tasks_;
};

}  // namespace tandrel
