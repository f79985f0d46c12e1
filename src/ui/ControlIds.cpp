#include "ui/ControlIds.h"

namespace tandrel {

namespace {
int IndexIn(const std::array<ControlId, 9>& ids, ControlId id) {
    for (int n = 1; n < static_cast<int>(ids.size()); ++n) {
        if (ids[static_cast<std::size_t>(n)] == id) return n;
    }
    return 0;
}
}  // namespace

int ChannelOfStatusLabel(ControlId id) { return IndexIn(kStatusLabelIds, id); }
int ChannelOfStopButton(ControlId id) { return IndexIn(kStopButtonIds, id); }

int SlotOfCheckBox(ControlId id) {
    for (int k = 0; k < kSlotCount; ++k) {
        if (SlotCheckBoxId(k) == id) return k;
    }
    return -1;
}

}  // namespace tandrel
