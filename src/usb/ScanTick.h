#pragma once

#include <array>
#include <set>
#include <string>
#include <utility>
#include <cstdint>
#include <string_view>

#include "channels/ChannelEngine.h"
#include "channels/ChannelTable.h"
#include "platform/DeviceRegistry.h"
#include "platform/WindowLoop.h"
#include "results/ResultDesk.h"
#include "ui/Display.h"
#include "usb/DevicePathTable.h"
#include "usb/UnplugQueue.h"

namespace tandrel {

// The row of a finished channel with a new phone in its port.
extern const char* const kPhoneOnFinishedText;

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
    // next reported, and a tick paused after an unplug does not go on.
    void Reset();

private:
    void OnScanTimer();
    void ContinueTick(const struct FoundList& found, int position);
    bool CheckUnplugged(const struct FoundList& found, int& position);
    void ReportDuplicate(std::int32_t n, std::string_view recorded, std::string_view reported);
    void CheckRefusedGone(const struct FoundList& found);
    void AssignDevices(const struct FoundList& found);
    void AssignDevice(std::int32_t number);
    void RefusePhone(const ChannelRecord& record);
    void NotePhoneOnFinished(int channel);
    void Rearm();
    void OnResultTimer(int channel);

    ScanContext ctx_;
    // Per channel: the phone reported with its number would not have its port
    // opened, and has not been seen gone since. It is not tried again while it
    // stays; once it is gone the channel takes the next phone.
    std::array<bool, ChannelTable::channelCount + 1> portRefused_ = {};
    // Per channel: it waited for its unplug when the current tick scanned.
    std::array<bool, ChannelTable::channelCount + 1> waitedAtScan_ = {};
    // A tick waits out its pause after an unplug; Reset makes it stale.
    bool paused_ = false;
    std::uint32_t generation_ = 0;
    // Per channel: a phone sits in the port of its finished channel.
    std::array<bool, ChannelTable::channelCount + 1> phoneOnFinished_ = {};
    // Pairs of instance names already told to claim one port.
    std::set<std::pair<std::string, std::string>> duplicatesTold_;
};

}  // namespace tandrel
