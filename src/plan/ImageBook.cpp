#include "plan/ImageBook.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "library/LibraryText.h"
#include "platform/FixedText.h"

namespace tandrel {

namespace {

// item as the library is to be handed it: the same index, the copy's path.
bool PointAtCopy(DownloadItem& item, const std::string& copy) {
    std::string path;
    if (!ToLibraryText(copy, path)) return false;
    const std::string_view spec = BoundedText(item.fileSpec);
    const std::size_t indexEnd = spec.find('|', 1);
    if (indexEnd == std::string_view::npos) return false;
    const std::string newSpec = std::string(spec.substr(0, indexEnd + 1)) + path;
    return CopyText(item.fileSpec, newSpec) && CopyText(item.path, path);
}

}  // namespace

ImageBook::ImageBook(const ImageFiles& files, WindowLoop& loop, std::string snapshotFolder)
    : files_(files), folder_(std::move(snapshotFolder)), worker_(files, loop) {}

std::string ImageBook::PathOf(const DownloadItem& item) { return FromLibraryText(BoundedText(item.path)); }

std::vector<std::string> ImageBook::UnusableFiles(const DownloadList& list) const {
    std::vector<std::string> unusable;
    std::vector<std::string> seen;
    for (int i = 0; i < std::clamp<int>(list.count, 0, kMaxDownloadItems); ++i) {
        const std::string path = PathOf(list.items[i]);
        if (std::find(seen.begin(), seen.end(), path) != seen.end()) continue;
        seen.push_back(path);
        FileIdentity identity;
        FileError error;
        if (!files_.Identify(path, identity, error)) {
            unusable.push_back(path + ": " + error.Plain());
        } else if (identity.size == 0) {
            unusable.push_back(path + ": is empty");
        }
    }
    return unusable;
}

void ImageBook::TakeSnapshot(const DownloadList& list, Done done) {
    auto snapshot = std::make_shared<ImageSnapshot>();
    current_ = snapshot;
    done_ = std::move(done);
    toldChanged_.clear();
    snapshot->written = list;
    for (int i = 0; i < std::clamp<int>(list.count, 0, kMaxDownloadItems); ++i) {
        const std::string path = PathOf(list.items[i]);
        if (snapshot->Find(path)) continue;
        SnapshotImage image{path, {}, nullptr};
        FileError error;
        if (!files_.Identify(path, image.seenAtStart, error)) return Fail(*snapshot, path + ": " + error.Plain());
        snapshot->images.push_back(std::move(image));
    }
    if (snapshot->images.empty()) {
        snapshot->state = SnapshotState::Taken;
        return;
    }
    if (folder_.empty()) return Fail(*snapshot, "the station has no data folder to keep its image snapshots in");
    for (std::size_t i = 0; i < snapshot->images.size(); ++i) {
        worker_.CopyAndHash(snapshot->images[i].source, folder_,
                            [this, snapshot, i](const TakenCopy& taken) { OnCopied(snapshot, i, taken); });
    }
}

void ImageBook::RefuseStart(std::string why) {
    current_ = std::make_shared<ImageSnapshot>();
    done_ = nullptr;
    Fail(*current_, std::move(why));
}

// Copies of a snapshot that failed, or of one a later Start replaced and
// that is no longer needed, are let go as they come in.
void ImageBook::OnCopied(const std::shared_ptr<ImageSnapshot>& snapshot, std::size_t index, const TakenCopy& taken) {
    if (snapshot->state != SnapshotState::Taking) {
        if (taken.ok) files_.Remove(taken.copy);
        return;
    }
    SnapshotImage& image = snapshot->images[index];
    if (!taken.ok) return Settle(snapshot, Refusal(taken.error));
    // The list was built from the version Start found; another one may hold
    // other items.
    if (taken.identity != image.seenAtStart) {
        files_.Remove(taken.copy);
        return Settle(snapshot, image.source + " changed while Start took it");
    }
    FileError error;
    image.copy = Keep(taken, error);
    if (!image.copy) return Settle(snapshot, Refusal(error));
    for (const SnapshotImage& other : snapshot->images) {
        if (!other.copy) return;
    }
    if (!PointAtCopies(*snapshot)) {
        return Settle(snapshot, "the image snapshot folder " + folder_ +
                                    " cannot be named to the download library: its path is too long or not in "
                                    "the library's code page");
    }
    snapshot->state = SnapshotState::Taken;
    Tell(snapshot);
}

std::shared_ptr<const SnapshotFile> ImageBook::Keep(const TakenCopy& taken, FileError& error) {
    if (std::shared_ptr<const SnapshotFile> kept = kept_[taken.sha256].lock()) {
        files_.Remove(taken.copy);
        return kept;
    }
    const std::string path = folder_ + "/" + taken.sha256;
    if (!files_.Rename(taken.copy, path, error)) {
        files_.Remove(taken.copy);
        return nullptr;
    }
    auto kept = std::make_shared<const SnapshotFile>(files_, path, taken.sha256);
    kept_[taken.sha256] = kept;
    return kept;
}

void ImageBook::Fail(ImageSnapshot& snapshot, std::string why) {
    snapshot.state = SnapshotState::Failed;
    snapshot.failure = std::move(why);
    // Copies already made are of no use to anyone now.
    for (SnapshotImage& image : snapshot.images) image.copy.reset();
}

void ImageBook::Settle(const std::shared_ptr<ImageSnapshot>& snapshot, std::string why) {
    Fail(*snapshot, std::move(why));
    Tell(snapshot);
}

// Only the current Start's snapshot is the window's concern.
void ImageBook::Tell(const std::shared_ptr<ImageSnapshot>& snapshot) const {
    if (snapshot == current_ && done_) done_(*snapshot);
}

bool ImageBook::PointAtCopies(ImageSnapshot& snapshot) {
    for (int i = 0; i < std::clamp<int>(snapshot.written.count, 0, kMaxDownloadItems); ++i) {
        DownloadItem& item = snapshot.written.items[i];
        const SnapshotImage* image = snapshot.Find(PathOf(item));
        if (!image || !image->copy || !PointAtCopy(item, image->copy->Path())) return false;
    }
    return true;
}

std::string ImageBook::Refusal(const FileError& error) const {
    // A folder that cannot be written is best told in the system's words
    // ("No space left on device").
    if (error.path.rfind(folder_, 0) == 0) return "the image snapshot cannot be written in " + folder_ + ": " + error.text;
    return "cannot copy " + error.path + ": " + error.Plain();
}

std::vector<std::string> ImageBook::NewlyChangedSources() {
    std::vector<std::string> changed;
    if (!current_ || current_->state != SnapshotState::Taken) return changed;
    for (const SnapshotImage& image : current_->images) {
        if (std::find(toldChanged_.begin(), toldChanged_.end(), image.source) != toldChanged_.end()) continue;
        FileIdentity now;
        FileError error;
        if (files_.Identify(image.source, now, error) && now == image.seenAtStart) continue;
        toldChanged_.push_back(image.source);
        changed.push_back(image.source);
    }
    return changed;
}

}  // namespace tandrel
