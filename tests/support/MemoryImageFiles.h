#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/ImageFiles.h"

namespace tandrel::test {

// Image files kept in memory, for tests that name files which are nowhere on
// disk. Every write gives the file a new identity; copies are made at once.
// Safe to use from the snapshot worker's thread.
class MemoryImageFiles : public ImageFiles {
public:
    void Write(const std::string& path, const std::string& content);
    bool Exists(const std::string& path) const;
    // While held, every copy waits; released, they go on.
    void HoldCopies(bool hold);
    // Every copy from now on fails with error, as on a full disk.
    void FailCopies(const FileError& error);

    bool Identify(const std::string& path, FileIdentity& identity, FileError& error) const override;
    bool Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
              FileError& error) const override;
    bool Copy(const std::string& source, const std::string& folder, FileIdentity& identity, std::string& copy,
              const GoOn& goOn, FileError& error) const override;
    bool Rename(const std::string& from, const std::string& to, FileError& error) const override;
    void Remove(const std::string& path) const override;

private:
    struct File {
        std::string content;
        FileIdentity identity;
    };
    bool Find(const std::string& path, File& file, FileError& error) const;

    mutable std::mutex mutex_;
    mutable std::map<std::string, File> files_;
    mutable std::uint64_t versions_ = 0;
    bool hold_ = false;
    mutable std::condition_variable released_;
    std::optional<FileError> copyError_;
};

}  // namespace tandrel::test
