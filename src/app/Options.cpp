#include "app/Options.h"

#include "TandrelVersion.h"
#include "library/LibraryBinding.h"
#include "platform/DataFolder.h"

namespace tandrel {

namespace {

// Takes the value of option name at args[i + 1]; false when it is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& out, std::string& error) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = args[i] + " needs a value";
        return false;
    }
    out = args[++i];
    return true;
}

bool ValidDevices(const std::string& value) {
    return value == "sysfs" || value == "registry" || (value.rfind("dir:", 0) == 0 && value.size() > 4);
}

}  // namespace

std::string DefaultResultsFile() {
    const std::string folder = StationDataFolder();
    return folder.empty() ? std::string() : folder + "/results.db";
}

OptionsResult ParseOptions(const std::vector<std::string>& args) {
    Options o;
    o.results = DefaultResultsFile();
    std::string error;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--library") {
            if (!TakeValue(args, i, o.libraryPath, error)) return {std::nullopt, error};
        } else if (a == "--devices") {
            if (!TakeValue(args, i, value, error)) return {std::nullopt, error};
            if (!ValidDevices(value)) return {std::nullopt, "--devices takes sysfs, registry or dir:PATH, not " + value};
            o.devices = value;
        } else if (a == "--image") {
            if (!TakeValue(args, i, value, error)) return {std::nullopt, error};
            o.images.push_back(value);
        } else if (a == "--driver") {
            if (!TakeValue(args, i, value, error)) return {std::nullopt, error};
            if (value != "usb" && value != "comm") return {std::nullopt, "--driver takes usb or comm, not " + value};
            o.commDriver = value == "comm";
        } else if (a == "--start") {
            o.start = true;
        } else if (a == "--journal") {
            if (!TakeValue(args, i, o.journal, error)) return {std::nullopt, error};
        } else if (a == "--screenshot") {
            if (!TakeValue(args, i, o.screenshot, error)) return {std::nullopt, error};
        } else if (a == "--results") {
            if (!TakeValue(args, i, o.results, error)) return {std::nullopt, error};
            o.resultsOff = o.results == "none";
            if (o.resultsOff) o.results.clear();
        } else if (a == "--station") {
            if (!TakeValue(args, i, o.station, error)) return {std::nullopt, error};
        } else if (a == "--port-alarm") {
            if (!TakeValue(args, i, value, error)) return {std::nullopt, error};
            if (!ParsePortAlarm(value, o.portAlarm)) {
                return {std::nullopt, PortAlarmRefusal(value)};
            }
        } else if (a == "--line") {
            if (!TakeValue(args, i, o.line, error)) return {std::nullopt, error};
        } else if (a == "--line-token") {
            if (!TakeValue(args, i, o.lineToken, error)) return {std::nullopt, error};
        } else if (a == "--version") {
            o.version = true;
        } else {
            return {std::nullopt, "unknown option " + a};
        }
    }
    if (!o.line.empty() && o.lineToken.empty()) return {std::nullopt, "--line needs --line-token FILE"};
    if (!o.line.empty() && o.results.empty()) {
        return {std::nullopt, "--line forwards the results store: it cannot go with --results none"};
    }
    return {o, {}};
}

// How a station is closed from outside the way its close box closes it.
#ifdef _WIN32
constexpr const char* kCloseFromOutside = "taskkill without /F closes the window as its close box does.\n";
#else
constexpr const char* kCloseFromOutside = "SIGTERM and SIGINT close the window as its close box does.\n";
#endif

std::string UsageText() {
    const std::string devices = DefaultDeviceSource();
    return "usage: tandrel [--library PATH] [--devices " + devices + "|dir:PATH] [--image FILE]... [--driver usb|comm]\n"
           "               [--start] [--journal FILE|-] [--results FILE|none] [--station NAME]\n"
           "               [--port-alarm N] [--line URL --line-token FILE] [--screenshot FILE] [--version]\n"
           "  --library PATH    load this download library instead of " + kLibraryFileName + "\n"
           "  --devices SOURCE  where phones are found: " + devices + " (default) or dir:PATH, a registry tree\n"
           "  --image FILE      fill the next image slot with FILE, as Open file would (repeatable)\n"
           "  --driver usb|comm choose USB (default) or COMM in the Driver box\n"
           "  --start           press Start once the window is up\n"
           "  --journal FILE|-  write one JSON line per visible change to FILE, or - for standard output\n"
           "  --results FILE    keep every phone's result in the store FILE, not in " + DefaultResultsFile() + "\n"
           "  --results none    keep no results store\n"
           "  --station NAME    the station's name in its results (default: the host name)\n"
           "  --port-alarm N    flag a port after N failures in a row (default 3)\n"
           "  --line URL        forward the results to the line service at URL (http://HOST:PORT)\n"
           "  --line-token FILE the station's token for the line service, read from FILE\n"
           "  --screenshot FILE write a PNG of the window to FILE when it closes\n"
           "  --version         print the version and exit\n" +
           kCloseFromOutside;
}

std::string VersionText() { return "tandrel " TANDREL_VERSION "\n"; }

}  // namespace tandrel
