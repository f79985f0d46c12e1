#include "results/ResultDesk.h"

#include "library/LibraryText.h"
#include "plan/ImageBook.h"
#include "ui/ControlIds.h"
#include "ui/Journal.h"

namespace tandrel {

ResultDesk::ResultDesk(DeskContext context, StationIdentity identity, StoreWriter* writer)
    : ctx_(context), identity_(std::move(identity)), writer_(writer) {}

void ResultDesk::Started(const DownloadList& list, const ImageSnapshot& snapshot) {
    runUuid_ = NewUuid();
    if (!writer_) return;
    RunRecord run;
    run.uuid = runUuid_;
    run.station = identity_.name;
    run.startedMs = ctx_.clock.UtcMs();
    run.mode = ctx_.display.IsUsbMode() ? "USB" : "COMM";
    for (int i = 0; i < list.count && i < kMaxDownloadItems; ++i) {
        run.fileSpecs.push_back(FromLibraryText(list.items[i].fileSpec));
    }
    for (const SnapshotImage& file : snapshot.images) {
        RunImage image;
        image.path = file.source;
        image.size = file.seenAtStart.size;
        image.modified = file.seenAtStart.modified;
        image.volume = file.seenAtStart.volume;
        image.fileId = file.seenAtStart.fileId;
        image.sha256 = snapshot.Sha256Of(file.source);
        run.images.push_back(std::move(image));
    }
    writer_->Hand(std::move(run));
}

void ResultDesk::Armed(const ChannelRecord& record, std::string devicePath) {
    Run& run = runs_[static_cast<std::size_t>(record.channel)];
    run = Run{};
    run.runUuid = runUuid_;
    run.mode = ctx_.display.IsUsbMode() ? "USB" : "COMM";
    run.devicePath = std::move(devicePath);
    run.armedAt = ctx_.loop.Now();
    run.armedMs = ctx_.clock.UtcMs();
}

void ResultDesk::StateChanged(int channel, ChannelState state) {
    if (state != ChannelState::WaitPeers || channel < 1 || channel > ChannelTable::channelCount) return;
    runs_[static_cast<std::size_t>(channel)].itemsDoneMs = ctx_.clock.UtcMs();
}

void ResultDesk::Unplugged(int channel) {
    Run& run = runs_[static_cast<std::size_t>(channel)];
    run.rowText = ctx_.display.Controls().GetText(StatusLabelId(channel));
    run.unpluggedAt = ctx_.loop.Now();
    run.unpluggedMs = ctx_.clock.UtcMs();
}

void ResultDesk::Finished(const ChannelRecord& record, bool success, std::string_view reason) {
    const Run& run = runs_[static_cast<std::size_t>(record.channel)];
    ResultRecord r;
    r.uuid = NewUuid();
    r.station = identity_.name;
    r.runUuid = run.runUuid;
    r.mode = run.mode;
    r.channel = record.channel;
    r.device = record.deviceNumber;
    r.devicePath = run.devicePath;
    r.success = success;
    if (!success) FillFailure(record, r);
    if (!success) r.reason = reason.empty() ? record.failReason : std::string(reason);
    r.rowText = run.unpluggedAt ? run.rowText : ctx_.display.Controls().GetText(StatusLabelId(record.channel));
    FillImages(record, r);
    r.libraryVersion = libraryVersion_;
    r.stationVersion = identity_.version;
    r.armedMs = run.armedMs;
    r.itemsDoneMs = run.itemsDoneMs;
    r.unpluggedMs = run.unpluggedMs;
    r.resultMs = ctx_.clock.UtcMs();
    r.durationMs = (run.unpluggedAt ? run.unpluggedAt : ctx_.loop.Now()) - run.armedAt;
    Journal(r);
    if (observer_) observer_(r);
    if (writer_) writer_->Hand(std::move(r));
}

void ResultDesk::FillFailure(const ChannelRecord& record, ResultRecord& out) const {
    // A phone refused before its run began failed where it stood.
    const bool noted = !record.failStage.empty();
    out.failStage = noted ? record.failStage : std::string(StateName(record.state.load()));
    out.failText = noted ? record.failText : ctx_.display.Controls().GetText(StatusLabelId(record.channel));
    if (record.armedList && record.failItem >= 0 && record.failItem < record.armedList->Count()) {
        out.failItem = FromLibraryText(record.armedList->Item(record.failItem).fileSpec);
    }
}

// The images are those the phone took in full, from the list it was armed
// with: all of them after a success. Each file's hash is that of the copy
// Start took, the only bytes the phone was ever handed.
void ResultDesk::FillImages(const ChannelRecord& record, ResultRecord& out) const {
    if (!record.armedList) return;
    const ArmedList& armed = *record.armedList;
    // The specs are in the library's encoding; records are UTF-8.
    for (const std::string& spec : armed.FileSpecs(record.itemsReceived)) out.images.push_back(FromLibraryText(spec));
    for (std::size_t i = 0; i < out.images.size(); ++i) {
        const std::string path = ImageBook::PathOf(armed.Item(static_cast<int>(i)));
        if (!armed.images) out.sha256.emplace_back();
        else out.sha256.push_back(armed.images->Sha256Of(path));
    }
}

void ResultDesk::Journal(const ResultRecord& r) {
    tandrel::Journal* journal = ctx_.display.GetJournal();
    if (!journal) return;
    journal->Result(r.channel, r.device, r.success, r.images, r.sha256, r.durationMs, r.uuid, r.reason);
}

}  // namespace tandrel
