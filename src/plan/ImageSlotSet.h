#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DialogControls.h"

namespace tandrel {

// The seven image slots: a check box and a stored path text each. Slots
// 0..usedCount-1 have been filled since the last clearing.
struct ImageSlotSet {
    std::array<ControlId, 7> checkBoxes = {};
    std::array<std::string*, 7> pathTexts = {};
    std::int8_t usedCount = 0;

    // Unchecks every slot and empties its stored text; the path fields show
    // the empty texts at the window's next refresh.
    void ClearSlots(DialogControls& controls);
    // Puts text into the first unused slot and checks it; false when all
    // seven are used.
    bool FillNextSlot(DialogControls& controls, std::string_view text);
};

}  // namespace tandrel
