#include "plan/ImageSlotSet.h"

namespace tandrel {

void ImageSlotSet::ClearSlots(DialogControls& controls) {
    for (std::size_t k = 0; k < checkBoxes.size(); ++k) {
        controls.SetCheck(checkBoxes[k], 0);
        pathTexts[k]->clear();
    }
    usedCount = 0;
}

bool ImageSlotSet::FillNextSlot(DialogControls& controls, std::string_view text) {
    if (usedCount < 0 || usedCount >= static_cast<int>(checkBoxes.size())) return false;
    const auto k = static_cast<std::size_t>(usedCount);
    pathTexts[k]->assign(text);
    controls.SetCheck(checkBoxes[k], 1);
    ++usedCount;
    return true;
}

}  // namespace tandrel
