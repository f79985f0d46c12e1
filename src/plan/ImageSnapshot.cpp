#include "plan/ImageSnapshot.h"

namespace tandrel {

SnapshotFile::SnapshotFile(const ImageFiles& files, std::string path, std::string sha256)
    : files_(files), path_(std::move(path)), sha256_(std::move(sha256)) {}

SnapshotFile::~SnapshotFile() { files_.Remove(path_); }

const SnapshotImage* ImageSnapshot::Find(const std::string& source) const {
    for (const SnapshotImage& image : images) {
        if (image.source == source) return &image;
    }
    return nullptr;
}

std::string ImageSnapshot::Sha256Of(const std::string& source) const {
    const SnapshotImage* image = Find(source);
    return image && image->copy ? image->copy->Sha256() : std::string();
}

}  // namespace tandrel
