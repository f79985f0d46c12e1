#include "plan/BuildDownloadList.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "library/LibraryText.h"
#include "platform/FixedText.h"

namespace tandrel {

namespace {

// The longest path whose "|index|path" still fits, for a one-digit index.
constexpr int kLongestPath = kPathBufferSize - 4;

// "|index|path"; false, with the field left empty, when it does not fit.
bool FormatFileSpec(char (&fileSpec)[kPathBufferSize], int index, std::string_view path) {
    const int n = std::snprintf(fileSpec, sizeof fileSpec, "|%d|%.*s", index, static_cast<int>(path.size()),
                                path.data());
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof fileSpec) return true;
    fileSpec[0] = '\0';
    return false;
}

// The item holds the path as the library reads it.
bool FillItem(const LibraryTable& library, DownloadItem& item, int index, std::string_view path) {
    if (!FormatFileSpec(item.fileSpec, index, path) || !CopyText(item.path, path)) return false;
    // The library takes a writable buffer: it gets a copy, never the item's path.
    char file[kPathBufferSize];
    CopyText(file, path);
    item.memoryClass = 0;
    if (library.TOC_get_memory_class) library.TOC_get_memory_class(file, index, &item.memoryClass);
    return true;
}

// Names the file, so the operator knows which one to move: in container
// mode every slot comes from the container.
void RefuseLongPath(Display& display, std::string_view path) {
    display.AppendLog(std::string(path) + ": the path is longer than " + std::to_string(kLongestPath) +
                      " characters; nothing will be downloaded.");
}

void RefuseUnsayablePath(Display& display, std::string_view path) {
    display.AppendLog(std::string(path) +
                      ": the path cannot be written in the download library's code page; nothing will be downloaded.");
}

}  // namespace

void BuildDownloadList(PlanContext plan) {
    DownloadList& list = plan.list;
    list.count = 0;
    // In container mode slot i holds item i of the container; its text is
    // only the item's name.
    const bool container = list.containerMode == 1;
    const int used = std::clamp<int>(plan.slots.usedCount, 0, kMaxDownloadItems);
    for (int i = 0; i < used; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (plan.controls.GetCheck(plan.slots.checkBoxes[k]) != 1) continue;
        const std::string_view path = container ? BoundedText(list.containerPath) : *plan.slots.pathTexts[k];
        std::string libraryPath;
        if (!ToLibraryText(path, libraryPath)) {
            list.count = 0;
            return RefuseUnsayablePath(plan.display, path);
        }
        if (!FillItem(plan.library, list.items[list.count], container ? i : 0, libraryPath)) {
            list.count = 0;
            return RefuseLongPath(plan.display, path);
        }
        ++list.count;
    }
}

}  // namespace tandrel
