#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "channels/ArmedList.h"
#include "channels/ChannelState.h"

namespace tandrel {

// Everything the engine knows about the phone on one channel. Written on the
// window thread only; the library callback reads the state and the session
// from its own threads, hence the atomics.
struct ChannelRecord {
    explicit ChannelRecord(std::int32_t number) : channel(number) {}

    std::int32_t deviceNumber = 0;
    const std::int32_t channel;
    std::atomic<ChannelState> state{ChannelState::Ready};
    bool portOpen = false;
    std::int32_t itemCursor = 0;
    bool succeeded = false;

    // The list this run walks, taken when the channel was armed.
    std::shared_ptr<const ArmedList> armedList;
    // How many items of armedList the phone has taken in full.
    std::int32_t itemsReceived = 0;
    // Why the run failed, for its result, where the station itself knows
    // better than the library; empty otherwise.
    std::string failReason;
    // What the row shows while the phone in front of this channel waits for
    // the images of the last Start; empty once it is armed.
    std::string heldForImages;
    // How the run failed, for its result: the state it failed in, the item
    // it was taking (an index into armedList, -1 for none) and the row's text
    // then. Empty while the run has not failed.
    std::string failStage;
    std::int32_t failItem = -1;
    std::string failText;

    // The library session of the run under way: a number of its own from the
    // arming until the run ends (failure, Stop, completion or Reset), 0
    // between runs. The callback stamps each report with it, so a report made
    // for a run that has ended since is known on the window thread.
    std::atomic<std::uint32_t> session{0};

    void BeginSession() {
        if (++lastSession == 0) ++lastSession;
        session.store(lastSession, std::memory_order_release);
    }
    void EndSession() { session.store(0, std::memory_order_release); }
    // Whether a report stamped with stamp belongs to the run under way.
    bool IsCurrentSession(std::uint32_t stamp) const {
        return stamp != 0 && stamp == session.load(std::memory_order_acquire);
    }

private:
    std::uint32_t lastSession = 0;
};

}  // namespace tandrel
