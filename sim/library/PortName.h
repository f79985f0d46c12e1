#pragma once

#include <optional>
#include <string>

namespace tandrel::sim {

// "\\.\USB3" and "\\.\COM3" both name the phone that answers as USB3: the
// bench's phones sit on USB whatever link type the station chose.
std::optional<std::string> DeviceOfPort(const char* port);

}  // namespace tandrel::sim
