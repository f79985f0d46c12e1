#pragma once

#include "platform/WindowSystem.h"
#include "qt/QtControls.h"
#include "qt/QtWindowLoop.h"
#include "qt/TerminationSignals.h"

namespace tandrel {

// The main window on Qt: its controls built from the main template, its loop
// on the application's event loop. Needs the QApplication to exist.
class QtWindowSystem : public WindowSystem {
public:
    QtWindowSystem();

    DialogControls& Controls() override { return controls_; }
    WindowLoop& Loop() override { return loop_; }
    void Show() override;
    void RunUntilClosed() override;
    bool SaveScreenshot(const std::string& file, std::string& error) override;

    DialogWindow& Window() { return controls_.Window(); }

private:
    void CloseFromOutside();

    QtWindowLoop loop_;
    QtControls controls_;
    // Taken from the start, so that a SIGTERM during start-up is not fatal:
    // it waits for the loop and closes the window as soon as the loop runs.
    TerminationSignals stopFromOutside_{[this] { CloseFromOutside(); }};
    bool running_ = false;
    bool closeAsked_ = false;
};

}  // namespace tandrel
