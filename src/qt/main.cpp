#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/DownloaderApp.h"
#include "app/Options.h"
#include "platform/posix/DlopenLoader.h"
#include "qt/QtWindowSystem.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Without a display and without a platform named, the toolkit aborts before
// the station's own options are even read.
bool HasWindowPlatform(int argc, char** argv) {
    if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // The simulator's package keeps its copy of the library in a folder of its
    // own, found from the program's; the build gives the way there.
    tandrel::DlopenLoader loader(TANDREL_PACKAGE_LIBRARY_FOLDER);
    tandrel::DownloaderApp station([] { return std::make_unique<tandrel::QtWindowSystem>(); }, loader, std::cout,
                                   std::cerr);
    // The version needs no window, so it is answered before the toolkit asks for a display.
    const std::vector<std::string> given(argv + 1, argv + argc);
    const tandrel::OptionsResult early = tandrel::ParseOptions(given);
    if (early.options && early.options->version) return station.Run(given);

    if (!HasWindowPlatform(argc, argv)) {
        std::cerr << "tandrel: no display to open the window on (DISPLAY is not set); "
                     "use -platform offscreen to run without one\n";
        return 2;
    }
    // First, so that the toolkit takes its own options (-platform and the like) off the command line.
    QApplication application(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return station.Run(args);
}
