#pragma once

#include <atomic>
#include <cstdint>

#include "channels/ChannelState.h"

namespace tandrel {

// Everything the engine knows about the phone on one channel. Written on the
// window thread only; the library callback reads the state from its own
// threads, hence the atomic.
struct ChannelRecord {
    explicit ChannelRecord(std::int32_t number) : channel(number) {}

    std::int32_t deviceNumber = 0;
    const std::int32_t channel;
    std::atomic<ChannelState> state{ChannelState::Ready};
    bool portOpen = false;
    std::int32_t itemCursor = 0;
    bool succeeded = false;
};

}  // namespace tandrel
