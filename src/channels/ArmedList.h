#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/DownloadList.h"
#include "plan/ImageLock.h"

namespace tandrel {

// The download list a channel was armed with, never changed afterwards. Start
// may rebuild the window's list while phones are being written; a phone still
// gets exactly the items it was armed with, and its result names them.
struct ArmedList {
    DownloadList list;
    // The image files as the Start of this list found them.
    std::shared_ptr<const ImageLock> images;

    // The number of items, held to 0..kMaxDownloadItems whatever the count says.
    int Count() const;
    // Item i, 0 <= i < Count().
    const DownloadItem& Item(int i) const { return list.items[i]; }
    // The file specs of the first n items (n held to Count()), as the
    // download calls were handed them.
    std::vector<std::string> FileSpecs(int n) const;
};

// A copy of list and its files' lock, for one channel's run.
std::shared_ptr<const ArmedList> ArmWith(const DownloadList& list, std::shared_ptr<const ImageLock> images);

}  // namespace tandrel
