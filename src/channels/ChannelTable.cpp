#include "channels/ChannelTable.h"

namespace tandrel {

void ChannelTable::Create() {
    for (int n = 1; n <= channelCount; ++n) records_[static_cast<std::size_t>(n)] = std::make_unique<ChannelRecord>(n);
}

ChannelRecord* ChannelTable::Record(int n) {
    if (n < 1 || n > channelCount) return nullptr;
    return records_[static_cast<std::size_t>(n)].get();
}

const ChannelRecord* ChannelTable::Record(int n) const {
    if (n < 1 || n > channelCount) return nullptr;
    return records_[static_cast<std::size_t>(n)].get();
}

void ChannelTable::SetState(ChannelRecord& record, ChannelState state) {
    const ChannelState before = record.state.exchange(state);
    if (before != state && observer_) observer_(record.channel, state);
}

bool ChannelTable::AnyBusy() const {
    for (int n = 1; n <= channelCount; ++n) {
        const ChannelRecord* r = Record(n);
        if (r && r->portOpen && IsBusy(r->state.load())) return true;
    }
    return false;
}

}  // namespace tandrel
