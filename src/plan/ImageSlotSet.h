#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/DialogControls.h"

namespace tandrel {

// The seven image slots: a check box and a stored path text each. Slots
// 0..usedCount-1 have been filled since the last clearing.
struct ImageSlotSet {
    std::array<ControlId, 7> checkBoxes = {};
    std::array<std::string*, 7> pathTexts = {};
    std::int8_t usedCount = 0;
};

}  // namespace tandrel
