#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tandrel {

// What tells one version of a file from another without reading it: its
// size, when it was last written, and which file it is on its volume. A new
// build renamed into place is another file even at the same size and time;
// one copied over the old file in place has another time.
struct FileIdentity {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the file system's own units
    std::uint64_t volume = 0;   // the device, or the volume's serial number
    std::uint64_t fileId = 0;   // the inode, or the file's index on its volume

    bool operator==(const FileIdentity&) const = default;
};

// The image files as the station finds them on disk. A port, so that tests
// can keep their files in memory.
class ImageFiles {
public:
    // Takes each piece of the file in order as it is read; false stops the reading.
    using ChunkSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

    virtual ~ImageFiles() = default;

    // The identity of the file at path now; false, with the reason, when it
    // cannot be looked at or is not a plain file.
    virtual bool Identify(const std::string& path, FileIdentity& identity, std::string& error) const = 0;

    // Reads the whole file at path through one open handle, handing every
    // byte to sink; identity is that of the file read. False, with the
    // reason, when the file cannot be read, changed while it was read, or
    // sink stopped the reading. May run on any thread.
    virtual bool Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      std::string& error) const = 0;
};

// The files of the machine the station runs on: POSIX here, the Windows API
// in the Windows build. Paths are UTF-8.
class LocalFiles : public ImageFiles {
public:
    bool Identify(const std::string& path, FileIdentity& identity, std::string& error) const override;
    bool Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
              std::string& error) const override;
};

// Bytes read at a time.
constexpr std::size_t kImageReadChunk = 1 << 20;

// A file opened for reading, as each system's LocalFiles holds it.
class OpenImage {
public:
    virtual ~OpenImage() = default;
    virtual bool Identify(FileIdentity& identity, std::string& error) const = 0;
    // Up to size bytes into data: how many were read, 0 at the end, -1 (with
    // the reason) on an error.
    virtual long long ReadSome(std::uint8_t* data, std::size_t size, std::string& error) const = 0;
};

// The reading LocalFiles::Read does on every system, once the file is open.
bool ReadWhole(const OpenImage& file, FileIdentity& identity, const ImageFiles::ChunkSink& sink, std::string& error);

}  // namespace tandrel
