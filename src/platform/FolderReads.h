#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace tandrel {

// Up to kCapacity names, held in byte order in fixed storage. Once full, a
// name smaller than the largest held takes that one's place, so the set ends
// with the smallest names offered, whatever order they came in.
class SortedNames {
public:
    static constexpr int kCapacity = 64;
    static constexpr std::size_t kNameSize = 256;

    // Names longer than kNameSize - 1 bytes are not taken.
    void Offer(std::string_view name);
    int Count() const { return count_; }
    std::string_view At(int index) const;
    // Hands the names to visit smallest first, until it returns false.
    void ForEach(const std::function<bool(std::string_view)>& visit) const;

private:
    int InsertPosition(std::string_view name) const;

    std::array<std::array<char, kNameSize>, kCapacity> storage_;
    std::array<std::uint8_t, kCapacity> lengths_ = {};
    // order_[i] is the storage index of the i-th smallest name.
    std::array<std::uint8_t, kCapacity> order_ = {};
    int count_ = 0;
};

// The longest path the readers below take or build, terminator included.
constexpr std::size_t kPathSize = 4096;
// The folder argument of ReadSmallFile for a path that stands alone
// (absolute, or relative to the working folder).
constexpr int kWorkingFolder = -100;

// Offers to names every entry of folder but "." and ".." that take accepts;
// take gets the open folder, the entry's name (NUL-terminated past its end)
// and its type (DT_* of <dirent.h>; on Windows, where there is no open
// folder to pass, DT_DIR or DT_REG by value). Reads through a fixed buffer
// and allocates nothing. False when the folder cannot be opened or read.
using EntryFilter = std::function<bool(int folderFd, std::string_view name, unsigned char type)>;
bool CollectEntries(const char* folder, const EntryFilter& take, SortedNames& names);

// True when the entry name of the open folder is a folder, or a link to one.
bool IsFolderEntry(int folderFd, const char* name, unsigned char type);

// Reads the whole file at path (relative to folderFd, or kWorkingFolder) into text.
// The number of bytes read, or -1 when the file cannot be read or holds more
// than capacity bytes.
long ReadSmallFile(int folderFd, const char* path, char* text, std::size_t capacity);

}  // namespace tandrel
