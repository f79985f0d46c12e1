#include <QApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/DownloaderApp.h"
#include "platform/DlopenLoader.h"
#include "platform/qt/QtWindowSystem.h"

int main(int argc, char** argv) {
    // First, so that the toolkit takes its own options (-platform and the like) off the command line.
    QApplication application(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);

    tandrel::DlopenLoader loader;
    tandrel::DownloaderApp station([] { return std::make_unique<tandrel::QtWindowSystem>(); }, loader, std::cerr);
    return station.Run(args);
}
