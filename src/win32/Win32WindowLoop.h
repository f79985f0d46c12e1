#pragma once

#include "platform/win32/WindowsApi.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <set>

#include "platform/PostQueue.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// The window loop on the Windows message queue of the dialog's thread.
//
// Posted messages wait in the station's PostQueue, and PostMessageW wakes the
// dialog once per batch: the system's queue holds at most 10 000 posted
// messages per thread, which a flood of reports during a window-thread
// pause would reach, and what waits in our own queue is freed at close
// instead of being left to a window that no longer exists. Window timers
// are SetTimer timers by their own ids; delayed tasks are one-shot timers
// with ids above those; Pause is Sleep.
class Win32WindowLoop : public WindowLoop {
public:
    // The message that tells the dialog posts are waiting.
    static constexpr UINT kWakeMessage = WM_APP + 1;

    Win32WindowLoop();
    ~Win32WindowLoop() override;

    // Window thread, once the dialog exists: timers and wake-ups go to it.
    void Attach(HWND dialog);
    // From the dialog's procedure: wake-ups and timer ticks. True when the
    // message was the loop's.
    bool Handle(UINT message, WPARAM wParam);
    // Hands a message that came from elsewhere in the process to the handler.
    void Deliver(WindowMessage& message);

    void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) override;
    bool Post(WindowMessage message) override;
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;
    void After(int delayMs, Task task) override;
    void Pause(int ms) override;
    std::int64_t Now() const override;
    void Close() override;

private:
    void DeliverPosted();
    void RunTask(UINT_PTR timerId);

    const std::chrono::steady_clock::time_point start_;
    MessageHandler onMessage_;
    TimerHandler onTimer_;
    // Set and cleared on the window thread, read by posting threads' wake-ups.
    std::atomic<HWND> window_ = nullptr;
    PostQueue posts_;

    // Window thread only. The batch being delivered: a handler that opens a
    // modal box delivers later posts behind what is left of it, in order.
    std::deque<WindowMessage> batch_;
    std::set<int> timers_;
    std::map<UINT_PTR, Task> tasks_;
    UINT_PTR nextTaskTimer_;
};

}  // namespace tandrel
