#include "app/DownloadDialog.h"
#include "plan/ImageSelection.h"
#include "ui/ControlIds.h"

namespace tandrel {

void DownloadDialog::OnOpenFile() {
    if (const auto chosen = controls.OpenFiles()) {
        ChooseImageFiles(PlanContext{imageSlots, downloadList, controls, libraryTable, display}, *chosen);
    }
    // Also after Cancel: whatever was typed since the fields were last read
    // gives way to the stored texts.
    UpdateData(false);
}

// Only the operator's clicks come here; checking by program leaves the
// path fields as they are.
void DownloadDialog::OnSlotCheckClicked(int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    const auto k = static_cast<std::size_t>(slot);
    display.EnableControl(SlotPathId(slot), controls.GetCheck(imageSlots.checkBoxes[k]) != 0);
}

// The images named on the command line, as one choice in Open file.
void DownloadDialog::ApplyStartupImages() {
    if (options.images.empty()) return;
    ChooseImageFiles(PlanContext{imageSlots, downloadList, controls, libraryTable, display}, options.images);
    UpdateData(false);
}

}  // namespace tandrel
