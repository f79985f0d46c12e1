#pragma once

#include "channels/ChannelRecord.h"

namespace tandrel {

// What the channel engine tells run control, the layer above it that scans
// for phones and owns the unplug queue and the timers.
class RunControl {
public:
    virtual ~RunControl() = default;

    // In USB mode the run of channel n (1..channelCount) is over and its phone
    // must go before the channel takes another: run control watches for it.
    virtual void ChannelAwaitsUnplug(int channel) = 0;

    // In COMM mode the run of record's channel is over, with no unplug to
    // wait for: its outcome is final now.
    virtual void ChannelRunEnded(const ChannelRecord& record) = 0;
};

}  // namespace tandrel
