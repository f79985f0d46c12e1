#include "platform/DirectoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "platform/FolderReads.h"
#include "platform/RegistryText.h"

namespace tandrel {

namespace {

// A key part or value name that names one entry inside its folder.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// Appends text to path at length; false when it would not fit with its NUL.
bool Append(char* path, std::size_t size, std::size_t& length, std::string_view text) {
    if (text.size() >= size - length) return false;
    std::memcpy(path + length, text.data(), text.size());
    length += text.size();
    path[length] = '\0';
    return true;
}

// Value files longer than this are refused, whatever the caller's buffer.
constexpr std::size_t kValueFileLimit = 4096;

}  // namespace

DirectoryRegistry::DirectoryRegistry(std::string root) : root_(std::move(root)) {}

bool DirectoryRegistry::FolderOf(std::string_view key, char* path, std::size_t size, std::size_t& length) const {
    length = 0;
    path[0] = '\0';
    if (!Append(path, size, length, root_)) return false;
    while (!key.empty()) {
        const std::size_t cut = std::min(key.find('\\'), key.size());
        const std::string_view part = key.substr(0, cut);
        key.remove_prefix(std::min(cut + 1, key.size()));
        if (!IsPlainName(part)) return false;
        if (!Append(path, size, length, "/") || !Append(path, size, length, part)) return false;
    }
    return true;
}

bool DirectoryRegistry::ListSubkeys(std::string_view key, const NameVisitor& visit) const {
    char folder[kPathSize];
    std::size_t length = 0;
    if (!FolderOf(key, folder, sizeof folder, length)) return false;
    SortedNames names;
    const bool listed = CollectEntries(folder, [](int fd, std::string_view name, unsigned char type) {
        // A backslash would split the name when it comes back inside a key.
        return name.find('\\') == std::string_view::npos && IsFolderEntry(fd, name.data(), type);
    }, names);
    if (listed) names.ForEach(visit);
    return listed;
}

bool DirectoryRegistry::ReadString(std::string_view key, std::string_view valueName, char* buffer,
                                   std::size_t size) const {
    char file[kPathSize];
    std::size_t length = 0;
    if (!IsPlainName(valueName) || !FolderOf(key, file, sizeof file, length)) return false;
    if (!Append(file, sizeof file, length, "/") || !Append(file, sizeof file, length, valueName)) return false;

    char text[kValueFileLimit];
    const long read = ReadSmallFile(kWorkingFolder, file, text, std::min(size, sizeof text));
    if (read < 0) return false;
    return StoreValueText(WithoutTrailingNewline({text, static_cast<std::size_t>(read)}), buffer, size);
}

}  // namespace tandrel
