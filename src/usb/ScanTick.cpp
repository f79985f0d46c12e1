#include "usb/ScanTick.h"

#include <string>
#include <vector>

#include "library/LibraryText.h"
#include "platform/FixedText.h"
#include "ui/Journal.h"
#include "usb/BannerTexts.h"
#include "usb/DeviceScan.h"
#include "usb/Timers.h"

namespace tandrel {

namespace {
constexpr int kUnplugPauseMs = 1000;
}  // namespace

ScanTick::ScanTick(ScanContext context) : ctx_(context) {}

void ScanTick::OnTimer(int timerId) {
    if (timerId == kScanTimerId) return OnScanTimer();
    if (const int channel = ChannelOfResultTimer(timerId)) return OnResultTimer(channel);
    ctx_.display.SetBanner("PhoneInit Timer error", false);
}

void ScanTick::OnScanTimer() {
    KillScanTimer(ctx_.loop);
    FoundList found;
    ScanUsbDevices(ctx_.registry, ctx_.devicePaths, found);
    CheckUnplugged(found);
    AssignDevices(found);
    Rearm();
}

// A queued channel whose device is no longer reported has been unplugged:
// its row shows so, and its result follows on its ResultTimer.
void ScanTick::CheckUnplugged(const FoundList& found) {
    int position = 0;
    while (position < ctx_.unplugQueue.Count()) {
        const int channel = ctx_.unplugQueue.At(position);
        ChannelRecord* record = ctx_.channels.Record(channel);
        if (!record || found.Contains(record->deviceNumber) || record->state.load() != ChannelState::WaitUnplug) {
            ++position;
            continue;
        }
        ctx_.display.SetChannelStatus(channel, "USB disconnected");
        ctx_.channels.SetState(*record, record->succeeded ? ChannelState::Completed : ChannelState::Ready);
        SetResultTimer(ctx_.loop, channel, record->succeeded);
        unpluggedAt_[static_cast<std::size_t>(channel)] = ctx_.loop.Now();
        ctx_.display.SetBanner(kSearchingForChannels, true);
        ctx_.unplugQueue.RemoveAt(position);
        ctx_.loop.Pause(kUnplugPauseMs);
    }
}

// Every number of the pass is handled in this tick, so none is left recorded
// but unhandled.
void ScanTick::AssignDevices(const FoundList& found) {
    for (int i = 0; i < found.count && i < FoundList::kCapacity; ++i) AssignDevice(found.numbers[i]);
}

void ScanTick::AssignDevice(std::int32_t number) {
    if (number > ChannelTable::channelCount) {
        ctx_.display.SetBanner(kAllChannelsInUse, false);
        return;
    }
    ChannelRecord* record = ctx_.channels.Record(number);
    if (!record) return;
    if (!record->portOpen && record->state.load() == ChannelState::Ready) {
        record->deviceNumber = number;
        armedAt_[static_cast<std::size_t>(number)] = ctx_.loop.Now();
        ctx_.engine.HandleChannelEvent(ChannelEventKind::DeviceDetected, number, "");
        // A port that did not open, a boot refused at once or an empty download
        // list each left a row text saying so; only a phone that is booting
        // normally shows that it was detected.
        if (record->state.load() == ChannelState::Booting && ctx_.downloadList.count > 0) {
            ctx_.display.SetChannelStatus(number, "USB detected");
        }
    } else if (!record->portOpen) {
        // Keeps a phone that waits for its unplug visible to every pass.
        ctx_.devicePaths.ForgetDevicePath(number);
    }
}

void ScanTick::Rearm() {
    int notReady = 0;
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        const ChannelRecord* record = ctx_.channels.Record(n);
        if (!record || record->state.load() != ChannelState::Ready) ++notReady;
    }
    if (notReady < ChannelTable::channelCount || ctx_.unplugQueue.Count() > 0) {
        SetScanTimer(ctx_.loop);
    } else {
        ctx_.display.SetBanner(kChannelSearchStopped, true);
    }
}

void ScanTick::OnResultTimer(int channel) {
    KillResultTimer(ctx_.loop, channel);
    const ChannelRecord* record = ctx_.channels.Record(channel);
    if (!record) return;
    ctx_.display.SetChannelStatus(channel, record->succeeded ? "Success" : "Fail");
    JournalResult(channel, *record);
}

void ScanTick::JournalResult(int channel, const ChannelRecord& record) {
    Journal* journal = ctx_.display.GetJournal();
    if (!journal) return;
    std::vector<std::string> images;
    for (int i = 0; i < ctx_.downloadList.count && i < kMaxDownloadItems; ++i) {
        images.push_back(FromLibraryText(BoundedText(ctx_.downloadList.items[i].fileSpec)));
    }
    const auto slot = static_cast<std::size_t>(channel);
    journal->Result(channel, record.deviceNumber, record.succeeded, images, unpluggedAt_[slot] - armedAt_[slot]);
}

}  // namespace tandrel
