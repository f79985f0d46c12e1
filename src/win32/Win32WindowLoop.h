#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/ToolkitWindowLoop.h"
#include "win32/DialogHandle.h"

namespace tandrel {

// The window loop on the Windows message queue of the dialog's thread.
//
// PostMessageW wakes the dialog once per batch of posts: the system's queue
// holds at most 10 000 posted messages per thread, which a flood of reports
// during a window-thread pause would reach, and what waits in our own queue
// is freed at close instead of being left to a window that no longer
// exists. Window timers are SetTimer timers by their own ids; delayed tasks
// are one-shot timers with ids above those; Pause is Sleep.
class Win32WindowLoop : public ToolkitWindowLoop {
public:
    // The message that tells the dialog posts are waiting.
    static constexpr UINT kWakeMessage = WM_APP + 1;

    explicit Win32WindowLoop(const DialogHandle& dialog);
    ~Win32WindowLoop() override;

    // Window thread, once the dialog exists: timers and wake-ups go to it
    // until Close.
    void Attach();
    // From the dialog's procedure: wake-ups and timer ticks. True when the
    // message was the loop's.
    bool Handle(UINT message, WPARAM wParam);
    // Hands a message that came from elsewhere in the process to the handler.
    using ToolkitWindowLoop::Deliver;

    void Pause(int ms) override;
    void Close() override;

private:
    std::optional<ToolkitTimer> StartTimer(int windowTimerId, int periodMs) override;
    std::optional<ToolkitTimer> StartTaskTimer(int delayMs) override;
    void StopTimer(ToolkitTimer timer) override;
    // The dialog while the loop is attached to it, else null.
    HWND Window() const;

    const DialogHandle& dialog_;
    // Window thread only.
    bool attached_ = false;
    UINT_PTR nextTaskTimer_;
};

}  // namespace tandrel
