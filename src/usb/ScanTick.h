#pragma once

#include <array>
#include <cstdint>

#include "channels/ChannelEngine.h"
#include "channels/ChannelTable.h"
#include "platform/DeviceRegistry.h"
#include "platform/WindowLoop.h"
#include "results/ResultDesk.h"
#include "ui/Display.h"
#include "usb/DevicePathTable.h"
#include "usb/UnplugQueue.h"

namespace tandrel {

// What the timer ticks of USB mode work on; all of it belongs to the main window.
struct ScanContext {
    ChannelTable& channels;
    ChannelEngine& engine;
    Display& display;
    WindowLoop& loop;
    const DeviceRegistry& registry;
    DevicePathTable& devicePaths;
    UnplugQueue& unplugQueue;
    ResultDesk& results;
};

// The ScanTimer and ResultTimer ticks: phones found on USB are given the
// channel of their device number, unplugged phones free or retire their
// channel, and each finished phone's row shows its result.
class ScanTick {
public:
    explicit ScanTick(ScanContext context);

    // Dispatches a window timer by id.
    void OnTimer(int timerId);

    // Reset: a phone whose port would not open is tried again when it is
    // next reported.
    void ForgetRefusedPhones() { portRefused_.fill(false); }

private:
    void OnScanTimer();
    void CheckUnplugged(const struct FoundList& found);
    void CheckRefusedGone(const struct FoundList& found);
    void AssignDevices(const struct FoundList& found);
    void AssignDevice(std::int32_t number);
    void RefusePhone(const ChannelRecord& record);
    void Rearm();
    void OnResultTimer(int channel);

    ScanContext ctx_;
    // Per channel: the phone reported with its number would not have its port
    // opened, and has not been seen gone since. It is not tried again while it
    // stays; once it is gone the channel takes the next phone.
    std::array<bool, ChannelTable::channelCount + 1> portRefused_ = {};
};

}  // namespace tandrel
