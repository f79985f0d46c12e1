#include "app/DownloadDialog.h"
#include "plan/BuildDownloadList.h"
#include "plan/SortDownloadList.h"
#include "ui/ControlIds.h"
#include "usb/BannerTexts.h"
#include "usb/Timers.h"

namespace tandrel {

namespace {
constexpr int kResetPauseMs = 500;
constexpr const char* kClosedDuringDownload = "station closed during download";

std::string ChannelList(const std::vector<int>& channels) {
    std::string list;
    for (int n : channels) list += (list.empty() ? "" : ", ") + std::to_string(n);
    return list;
}
}  // namespace

void DownloadDialog::OnTimer(int timerId) { scanTick.OnTimer(timerId); }

void DownloadDialog::OnStart() {
    UpdateData(true);
    display.EnableControl(IDC_START, false);
    display.EnableControl(IDC_OPEN_FILE, false);
    for (int n = 1; n <= channelCount; ++n) display.EnableControl(StopButtonId(n), true);
    for (int n = 1; n <= channelCount; ++n) display.SetChannelProgress(n, 0);
    display.ClearLog();
    BuildDownloadList(PlanContext{imageSlots, downloadList, controls, libraryTable, display});
    SortDownloadList(downloadList);
    for (int n = 1; n <= ChannelTable::channelCount; ++n) channelTable.Record(n)->heldForImages.clear();
    if (const std::vector<std::string> unusable = images.UnusableFiles(downloadList); !unusable.empty()) {
        std::string why = "Start refused: no phone can be written from";
        for (const std::string& file : unusable) why += "\n" + file;
        return RefuseStart(why);
    }
    // The operator starts the files as they are now: phones get copies of them.
    images.TakeSnapshot(downloadList, [this](const ImageSnapshot& snapshot) { OnImagesTaken(snapshot); });
    const bool usb = display.IsUsbMode();
    if (usb) {
        SetScanTimer(loop);
        // A phone plugged now fails at once; the operator sees why before.
        const char* row = downloadList.count > 0 ? "Wait for USB" : "List is empty";
        for (int n = 1; n <= channelCount; ++n) display.SetChannelStatus(n, row);
    }
    display.SetBanner(kSearchingForChannels, true);
    if (images.Current()->state != SnapshotState::Taking) OnImagesTaken(*images.Current());
}

// Nothing is armed from a refused Start; the operator may choose other files
// and start again.
void DownloadDialog::RefuseStart(const std::string& why) {
    images.RefuseStart(why);
    display.AppendLog(why);
    display.EnableControl(IDC_OPEN_FILE, true);
    display.EnableControl(IDC_START, true);
    controls.MessageBox(why);
}

// COMM channels start once there is something to write them from.
void DownloadDialog::OnImagesTaken(const ImageSnapshot& snapshot) {
    if (snapshot.state == SnapshotState::Failed) return RefuseStart("Start refused: " + snapshot.failure);
    results.Started(downloadList, snapshot);
    portWatch.Started();
    if (!display.IsUsbMode()) ArmCommChannels();
}

// With no USB scan in COMM mode, Start hands every idle channel n the port
// COM<n> and starts it as if a phone had been found there.
void DownloadDialog::ArmCommChannels() {
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        ChannelRecord* record = channelTable.Record(n);
        if (!record || record->portOpen || record->state.load() != ChannelState::Ready) continue;
        record->deviceNumber = n;
        results.Armed(*record, "COM" + std::to_string(n));
        engine.HandleChannelEvent(ChannelEventKind::DeviceDetected, n, "");
    }
}

void DownloadDialog::OnReset() {
    controls.MessageBox(kUnplugAllPhones);
    KillScanTimer(loop);
    UpdateData(true);
    display.ShowReadyRows();
    display.EnableControl(IDC_START, true);
    for (int n = 1; n <= channelCount; ++n) display.EnableControl(StopButtonId(n), true);
    for (int n = 1; n <= channelCount; ++n) display.SetChannelProgress(n, 0);
    display.ClearLog();
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        ChannelRecord* record = channelTable.Record(n);
        if (!record) continue;
        // What the library reports for this channel from now on, while Reset
        // pauses or after, belongs to no run.
        record->EndSession();
        if (record->portOpen) engine.CloseChannelPort(record);
        channelTable.SetState(*record, ChannelState::Ready);
        KillResultTimer(loop, n);
        display.SetChannelStatus(n, "Restart");
        loop.Pause(kResetPauseMs);
    }
    display.ClearLog();
    unplugQueue.RemoveAll();
    devicePaths.ClearDevicePaths();
    scanTick.Reset();
    display.SetBanner(kSystemReset, true);
}

}  // namespace tandrel

namespace tandrel {

// A phone whose port is open and whose run has not ended: closing now leaves
// it half written.
std::vector<int> DownloadDialog::ChannelsBeingWritten() const {
    std::vector<int> writing;
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        const ChannelRecord* record = channelTable.Record(n);
        if (!record || !record->portOpen) continue;
        const ChannelState state = record->state.load();
        if (state != ChannelState::Ready && state != ChannelState::WaitUnplug && state != ChannelState::Completed) {
            writing.push_back(n);
        }
    }
    return writing;
}

// The library is told to stop, so that no phone is still being written by
// it while the program ends.
bool DownloadDialog::OnClose(bool operatorAsked) {
    if (closing_) return true;
    const std::vector<int> writing = ChannelsBeingWritten();
    if (!writing.empty() && operatorAsked &&
        !controls.AskYesNo(std::to_string(writing.size()) + " phones are being written. Close anyway?")) {
        return false;
    }
    closing_ = true;
    if (writing.empty()) return true;
    for (int n : writing) {
        ChannelRecord& record = *channelTable.Record(n);
        record.EndSession();
        libraryMessage.Clear();
        if (libraryTable.abort_process) libraryTable.abort_process(LibraryChannel(record), libraryMessage.text);
        engine.CloseChannelPort(&record);
        results.Finished(record, false, kClosedDuringDownload);
    }
    display.AppendLog("Station closed during download: channel " + ChannelList(writing) + " recorded as Fail");
    return true;
}

}  // namespace tandrel
