#pragma once

#include "platform/DeviceRegistry.h"

namespace tandrel {

// The device registry itself, under HKEY_LOCAL_MACHINE, read only. Subkeys
// come in the registry's own order, at most kMaxSubkeys of them per listing
// (as many as a directory tree lists). A value is read only when it is a
// string (REG_SZ or REG_EXPAND_SZ, taken as stored) that fits the caller's
// buffer; its text ends at its first NUL, whether or not the stored data
// carries one. Neither read allocates.
class WindowsRegistry : public DeviceRegistry {
public:
    static constexpr int kMaxSubkeys = 64;

    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override;
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer,
                    std::size_t size) const override;
};

}  // namespace tandrel
