#include "plan/ImageSelection.h"

#include <cstdint>
#include <string>

#include "library/LibraryText.h"
#include "platform/FixedText.h"
#include "ui/ControlIds.h"

namespace tandrel {

namespace {

// The path in file as the library reads it; false when it cannot be said
// there or does not fit.
bool LibraryPath(const std::string& path, char (&file)[kPathBufferSize]) {
    std::string converted;
    return ToLibraryText(path, converted) && CopyText(file, converted);
}

// The number of items in the file's table of contents; 0 when the library
// cannot be asked or the path does not reach it (such a file is then taken
// as plain, and refused when the list is built).
std::uint32_t CountItems(const LibraryTable& library, const std::string& path) {
    std::uint32_t count = 0;
    char file[kPathBufferSize];
    if (!library.TOC_get_nof_items || !LibraryPath(path, file)) return 0;
    library.TOC_get_nof_items(file, &count);
    return count;
}

std::string ItemName(const LibraryTable& library, const std::string& path, int index) {
    char file[kPathBufferSize];
    char name[IFWD_DL_NAME_SIZE] = {};
    if (!library.TOC_get_filename || !LibraryPath(path, file)) return {};
    library.TOC_get_filename(file, index, name);
    return FromLibraryText(BoundedText(name));
}

// Slot k always holds item k, so the slot index is the item index the
// download list hands to the library.
void TakeContainer(PlanContext& plan, const std::string& path, std::uint32_t count) {
    plan.list = DownloadList{};
    plan.slots.ClearSlots(plan.controls);
    plan.controls.SetText(IDC_CONTAINER_PATH, path);
    CopyText(plan.list.containerPath, path);
    plan.list.containerMode = 1;

    // The library's count is walked as a signed number.
    const auto items = static_cast<std::int32_t>(count);
    for (int i = 0; i < items && i < kSlotCount; ++i) {
        plan.slots.FillNextSlot(plan.controls, ItemName(plan.library, path, i));
    }
    if (items > kSlotCount) {
        plan.display.AppendLog("The container holds " + std::to_string(items) + " items; only the first " +
                               std::to_string(kSlotCount) + " are used.");
    }
}

void TakePlainFiles(PlanContext& plan, const std::vector<std::string>& paths) {
    if (plan.list.containerMode == 1) plan.slots.ClearSlots(plan.controls);
    plan.list.containerMode = 0;
    for (const std::string& path : paths) {
        if (!plan.slots.FillNextSlot(plan.controls, path)) break;
    }
}

}  // namespace

void ChooseImageFiles(PlanContext plan, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::uint32_t count = CountItems(plan.library, paths.front());
    if (count > 1) {
        TakeContainer(plan, paths.front(), count);
    } else {
        TakePlainFiles(plan, paths);
    }
}

}  // namespace tandrel
