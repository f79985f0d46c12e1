#include "channels/ChannelEngine.h"

namespace tandrel {

ChannelEngine::ChannelEngine(EngineContext context) : ctx_(context) {}

void ChannelEngine::HandleChannelEvent(ChannelEventKind kind, int channel, std::string_view text) {
    ChannelRecord* record = ctx_.channels.Record(channel);
    if (!record) return;
    // A failure or a Stop shows red whatever the channel is doing, even where
    // nothing else changes.
    if (kind == ChannelEventKind::StepFailed || kind == ChannelEventKind::AbortRequested) {
        ctx_.display.Label(channel).SetBkColor(kRed);
    }
    const ChannelState state = record->state.load();
    if (kind == ChannelEventKind::AbortRequested && IsAbortable(state)) return AbortChannel(*record);

    switch (state) {
        case ChannelState::Ready:
            if (HoldForImages(*record)) return;
            ArmChannel(*record);
            if (kind == ChannelEventKind::DeviceDetected) return DetectionStep(*record);
            return BootStep(*record);
        case ChannelState::Booting:
            if (kind == ChannelEventKind::StepFailed) return FailChannel(*record, FailureText(state), text);
            return NextItem(*record);
        case ChannelState::LoadPsi:
        case ChannelState::LoadSlb:
        case ChannelState::LoadFls:
        case ChannelState::LoadEep:
        case ChannelState::LoadDsp:
        case ChannelState::LoadFfs:
        case ChannelState::LoadCust:
            if (kind == ChannelEventKind::StepFailed) return FailChannel(*record, FailureText(state), text);
            // The item under way is in the phone.
            record->itemsReceived = record->itemCursor;
            return NextItem(*record);
        case ChannelState::WaitPeers:
            return FinishChannel(*record);
        case ChannelState::Finishing:
            // The images are in; a phone that would not reset still counts as
            // written, but the operator should see why it did not reset.
            if (kind == ChannelEventKind::StepFailed && !text.empty()) ctx_.display.AppendLog(text);
            return CompleteChannel(*record);
        case ChannelState::WaitUnplug:
        case ChannelState::Completed:
            return;
    }
}

void ChannelEngine::LogLibraryMessage(bool clear) {
    if (ctx_.message.Empty()) return;
    ctx_.display.AppendLog(ctx_.message.Shown());
    if (clear) ctx_.message.Clear();
}

}  // namespace tandrel
