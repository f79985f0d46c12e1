#include "PortName.h"

#include <cstring>

namespace tandrel::sim {

std::optional<std::string> DeviceOfPort(const char* port) {
    if (port == nullptr) return std::nullopt;
    const char* prefix = "\\\\.\\";
    if (std::strncmp(port, prefix, 4) != 0) return std::nullopt;
    const char* kind = port + 4;
    if (std::strncmp(kind, "USB", 3) != 0 && std::strncmp(kind, "COM", 3) != 0) return std::nullopt;
    const char* digits = kind + 3;
    std::size_t count = std::strspn(digits, "0123456789");
    if (count == 0 || count > 3 || digits[count] != '\0') return std::nullopt;
    return "USB" + std::to_string(std::stoi(digits));
}

}  // namespace tandrel::sim
