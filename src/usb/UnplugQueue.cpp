#include "usb/UnplugQueue.h"

#include "channels/ChannelCount.h"

namespace tandrel {

bool UnplugQueue::Append(std::int8_t channel) {
    if (channel < 1 || channel > channelCount) return false;
    entries_.push_back(channel);
    return true;
}

std::int8_t UnplugQueue::At(int position) const {
    return Valid(position) ? entries_[static_cast<std::size_t>(position)] : std::int8_t{0};
}

void UnplugQueue::RemoveAt(int position) {
    if (Valid(position)) entries_.erase(entries_.begin() + position);
}

}  // namespace tandrel
