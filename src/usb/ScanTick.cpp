#include "usb/ScanTick.h"

#include <algorithm>
#include <string>
#include <vector>

#include "usb/BannerTexts.h"
#include "usb/DeviceScan.h"
#include "usb/Timers.h"

namespace tandrel {

namespace {
constexpr int kUnplugPauseMs = 1000;
}  // namespace

const char* const kPhoneOnFinishedText = "Success \u2014 press Reset for a new phone";

ScanTick::ScanTick(ScanContext context) : ctx_(context) {}

void ScanTick::OnTimer(int timerId) {
    if (timerId == kScanTimerId) return OnScanTimer();
    if (const int channel = ChannelOfResultTimer(timerId)) return OnResultTimer(channel);
    ctx_.display.SetBanner("PhoneInit Timer error", false);
}

void ScanTick::OnScanTimer() {
    KillScanTimer(ctx_.loop);
    // A tick paused after an unplug sets the timer again once it goes on.
    if (paused_) return;
    FoundList found;
    ScanUsbDevices(ctx_.registry, ctx_.devicePaths, found,
                   [this](std::int32_t n, std::string_view recorded, std::string_view reported) {
                       ReportDuplicate(n, recorded, reported);
                   });
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        const ChannelRecord* record = ctx_.channels.Record(n);
        waitedAtScan_[static_cast<std::size_t>(n)] = record && record->state.load() == ChannelState::WaitUnplug;
    }
    ContinueTick(found, 0);
}

// After each unplugged phone the tick pauses before it goes on, as a task of
// the window loop: other channels' reports and item starts go on meanwhile.
void ScanTick::ContinueTick(const FoundList& found, int position) {
    if (CheckUnplugged(found, position)) {
        paused_ = true;
        ctx_.loop.After(kUnplugPauseMs, [this, found, position, generation = generation_] {
            if (generation != generation_) return;
            paused_ = false;
            ContinueTick(found, position);
        });
        return;
    }
    CheckRefusedGone(found);
    AssignDevices(found);
    Rearm();
}

void ScanTick::Reset() {
    portRefused_.fill(false);
    phoneOnFinished_.fill(false);
    ++generation_;
    paused_ = false;
}

// A queued channel whose device is no longer reported has been unplugged:
// its row shows so, and its result follows on its ResultTimer. Its device
// was forgotten on every tick while it waited, so a phone still plugged in
// is always reported, whether its port closed or not. Only channels that
// waited when the scan ran are judged by it. Returns true after an unplug,
// with position at the entry to look at next.
bool ScanTick::CheckUnplugged(const FoundList& found, int& position) {
    while (position < ctx_.unplugQueue.Count()) {
        const int channel = ctx_.unplugQueue.At(position);
        ChannelRecord* record = ctx_.channels.Record(channel);
        if (!record || found.Contains(record->deviceNumber) || record->state.load() != ChannelState::WaitUnplug ||
            !waitedAtScan_[static_cast<std::size_t>(channel)]) {
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
        return true;
    }
    return false;
}

void ScanTick::ReportDuplicate(std::int32_t n, std::string_view recorded, std::string_view reported) {
    std::pair<std::string, std::string> pair{recorded, reported};
    if (pair.second < pair.first) std::swap(pair.first, pair.second);
    if (!duplicatesTold_.insert(pair).second) return;
    ctx_.display.AppendLog("Port USB" + std::to_string(n) + " is claimed by two devices: " + pair.first + " and " +
                           pair.second);
}

// A phone whose port would not open and that is no longer reported has gone:
// its channel takes the next phone reported with its number. A phone gone
// from a finished channel leaves the row as it was before it came.
void ScanTick::CheckRefusedGone(const FoundList& found) {
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        const auto slot = static_cast<std::size_t>(n);
        if (found.Contains(n)) continue;
        portRefused_[slot] = false;
        if (!phoneOnFinished_[slot]) continue;
        phoneOnFinished_[slot] = false;
        ctx_.display.SetChannelStatus(n, ctx_.loop.IsTimerSet(ResultTimerId(n)) ? "USB disconnected" : "Success");
    }
}

// A finished channel takes no phone until Reset; the operator is told that
// the one just plugged in waits for it.
void ScanTick::NotePhoneOnFinished(int channel) {
    const auto slot = static_cast<std::size_t>(channel);
    if (phoneOnFinished_[slot]) return;
    phoneOnFinished_[slot] = true;
    ctx_.display.Label(channel).SetBkColor(kGreen);
    ctx_.display.SetChannelStatus(channel, kPhoneOnFinishedText);
    ctx_.display.AppendLog("Port " + std::to_string(channel) +
                           ": a phone was plugged into a finished channel; press Reset to use it");
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
        // A phone waiting for the images of Start stays visible to every
        // pass, so that it is armed once they are in.
        if (!record->heldForImages.empty()) return ctx_.devicePaths.ForgetDevicePath(number);
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
        if (record->state.load() == ChannelState::Completed) NotePhoneOnFinished(number);
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
    const bool phoneWaits = phoneOnFinished_[static_cast<std::size_t>(channel)];
    ctx_.display.SetChannelStatus(channel, phoneWaits ? kPhoneOnFinishedText : record->succeeded ? "Success" : "Fail");
    ctx_.results.Finished(*record, record->succeeded);
}

}  // namespace tandrel
