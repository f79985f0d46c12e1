#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/DownloadList.h"
#include "platform/ImageFiles.h"

namespace tandrel {

// A read-only copy of an image file in the station's snapshot folder, named
// by its SHA-256. Removed from disk when the last run holding it lets go.
class SnapshotFile {
public:
    SnapshotFile(const ImageFiles& files, std::string path, std::string sha256);
    ~SnapshotFile();
    SnapshotFile(const SnapshotFile&) = delete;
    SnapshotFile& operator=(const SnapshotFile&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& Sha256() const { return sha256_; }

private:
    const ImageFiles& files_;
    const std::string path_;
    const std::string sha256_;
};

// One file the operator chose, as Start took it.
struct SnapshotImage {
    std::string source;           // the chosen file, as the station names files (UTF-8)
    FileIdentity seenAtStart;     // the version Start found there
    std::shared_ptr<const SnapshotFile> copy;  // empty until taken
};

enum class SnapshotState {
    Taking,  // copies still being made: no phone is armed yet
    Taken,   // every copy made and hashed: phones are armed from them
    Failed,  // a copy could not be made, or Start was refused: no phone is armed
};

// The image files of one Start: a copy of each chosen file, which is all any
// phone armed from that Start is ever handed, whatever becomes of the
// chosen files afterwards.
struct ImageSnapshot {
    SnapshotState state = SnapshotState::Taking;
    // Each chosen file once, in list order.
    std::vector<SnapshotImage> images;
    // The list as the library is handed it, every path that of a copy; set
    // once Taken.
    DownloadList written;
    // Why no phone is armed, once Failed.
    std::string failure;

    const SnapshotImage* Find(const std::string& source) const;
    // The SHA-256 (hex) of the copy of source; empty while there is none.
    std::string Sha256Of(const std::string& source) const;
};

}  // namespace tandrel
