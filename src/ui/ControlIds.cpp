#include "ui/ControlIds.h"

namespace tandrel {

int ChannelOfStopButton(ControlId id) {
    for (int n = 1; n <= kChannelRows; ++n) {
        if (StopButtonId(n) == id) return n;
    }
    return 0;
}

int SlotOfCheckBox(ControlId id) {
    for (int k = 0; k < kSlotCount; ++k) {
        if (SlotCheckBoxId(k) == id) return k;
    }
    return -1;
}

}  // namespace tandrel
