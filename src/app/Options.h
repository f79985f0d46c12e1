#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/DeviceSources.h"
#include "results/PortHealth.h"

namespace tandrel {

// What the command line asks for. Without options the station behaves as the
// window alone would and writes no file.
struct Options {
    // Empty: the download library is looked for by its own name.
    std::string libraryPath;
    // "sysfs", "registry" or "dir:PATH"; each system has its own default.
    std::string devices = DefaultDeviceSource();
    std::vector<std::string> images;
    bool start = false;
    // The "Driver" box's selection at start-up: true for "COMM", false for "USB".
    bool commDriver = false;
    // Empty: no journal; "-": standard output.
    std::string journal;
    // Empty: none; otherwise a PNG of the window as it was when it closed.
    std::string screenshot;
    // The results store's file; empty: none is kept. The command line names
    // the default file unless told otherwise.
    std::string results;
    // --results none: the operator chose to keep none.
    bool resultsOff = false;
    // The name every result is kept under; empty: the host name.
    std::string station;
    // Failures in a row that flag a port.
    int portAlarm = PortHealth::kDefaultAlarm;
    // The line service the results store is forwarded to; empty: none. The
    // file holding the station's token for it.
    std::string line;
    std::string lineToken;
    // Print the version and end, with no window.
    bool version = false;
};

struct OptionsResult {
    std::optional<Options> options;
    // Why the command line was refused; empty when it was taken.
    std::string error;
};

// Parses the arguments after the program name (the toolkit's own options
// already removed).
OptionsResult ParseOptions(const std::vector<std::string>& args);

// One paragraph for the operator: every option and what it does.
std::string UsageText();

// The results store a station keeps when not told otherwise; empty when the
// system names no folder for it.
std::string DefaultResultsFile();

// What --version prints: the program's name and version, one line.
std::string VersionText();

}  // namespace tandrel
