#include "plan/ImageBook.h"

#include "library/LibraryText.h"
#include "platform/FixedText.h"

namespace tandrel {

ImageBook::ImageBook(const ImageFiles& files, WindowLoop& loop) : files_(files), hasher_(files, loop) {}

ImageBook::Version ImageBook::VersionOf(const std::string& path, const FileIdentity& identity) {
    return {path, identity.size, identity.modified, identity.volume, identity.fileId};
}

std::shared_ptr<const ImageLock> ImageBook::Take(const DownloadList& list) {
    auto lock = std::make_shared<ImageLock>();
    for (int i = 0; i < list.count && i < kMaxDownloadItems; ++i) {
        const std::string path = PathOf(list.items[i]);
        if (lock->Find(path)) continue;
        lock->files.push_back({path, IdentityNow(files_, path)});
        if (lock->files.back().identity) Want(path, *lock->files.back().identity);
    }
    return lock;
}

std::string ImageBook::PathOf(const DownloadItem& item) { return FromLibraryText(BoundedText(item.path)); }

std::string ImageBook::FirstChanged(const ImageLock& lock) const {
    for (const LockedImage& file : lock.files) {
        if (IdentityNow(files_, file.path) != file.identity) return file.path;
    }
    return {};
}

void ImageBook::Confirm(std::shared_ptr<const ImageLock> lock, Verdict verdict) {
    if (!lock) return verdict({});
    Waiting waiting{std::move(lock), {}, std::move(verdict)};
    for (const LockedImage& file : waiting.lock->files) waiting.now.push_back(IdentityNow(files_, file.path));
    if (const std::optional<std::string> changed = Decide(waiting)) return waiting.verdict(*changed);
    waiting_.push_back(std::move(waiting));
}

std::optional<std::string> ImageBook::Decide(const Waiting& waiting) {
    bool pending = false;
    for (std::size_t i = 0; i < waiting.lock->files.size(); ++i) {
        const LockedImage& file = waiting.lock->files[i];
        const std::optional<FileIdentity>& now = waiting.now[i];
        if (!file.identity && !now) continue;
        if (!file.identity || !now) return file.path;
        const Hash& atStart = Want(file.path, *file.identity);
        if (*now == *file.identity) {
            pending = pending || !atStart.done;
            continue;
        }
        // Touched, or copied over with the same bytes: only the bytes tell.
        const Hash& current = Want(file.path, *now);
        if (!atStart.done || !current.done) {
            pending = true;
            continue;
        }
        if (atStart.sha256.empty() || atStart.sha256 != current.sha256) return file.path;
    }
    if (pending) return std::nullopt;
    return std::string();
}

const ImageBook::Hash& ImageBook::Want(const std::string& path, const FileIdentity& identity) {
    const auto [entry, added] = hashes_.try_emplace(VersionOf(path, identity));
    if (added) hasher_.Hash(path, identity);
    return entry->second;
}

const ImageBook::Hash* ImageBook::Known(const std::string& path, const FileIdentity& identity) const {
    const auto entry = hashes_.find(VersionOf(path, identity));
    return entry == hashes_.end() ? nullptr : &entry->second;
}

std::string ImageBook::Sha256AtStart(const ImageLock& lock, const std::string& path) const {
    const LockedImage* file = lock.Find(path);
    if (!file || !file->identity) return {};
    const Hash* hash = Known(path, *file->identity);
    return hash ? hash->sha256 : std::string();
}

std::string ImageBook::Sha256IfUnchanged(const ImageLock& lock, const std::string& path) const {
    const LockedImage* file = lock.Find(path);
    if (!file || IdentityNow(files_, path) != file->identity) return {};
    return Sha256AtStart(lock, path);
}

bool ImageBook::OnHashed(const ImageHashed& hashed, std::string& error) {
    Hash& hash = hashes_[VersionOf(hashed.path, hashed.identity)];
    hash.done = true;
    hash.sha256 = hashed.ok ? hashed.sha256 : std::string();
    // A verdict may lead to another check, which may join the waiting list.
    std::vector<Waiting> waiting;
    waiting.swap(waiting_);
    for (Waiting& w : waiting) {
        if (const std::optional<std::string> changed = Decide(w)) {
            w.verdict(*changed);
        } else {
            waiting_.push_back(std::move(w));
        }
    }
    error = hashed.error;
    return hashed.ok;
}

}  // namespace tandrel
