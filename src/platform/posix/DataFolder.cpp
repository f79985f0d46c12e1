#include "platform/DataFolder.h"

#include <cstdlib>

namespace tandrel {

namespace {

// An unset or relative XDG_DATA_HOME is to be ignored.
std::string Absolute(const char* value) {
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

}  // namespace

std::string StationDataFolder() {
    if (std::string xdg = Absolute(std::getenv("XDG_DATA_HOME")); !xdg.empty()) return xdg + "/tandrel";
    if (std::string home = Absolute(std::getenv("HOME")); !home.empty()) return home + "/.local/share/tandrel";
    return {};
}

}  // namespace tandrel
