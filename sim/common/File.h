#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "ImageParser.h"

namespace tandrel::sim {

// An owned file descriptor with the few reads and writes the simulator and
// its tools need; errors come back as texts that name the file.
class File {
public:
    File() = default;
    File(File&& other) noexcept : fd(other.fd), path(std::move(other.path)) { other.fd = -1; }
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    static File OpenRead(const std::string& path, std::string& error);
    // Creates or truncates, mode 0644.
    static File Create(const std::string& path, std::string& error);

    bool IsOpen() const { return fd >= 0; }
    std::uint64_t Size() const;
    bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const;
    bool Write(const void* data, std::size_t size, std::string& error);
    // Closes; false (with error) when the last writes could not be completed.
    bool Commit(std::string& error);
    const std::string& Path() const { return path; }

private:
    int fd = -1;
    std::string path;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(const File& file) : file(file), size(file.Size()) {}
    std::uint64_t Size() const override { return size; }
    bool Read(std::uint64_t offset, void* out, std::size_t count) const override {
        return offset <= size && count <= size - offset && file.ReadAt(offset, out, count);
    }

private:
    const File& file;
    std::uint64_t size;
};

// The first offset within the two ranges at which they differ (or one of them
// cannot be read); nothing when they are equal.
std::optional<std::uint64_t> FirstDifference(const File& a, std::uint64_t aOffset, const File& b, std::uint64_t bOffset,
                                             std::uint64_t length);

// The digest of length bytes at offset; false when the file is shorter.
bool HashRange(const File& file, std::uint64_t offset, std::uint64_t length, Digest& digest);

}  // namespace tandrel::sim
