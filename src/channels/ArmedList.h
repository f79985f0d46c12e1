#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/DownloadList.h"
#include "plan/ImageSnapshot.h"

namespace tandrel {

// The download list a channel was armed with, never changed afterwards. Start
// may rebuild the window's list while phones are being written; a phone still
// gets exactly the items it was armed with, and its result names them.
struct ArmedList {
    // The list as the operator chose it: the files the journal names.
    DownloadList list;
    // The copies the Start of this list took; empty where the list was
    // armed without a Start.
    std::shared_ptr<const ImageSnapshot> images;

    // The number of items, held to 0..kMaxDownloadItems whatever the count says.
    int Count() const;
    // Item i, 0 <= i < Count().
    const DownloadItem& Item(int i) const { return list.items[i]; }
    // The list as the library is handed it: the copies' paths.
    const DownloadList& Written() const { return images ? images->written : list; }
    // The file specs of the first n items (n held to Count()), as the
    // download calls were handed them.
    std::vector<std::string> FileSpecs(int n) const;
};

// A copy of list and the snapshot of its files, for one channel's run.
std::shared_ptr<const ArmedList> ArmWith(const DownloadList& list, std::shared_ptr<const ImageSnapshot> images);

}  // namespace tandrel
