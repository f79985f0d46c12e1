#pragma once

#include <array>
#include <functional>
#include <memory>

#include "channels/ChannelCount.h"
#include "channels/ChannelRecord.h"

namespace tandrel {

// Channel number → record. Slot 0 exists and stays empty; records 1..8 are
// made once by Create and live as long as the table.
class ChannelTable {
public:
    using StateObserver = std::function<void(int channel, ChannelState state)>;

    static constexpr int channelCount = tandrel::channelCount;

    // Makes the records 1..channelCount, each Ready with its port closed.
    void Create();

    // The record of channel n, or null for a number outside 1..channelCount
    // or before Create.
    ChannelRecord* Record(int n);
    const ChannelRecord* Record(int n) const;

    // Every change of a channel's state goes through here, so that it can be seen.
    void SetState(ChannelRecord& record, ChannelState state);
    void OnStateChange(StateObserver observer) { observer_ = std::move(observer); }

    // True when any channel is downloading: in a busy state with its port
    // open. A run that ended in COMM mode keeps its last state but has closed
    // its port, and must not hold back the channels waiting for their peers.
    bool AnyBusy() const;

private:
    std::array<std::unique_ptr<ChannelRecord>, channelCount + 1> records_;
    StateObserver observer_;
};

}  // namespace tandrel
