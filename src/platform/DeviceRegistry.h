#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tandrel {

// The two registry reads the device scan needs. Keys are written with
// backslashes, as "SYSTEM\\CurrentControlSet\\Enum\\USB\\...".
class DeviceRegistry {
public:
    using NameVisitor = std::function<bool(std::string_view name)>;

    virtual ~DeviceRegistry() = default;

    // Hands the subkey names of key to visit in the registry's order, until
    // visit returns false or none is left. False when the key cannot be read.
    virtual bool ListSubkeys(std::string_view key, const NameVisitor& visit) const = 0;

    // Reads the string value valueName of key into buffer (size bytes, always
    // NUL-terminated, never written past). False when the key or value is
    // missing, or when the text does not fit in size - 1 bytes: a cut text
    // could name another device. The buffer is then left as it was.
    virtual bool ReadString(std::string_view key, std::string_view valueName,
                            char* buffer, std::size_t size) const = 0;
};

}  // namespace tandrel
