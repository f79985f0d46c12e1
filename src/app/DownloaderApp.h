#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/DialogControls.h"
#include "platform/ModuleLoader.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// The main window as the toolkit makes it: its controls, its loop, and the
// modal run that lasts until the operator closes it.
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

// The application: reads the command line, opens the journal and the device
// source, then runs one DownloadDialog until its window closes.
class DownloaderApp {
public:
    using WindowFactory = std::function<std::unique_ptr<WindowSystem>()>;

    // makeWindow is called once the command line has been accepted and asks
    // for a window. output takes what was asked for (the version), errors
    // every refusal.
    DownloaderApp(WindowFactory makeWindow, ModuleLoader& loader, std::ostream& output, std::ostream& errors);

    // args: the arguments after the program name, the toolkit's own removed.
    // Returns the exit status: 0 once the window has closed or the version
    // is printed, 2 when the command line, the journal file or the device
    // source is refused.
    int Run(const std::vector<std::string>& args);

private:
    WindowFactory makeWindow_;
    ModuleLoader& loader_;
    std::ostream& output_;
    std::ostream& errors_;
};

}  // namespace tandrel
