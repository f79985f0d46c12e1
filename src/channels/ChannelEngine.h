#pragma once

#include <cstdint>
#include <string_view>

#include "channels/ChannelState.h"
#include "channels/ChannelTable.h"
#include "library/LibraryTable.h"
#include "plan/DownloadList.h"
#include "platform/WindowLoop.h"
#include "ui/Display.h"
#include "usb/DevicePathTable.h"
#include "usb/UnplugQueue.h"

namespace tandrel {

// What the channel engine works on; all of it belongs to the main window.
struct EngineContext {
    ChannelTable& channels;
    Display& display;
    WindowLoop& loop;
    LibraryTable& library;
    LibraryMessage& message;
    const DownloadList& downloadList;
    UnplugQueue& unplugQueue;
    DevicePathTable& devicePaths;
    const std::uint8_t* bootBlock;
};

// The per-channel state machine: boots a phone, downloads every item, waits
// for its peers, has the phone reset, and handles failure and abort.
class ChannelEngine {
public:
    explicit ChannelEngine(EngineContext context);

    // The one entry: an event for channel 1..8 (any other number is ignored).
    void HandleChannelEvent(ChannelEventKind kind, int channel, std::string_view text);

    bool OpenChannelPort(ChannelRecord* record);
    bool CloseChannelPort(ChannelRecord* record);

    // The Stop button of channel n.
    void OnStop(int channel);

private:
    EngineContext ctx_;
};

}  // namespace tandrel
