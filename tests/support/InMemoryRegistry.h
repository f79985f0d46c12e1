#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/DeviceRegistry.h"

namespace tandrel {

// A registry held in memory and filled by hand, for tests. Keys are compared
// byte for byte and their subkeys listed in byte order of their names. A key
// may end in one backslash.
class InMemoryRegistry : public DeviceRegistry {
public:
    // Makes key and every key above it.
    void AddKey(std::string_view key);
    // Sets the string value valueName of key, making the key where needed.
    void SetString(std::string_view key, std::string_view valueName, std::string_view text);
    // Removes key with its values and every key below it.
    void RemoveKey(std::string_view key);

    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override;
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer,
                    std::size_t size) const override;

private:
    using Values = std::map<std::string, std::string, std::less<>>;
    std::map<std::string, Values, std::less<>> keys_;
};

}  // namespace tandrel
