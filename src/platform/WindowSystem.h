#pragma once

#include <string>

#include "platform/DialogControls.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// The main window as the toolkit makes it: its controls, its loop, and the
// modal run that lasts until the operator closes it. Each front-end
// implements it; the application runs on whichever it is handed.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual DialogControls& Controls() = 0;
    virtual WindowLoop& Loop() = 0;
    // Puts the window on screen.
    virtual void Show() = 0;
    // Handles events until the window has closed.
    virtual void RunUntilClosed() = 0;
    // Writes a PNG of the window; false with the reason in error when it cannot.
    virtual bool SaveScreenshot(const std::string& file, std::string& error) = 0;
};

}  // namespace tandrel
