#include "plan/ImageLock.h"

namespace tandrel {

const LockedImage* ImageLock::Find(const std::string& path) const {
    for (const LockedImage& file : files) {
        if (file.path == path) return &file;
    }
    return nullptr;
}

std::optional<FileIdentity> IdentityNow(const ImageFiles& files, const std::string& path) {
    FileIdentity identity;
    std::string error;
    if (!files.Identify(path, identity, error)) return std::nullopt;
    return identity;
}

}  // namespace tandrel
