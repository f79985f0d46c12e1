#pragma once

#include <QObject>

#include "platform/ToolkitWindowLoop.h"

namespace tandrel {

// The window loop on Qt's event loop, for the thread that made it.
//
// A batch of posts wakes the event loop with a single event. Window timers
// and delayed tasks are Qt timers; a Pause sleeps the window thread.
class QtWindowLoop : public QObject, public ToolkitWindowLoop {
    Q_OBJECT

public:
    QtWindowLoop();
    ~QtWindowLoop() override;

    void Pause(int ms) override;

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::optional<ToolkitTimer> StartTimer(int windowTimerId, int periodMs) override;
    std::optional<ToolkitTimer> StartTaskTimer(int delayMs) override;
    void StopTimer(ToolkitTimer timer) override;
    std::optional<ToolkitTimer> StartQtTimer(int ms);
};

}  // namespace tandrel
