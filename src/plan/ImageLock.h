#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ImageFiles.h"

namespace tandrel {

// One file of the image set as Start found it.
struct LockedImage {
    std::string path;
    // Empty when the file could not be looked at; it then stays unchanged
    // for as long as it still cannot be.
    std::optional<FileIdentity> identity;
};

// The image files of one Start, as they were when Start took them: what
// every phone armed from that Start must get. Each path once, in list order.
struct ImageLock {
    std::vector<LockedImage> files;

    const LockedImage* Find(const std::string& path) const;
};

// The identity of the file at path now; empty when it cannot be looked at.
std::optional<FileIdentity> IdentityNow(const ImageFiles& files, const std::string& path);

}  // namespace tandrel
