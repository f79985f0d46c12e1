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

// Why a file could not be used, told apart the same way on every system.
enum class FileErrorKind {
    NotFound,  // nothing at that path
    NotAFile,  // a folder, a device, anything but a plain file
    Denied,    // there, but the station may not open or write it
    Changed,   // it changed while it was being read or copied
    Io,        // any other failure of the system
};

struct FileError {
    FileErrorKind kind = FileErrorKind::Io;
    // The system's own words, or ours where the system said nothing
    // ("is a folder").
    std::string text;
    // The file or folder the error is about.
    std::string path;

    // The error in plain words for the operator: "not found", "is a folder".
    std::string Plain() const;
};

// The image files as the station finds them on disk, and the folder of
// copies it keeps of them. A port, so that tests can keep their files in memory.
class ImageFiles {
public:
    // Takes each piece of the file in order as it is read; false stops the reading.
    using ChunkSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;
    // Asked between pieces of a long copy; false stops it.
    using GoOn = std::function<bool()>;

    virtual ~ImageFiles() = default;

    // The identity of the file at path now; false, with the reason, when it
    // cannot be looked at or is not a plain file.
    virtual bool Identify(const std::string& path, FileIdentity& identity, FileError& error) const = 0;

    // Reads the whole file at path through one open handle, handing every
    // byte to sink; identity is that of the file read. False, with the
    // reason, when the file cannot be read, changed while it was read, or
    // sink stopped the reading. May run on any thread.
    virtual bool Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      FileError& error) const = 0;

    // Copies the file at source into a new file of its own in folder (made
    // with the folders above it when missing), read-only, and names the copy
    // in copy; identity is that of the source copied. A clone of the source's
    // blocks where the file system offers one, a copy of its bytes
    // otherwise. False, with the reason, when the source cannot be read or
    // changed meanwhile, the copy cannot be written whole, or goOn stopped
    // it; no partial copy is left. May run on any thread.
    virtual bool Copy(const std::string& source, const std::string& folder, FileIdentity& identity, std::string& copy,
                      const GoOn& goOn, FileError& error) const = 0;

    // Moves the file from onto to, replacing a file there (also a
    // read-only one).
    virtual bool Rename(const std::string& from, const std::string& to, FileError& error) const = 0;
    // Removes the file at path, read-only or not; nothing there is no error.
    virtual void Remove(const std::string& path) const = 0;
};

// The files of the machine the station runs on: POSIX here, the Windows API
// in the Windows build. Paths are UTF-8.
class LocalFiles : public ImageFiles {
public:
    bool Identify(const std::string& path, FileIdentity& identity, FileError& error) const override;
    bool Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
              FileError& error) const override;
    bool Copy(const std::string& source, const std::string& folder, FileIdentity& identity, std::string& copy,
              const GoOn& goOn, FileError& error) const override;
    bool Rename(const std::string& from, const std::string& to, FileError& error) const override;
    void Remove(const std::string& path) const override;
};

// Bytes read at a time.
constexpr std::size_t kImageReadChunk = 1 << 20;

// A file opened for reading, as each system's LocalFiles holds it.
class OpenImage {
public:
    virtual ~OpenImage() = default;
    virtual bool Identify(FileIdentity& identity, FileError& error) const = 0;
    // Up to size bytes into data: how many were read, 0 at the end, -1 (with
    // the reason) on an error.
    virtual long long ReadSome(std::uint8_t* data, std::size_t size, FileError& error) const = 0;
};

// The reading LocalFiles::Read does on every system, once the file is open.
bool ReadWhole(const OpenImage& file, FileIdentity& identity, const ImageFiles::ChunkSink& sink, FileError& error);

// Every byte of source to write, a chunk at a time, goOn asked before each;
// false when stopped (the reason names copy), when a read fails, or when
// write does (write gives the reason).
bool CopyChunks(const OpenImage& source, const ImageFiles::ChunkSink& write, const ImageFiles::GoOn& goOn,
                FileError& error, const std::string& copy);

// The name of the next copy Copy makes in folder: unique to this process and
// call, so that two stations sharing a folder never write the same file.
std::string NewCopyName(const std::string& folder, long long processId);

}  // namespace tandrel
