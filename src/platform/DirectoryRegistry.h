#pragma once

#include <string>

#include "platform/DeviceRegistry.h"

namespace tandrel {

// A registry kept as a folder tree: a key is a folder under the root (its
// backslashes become slashes), a string value is a file holding the text,
// with one trailing newline dropped. Subkeys are listed in byte order of
// their names; a folder holding more than SortedNames::kCapacity of them
// lists the smallest. Neither read allocates.
class DirectoryRegistry : public DeviceRegistry {
public:
    explicit DirectoryRegistry(std::string root);

    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override;
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer,
                    std::size_t size) const override;

private:
    // The folder of key, written into path (size bytes) with its length.
    // False when it does not fit, or when a part of key could lead out of
    // the tree. One trailing backslash is allowed.
    bool FolderOf(std::string_view key, char* path, std::size_t size, std::size_t& length) const;

    std::string root_;
};

}  // namespace tandrel
