#include <string>

#include "channels/ChannelEngine.h"
#include "ui/ControlIds.h"

namespace tandrel {

// A run starts from Ready: it walks the list as it is now, to its end, and
// only what the library reports from now on belongs to it.
void ChannelEngine::ArmChannel(ChannelRecord& record) {
    record.armedList = ArmWith(ctx_.downloadList, ctx_.imageLock);
    record.itemsReceived = 0;
    record.failStage.clear();
    record.failItem = -1;
    record.failText.clear();
    record.BeginSession();
}

// A file of the list that is no longer what Start took keeps the phone from
// being armed: it would be written with a build the operator did not start.
// The phone stays where it is; the row and the log say why once, however
// often the phone is reported, and Start again accepts the files as they are:
// it is made usable for that, as a Stop button would.
bool ChannelEngine::RefuseChangedImages(ChannelRecord& record) {
    const std::string changed = ctx_.imageLock ? ctx_.images.FirstChanged(*ctx_.imageLock) : std::string();
    if (changed.empty()) {
        record.refusedImage.clear();
        return false;
    }
    if (changed != record.refusedImage) {
        ctx_.display.Label(record.channel).SetBkColor(kRed);
        ctx_.display.SetChannelStatus(record.channel, "Image changed, press Start");
        ctx_.display.AppendLog("Image changed since Start: " + changed);
        ctx_.display.EnableControl(IDC_START, true);
        record.refusedImage = changed;
    }
    return true;
}

void ChannelEngine::DetectionStep(ChannelRecord& record) {
    ctx_.display.SetChannelStatus(record.channel, "Please wait...");
    record.itemCursor = 0;
    if (!record.portOpen && !OpenChannelPort(&record)) {
        ctx_.display.SetChannelStatus(record.channel, "Can't open port");
        record.EndSession();
        return;
    }
    ctx_.channels.SetState(record, ChannelState::Booting);
    BootStep(record);
}

void ChannelEngine::BootStep(ChannelRecord& record) {
    const std::string path(record.armedList->list.FirstItemPath());
    if (path.empty()) {
        ctx_.display.SetChannelStatus(record.channel, "Setup error. Can't boot");
        return;
    }
    ctx_.message.Clear();
    if (!ctx_.library.boot_target) return FailChannel(record, "Boot Failed", ctx_.message.Shown());
    const int result =
        ctx_.library.boot_target(LibraryChannel(record), path.c_str(), ctx_.bootBlock, ctx_.message.text);
    if (result == kCallRefused) return FailChannel(record, "Boot Failed", ctx_.message.Shown());
    ctx_.display.SetChannelStatus(record.channel, UsbMode() ? "Wait for USB" : "Booting...");
    ctx_.channels.SetState(record, ChannelState::Booting);
    EnableStopButton(record.channel);
}

void ChannelEngine::EnableStopButton(int channel) {
    ctx_.display.EnableControl(StopButtonId(channel), true);
}

}  // namespace tandrel
