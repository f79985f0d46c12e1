#pragma once

#include <cstdint>

namespace tandrel {

constexpr int kMaxDownloadItems = 7;
constexpr int kPathBufferSize = 500;

struct DownloadItem {
    // "|index|path": what every download call is handed.
    char fileSpec[kPathBufferSize] = {};
    // The container's path in container mode, the slot's path otherwise.
    char path[kPathBufferSize] = {};
    std::int32_t memoryClass = 0;
};

// The ordered download plan every channel walks, with the selection fields
// the image slots write.
struct DownloadList {
    DownloadItem items[kMaxDownloadItems] = {};
    std::int8_t count = 0;
    char containerPath[kPathBufferSize] = {};
    // 1: the slots show the items of containerPath; 0: plain files.
    std::int32_t containerMode = 0;

    // The path a phone is booted with: the first item in download order, or
    // the empty text when the list is empty.
    const char* FirstItemPath() const { return count != 0 ? items[0].path : ""; }
};

}  // namespace tandrel
