#include "channels/ChannelEngine.h"
#include "ui/ControlIds.h"

namespace tandrel {

namespace {
// Lets the library settle around closing a port that was busy.
constexpr int kCloseSettleMs = 100;

// Booting and the loading states: the item last taken from the list is the
// one under way, or the one that could not be started.
bool WalksItems(ChannelState state) {
    return state == ChannelState::Booting || state == ChannelState::LoadEep || state == ChannelState::LoadDsp ||
           IsBusy(state);
}
}  // namespace

// Each way a run ends closes its library session first: whatever the library
// still reports for the run is dropped, even while its port will not close.
void ChannelEngine::FailChannel(ChannelRecord& record, std::string_view statusText, std::string_view logText) {
    record.EndSession();
    NoteFailure(record, statusText);
    ctx_.display.SetChannelStatus(record.channel, statusText);
    // The log text may live in LibraryMessage, which closing the port reuses.
    if (!logText.empty()) ctx_.display.AppendLog(logText);
    record.succeeded = false;
    if (record.portOpen) {
        CloseChannelPort(&record);
        ctx_.loop.Pause(kCloseSettleMs);
    }
    if (UsbMode()) return AwaitUnplug(record, "Error, Disc the phone", true);
    ctx_.runControl.ChannelRunEnded(record);
    ReleasePeers();
}

void ChannelEngine::AbortChannel(ChannelRecord& record) {
    record.EndSession();
    NoteFailure(record, ctx_.display.Controls().GetText(StatusLabelId(record.channel)));
    ctx_.message.Clear();
    if (ctx_.library.abort_process) ctx_.library.abort_process(LibraryChannel(record), ctx_.message.text);
    if (UsbMode()) {
        ctx_.display.SetChannelProgress(record.channel, 0);
        AwaitUnplug(record, "Abort, Disc the phone", true);
    }
    ctx_.loop.Pause(kCloseSettleMs);
    CloseChannelPort(&record);
    if (UsbMode()) return;
    ctx_.runControl.ChannelRunEnded(record);
    ReleasePeers();
}

// The first failure of a run is the one its result names; a Stop after a
// failure changes nothing of it.
void ChannelEngine::NoteFailure(ChannelRecord& record, std::string_view rowText) {
    if (!record.failStage.empty()) return;
    const ChannelState state = record.state.load();
    record.failStage = StateName(state);
    const int count = record.armedList ? record.armedList->Count() : 0;
    record.failItem = WalksItems(state) && record.itemCursor > 0 && record.itemCursor <= count ? record.itemCursor - 1 : -1;
    record.failText = rowText;
}

// A channel that stopped downloading may have been the last one holding back
// its peers.
void ChannelEngine::ReleasePeers() {
    if (!AnyChannelBusy()) StartFinishPass();
}

void ChannelEngine::CompleteChannel(ChannelRecord& record) {
    record.EndSession();
    record.succeeded = true;
    if (record.portOpen) CloseChannelPort(&record);
    if (!UsbMode()) return ctx_.runControl.ChannelRunEnded(record);
    ctx_.display.Label(record.channel).SetBkColor(kGreen);
    AwaitUnplug(record, "Done, Disconnect the phone", false);
}

// The run is over in USB mode: the phone must go before the channel takes
// another, which run control watches for.
void ChannelEngine::AwaitUnplug(ChannelRecord& record, std::string_view statusText, bool finishPeers) {
    ctx_.channels.SetState(record, ChannelState::WaitUnplug);
    ctx_.display.SetChannelStatus(record.channel, statusText);
    if (finishPeers) ReleasePeers();
    ctx_.runControl.ChannelAwaitsUnplug(record.channel);
}

}  // namespace tandrel
