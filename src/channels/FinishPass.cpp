#include "channels/ChannelEngine.h"

namespace tandrel {

namespace {
// A pass visits the channels this far apart, and ends this long after the last.
constexpr int kPassSpacingMs = 200;
}  // namespace

void ChannelEngine::EnterWaitPeers(ChannelRecord& record) {
    ctx_.channels.SetState(record, ChannelState::WaitPeers);
    if (AnyChannelBusy()) {
        ctx_.display.SetChannelStatus(record.channel, "Wait DL complete");
    } else {
        StartFinishPass();
    }
}

void ChannelEngine::FinishChannel(ChannelRecord& record) {
    if (!record.portOpen) return;
    ctx_.display.SetChannelStatus(record.channel, "Done");
    ctx_.channels.SetState(record, ChannelState::Finishing);
    ctx_.message.Clear();
    if (ctx_.library.force_target_reset) {
        ctx_.library.force_target_reset(LibraryChannel(record), 1, 16, 17, 0, ctx_.message.text);
        return;
    }
    // Without the reset call no outcome would ever come: finish as a failed
    // reset would.
    HandleChannelEvent(ChannelEventKind::StepFailed, record.channel,
                       "The download library has no call to reset the phone.");
}

bool ChannelEngine::AnyChannelBusy() const { return ctx_.channels.AnyBusy(); }

// The pass is a chain of tasks on the window loop rather than a thread of its
// own, so its events never interleave with another event for the same channel.
void ChannelEngine::StartFinishPass() {
    ctx_.loop.After(0, [this] { VisitInPass(1); });
}

void ChannelEngine::VisitInPass(int channel) {
    if (channel > ChannelTable::channelCount) return;
    const ChannelRecord* record = ctx_.channels.Record(channel);
    if (record && record->state.load() == ChannelState::WaitPeers) {
        HandleChannelEvent(ChannelEventKind::StepSucceeded, channel, "");
    }
    ctx_.loop.After(kPassSpacingMs, [this, channel] { VisitInPass(channel + 1); });
}

}  // namespace tandrel
