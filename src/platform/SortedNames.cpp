#include <algorithm>
#include <cstring>

#include "platform/FolderReads.h"

namespace tandrel {

std::string_view SortedNames::At(int index) const {
    if (index < 0 || index >= count_) return {};
    const std::size_t slot = order_[static_cast<std::size_t>(index)];
    return {storage_[slot].data(), lengths_[slot]};
}

int SortedNames::InsertPosition(std::string_view name) const {
    int low = 0;
    int high = count_;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (At(mid) < name) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
}

void SortedNames::Offer(std::string_view name) {
    if (name.size() >= kNameSize) return;
    const int position = InsertPosition(name);
    if (position == kCapacity) return;

    std::uint8_t slot = 0;
    if (count_ < kCapacity) {
        slot = static_cast<std::uint8_t>(count_++);
    } else {
        slot = order_[kCapacity - 1];  // the largest gives way
    }
    auto* first = order_.begin() + position;
    std::copy_backward(first, order_.begin() + count_ - 1, order_.begin() + count_);
    *first = slot;
    std::memcpy(storage_[slot].data(), name.data(), name.size());
    lengths_[slot] = static_cast<std::uint8_t>(name.size());
}

void SortedNames::ForEach(const std::function<bool(std::string_view)>& visit) const {
    for (int i = 0; i < count_; ++i) {
        if (!visit(At(i))) return;
    }
}

}  // namespace tandrel
