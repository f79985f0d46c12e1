#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plan/DownloadList.h"
#include "plan/ImageSnapshot.h"
#include "platform/SnapshotWorker.h"

namespace tandrel {

// What the station holds of its image files: the snapshot each Start takes
// of them, and the copies on disk that snapshots share. Copying and hashing
// run on the snapshot worker's thread; everything here runs on the window
// thread.
class ImageBook {
public:
    // Runs once the snapshot of the current Start is Taken or has Failed.
    using Done = std::function<void(const ImageSnapshot&)>;

    // Copies go to snapshotFolder.
    ImageBook(const ImageFiles& files, WindowLoop& loop, std::string snapshotFolder);

    // The file an item is read from, as the station names files (UTF-8).
    static std::string PathOf(const DownloadItem& item);

    // Each file of list that no phone could be written from, with why:
    // "PATH: not found", "PATH: is a folder", "PATH: is empty".
    std::vector<std::string> UnusableFiles(const DownloadList& list) const;

    // Start: a new snapshot of the files of list, copied and hashed off the
    // window thread. done runs when the last copy is in or one fails; a list
    // without files is Taken at once, without done.
    void TakeSnapshot(const DownloadList& list, Done done);
    // Start refused: no phone is armed until the next Start.
    void RefuseStart(std::string why);

    // The snapshot of the last Start; empty before the first.
    std::shared_ptr<const ImageSnapshot> Current() const { return current_; }

    // The chosen files of the last Start that are no longer the version it
    // took, each named once per Start.
    std::vector<std::string> NewlyChangedSources();

    const std::string& SnapshotFolder() const { return folder_; }

private:
    void OnCopied(const std::shared_ptr<ImageSnapshot>& snapshot, std::size_t index, const TakenCopy& taken);
    // The copy under its hash's name, shared with every snapshot holding
    // the same bytes; empty, with the reason, when it cannot be renamed.
    std::shared_ptr<const SnapshotFile> Keep(const TakenCopy& taken, FileError& error);
    static void Fail(ImageSnapshot& snapshot, std::string why);
    // Fails snapshot and tells the window.
    void Settle(const std::shared_ptr<ImageSnapshot>& snapshot, std::string why);
    void Tell(const std::shared_ptr<ImageSnapshot>& snapshot) const;
    // Every item of the snapshot's list handed the path of its file's copy.
    static bool PointAtCopies(ImageSnapshot& snapshot);
    std::string Refusal(const FileError& error) const;

    const ImageFiles& files_;
    const std::string folder_;
    std::shared_ptr<ImageSnapshot> current_;
    Done done_;
    std::vector<std::string> toldChanged_;
    // By SHA-256: the copies some snapshot still holds.
    std::map<std::string, std::weak_ptr<const SnapshotFile>> kept_;
    SnapshotWorker worker_;
};

}  // namespace tandrel
