#include "usb/ScanTick.h"

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
    CheckRefusedGone(found);
    AssignDevices(found);
    Rearm();
}

// A queued channel whose device is no longer reported has been unplugged:
// its row shows so, and its result follows on its ResultTimer. Its device
// was forgotten on every tick while it waited, so a phone still plugged in
// is always reported, whether its port closed or not.
void ScanTick::CheckUnplugged(const FoundList& found) {
    int position = 0;
    while (position < ctx_.unplugQueue.Count()) {
        const int channel = ctx_.unplugQueue.At(position);
        ChannelRecord* record = ctx_.channels.Record(channel);
        if (!record || found.Contains(record->deviceNumber) || record->state.load() != ChannelState::WaitUnplug) {
            ++position;
            continue;
        }
        ctx_.results.Unplugged(channel);
        ctx_.display.SetChannelStatus(channel, "USB disconnected");
        ctx_.channels.SetState(*record, record->succeeded ? ChannelState::Completed : ChannelState::Ready);
        // A port that would not close while its phone was in it may let go
        // now; one that still will not keeps the channel from the next phone.
        if (record->portOpen) ctx_.engine.CloseChannelPort(record);
        SetResultTimer(ctx_.loop, channel, record->succeeded);
        ctx_.display.SetBanner(kSearchingForChannels, true);
        ctx_.unplugQueue.RemoveAt(position);
        ctx_.loop.Pause(kUnplugPauseMs);
    }
}

// A phone whose port would not open and that is no longer reported has gone:
// its channel takes the next phone reported with its number.
void ScanTick::CheckRefusedGone(const FoundList& found) {
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        const auto slot = static_cast<std::size_t>(n);
        if (portRefused_[slot] && !found.Contains(n)) portRefused_[slot] = false;
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
    const auto slot = static_cast<std::size_t>(number);
    if (!record->portOpen && record->state.load() == ChannelState::Ready) {
        // The phone whose port would not open is still there: it is not tried
        // again, only kept visible to the next pass so that its going is seen.
        if (portRefused_[slot]) return ctx_.devicePaths.ForgetDevicePath(number);
        record->deviceNumber = number;
        ctx_.results.Armed(*record, ctx_.devicePaths.Slot(number));
        ctx_.engine.HandleChannelEvent(ChannelEventKind::DeviceDetected, number, "");
        // A phone refused for a changed image stays, visible to every pass,
        // so that it is armed once Start accepts the files as they are.
        if (!record->refusedImage.empty()) return ctx_.devicePaths.ForgetDevicePath(number);
        // Detection leaves a channel Ready with its port closed only when the
        // port did not open.
        if (!record->portOpen && record->state.load() == ChannelState::Ready) return RefusePhone(*record);
        // A boot refused at once or an empty download list each left a row
        // text saying so; only a phone that is booting normally shows that it
        // was detected.
        if (record->state.load() == ChannelState::Booting && record->armedList && record->armedList->Count() > 0) {
            ctx_.display.SetChannelStatus(number, "USB detected");
        }
    } else if (!record->portOpen || record->state.load() == ChannelState::WaitUnplug) {
        // Keeps a phone that waits for its unplug visible to every pass, also
        // when its port would not close: only a phone really gone releases
        // its channel.
        ctx_.devicePaths.ForgetDevicePath(number);
    }
}

// The row keeps "Can't open port"; the phone's outcome is recorded like any
// other phone's the station took.
void ScanTick::RefusePhone(const ChannelRecord& record) {
    portRefused_[static_cast<std::size_t>(record.channel)] = true;
    ctx_.devicePaths.ForgetDevicePath(record.channel);
    ctx_.results.Finished(record, false);
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
    ctx_.results.Finished(*record, record->succeeded);
}

}  // namespace tandrel
