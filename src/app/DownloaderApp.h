#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/Options.h"
#include "platform/DeviceRegistry.h"
#include "platform/ModuleLoader.h"
#include "platform/WindowSystem.h"
#include "results/LineClient.h"

namespace tandrel {

class Journal;

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
    // source is refused, 3 when the journal lost records it could not write.
    int Run(const std::vector<std::string>& args);

private:
    void RunWindow(WindowSystem& window, const Options& options, DeviceRegistry& registry, Journal* journal,
                   std::unique_ptr<LineClient> line);

    WindowFactory makeWindow_;
    ModuleLoader& loader_;
    std::ostream& output_;
    std::ostream& errors_;
};

}  // namespace tandrel
