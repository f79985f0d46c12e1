#include <string>

#include "channels/ChannelEngine.h"
#include "ui/ControlIds.h"

namespace tandrel {

// A run starts from Ready: it walks the list as it is now, to its end, and
// only what the library reports from now on belongs to it.
void ChannelEngine::ArmChannel(ChannelRecord& record) {
    record.armedList = ArmWith(ctx_.downloadList, ctx_.images.Current());
    record.itemsReceived = 0;
    record.failReason.clear();
    record.failStage.clear();
    record.failItem = -1;
    record.failText.clear();
    record.BeginSession();
}

// A phone is only ever written from the copies the last Start took of the
// chosen files. While they are being made the phone waits where it is, and
// is armed at the first report once they are in; when they could not be
// made it is not armed before the next Start. The row says why once,
// however often the phone is reported.
bool ChannelEngine::HoldForImages(ChannelRecord& record) {
    const std::shared_ptr<const ImageSnapshot> snapshot = ctx_.images.Current();
    const SnapshotState state = snapshot ? snapshot->state : SnapshotState::Taken;
    if (state == SnapshotState::Taken) {
        record.heldForImages.clear();
        TellChangedSources();
        return false;
    }
    if (state == SnapshotState::Taking) {
        HoldPhone(record, "Wait for images", false);
    } else {
        HoldPhone(record, "No images, press Start", true);
    }
    return true;
}

void ChannelEngine::HoldPhone(ChannelRecord& record, const std::string& rowText, bool red) {
    if (record.heldForImages == rowText) return;
    if (red) ctx_.display.Label(record.channel).SetBkColor(kRed);
    ctx_.display.SetChannelStatus(record.channel, rowText);
    record.heldForImages = rowText;
}

// A new build on disk reaches no phone of this Start; the operator decides
// when it should.
void ChannelEngine::TellChangedSources() {
    for (const std::string& path : ctx_.images.NewlyChangedSources()) {
        ctx_.display.AppendLog(path +
                               " changed on disk since Start; phones still get the build taken at Start \xE2\x80\x94 "
                               "press Start to take the new one");
    }
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
    const std::string path(record.armedList->Written().FirstItemPath());
    // A phone is not left waiting on a run that cannot begin: it fails, and
    // its result says why. A Stop on an idle channel has no phone to fail.
    if (path.empty() && !record.portOpen) {
        ctx_.display.SetChannelStatus(record.channel, "Setup error. Can't boot");
        return;
    }
    if (path.empty()) {
        record.failReason = "the image list is empty";
        return FailChannel(record, "Setup error. Can't boot", "Nothing to download: the image list is empty.");
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
