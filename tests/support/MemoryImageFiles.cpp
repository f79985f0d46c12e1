#include "support/MemoryImageFiles.h"

namespace tandrel::test {

void MemoryImageFiles::Write(const std::string& path, const std::string& content) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++versions_;
    files_[path] = {content, {content.size(), static_cast<std::int64_t>(versions_), 1, versions_}};
}

bool MemoryImageFiles::Exists(const std::string& path) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return files_.count(path) != 0;
}

void MemoryImageFiles::HoldCopies(bool hold) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        hold_ = hold;
    }
    released_.notify_all();
}

void MemoryImageFiles::FailCopies(const FileError& error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    copyError_ = error;
}

bool MemoryImageFiles::Find(const std::string& path, File& file, FileError& error) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = files_.find(path);
    if (found == files_.end()) {
        error = {FileErrorKind::NotFound, "No such file or directory", path};
        return false;
    }
    file = found->second;
    return true;
}

bool MemoryImageFiles::Identify(const std::string& path, FileIdentity& identity, FileError& error) const {
    File file;
    if (!Find(path, file, error)) return false;
    identity = file.identity;
    return true;
}

bool MemoryImageFiles::Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                            FileError& error) const {
    File file;
    if (!Find(path, file, error)) return false;
    identity = file.identity;
    return sink(reinterpret_cast<const std::uint8_t*>(file.content.data()), file.content.size());
}

bool MemoryImageFiles::Copy(const std::string& source, const std::string& folder, FileIdentity& identity,
                            std::string& copy, const GoOn&, FileError& error) const {
    File file;
    if (!Find(source, file, error)) return false;
    identity = file.identity;
    copy = NewCopyName(folder, 1);
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this] { return !hold_; });
    if (copyError_) {
        error = *copyError_;
        return false;
    }
    ++versions_;
    files_[copy] = {file.content, {file.content.size(), static_cast<std::int64_t>(versions_), 1, versions_}};
    return true;
}

bool MemoryImageFiles::Rename(const std::string& from, const std::string& to, FileError& error) const {
    File file;
    if (!Find(from, file, error)) return false;
    const std::lock_guard<std::mutex> lock(mutex_);
    files_[to] = file;
    files_.erase(from);
    return true;
}

void MemoryImageFiles::Remove(const std::string& path) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    files_.erase(path);
}

}  // namespace tandrel::test
