#include "app/DownloadDialog.h"
#include "plan/BuildDownloadList.h"
#include "plan/SortDownloadList.h"
#include "ui/ControlIds.h"
#include "usb/BannerTexts.h"
#include "usb/Timers.h"

namespace tandrel {

namespace {
constexpr int kResetPauseMs = 500;
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
    // The operator starts the files as they are now, whatever was refused before.
    imageLock = images.Take(downloadList);
    results.Started(downloadList, imageLock);
    for (int n = 1; n <= ChannelTable::channelCount; ++n) channelTable.Record(n)->refusedImage.clear();
    const bool usb = display.IsUsbMode();
    if (usb) {
        SetScanTimer(loop);
        for (int n = 1; n <= channelCount; ++n) display.SetChannelStatus(n, "Wait for USB");
    }
    display.SetBanner(kSearchingForChannels, true);
    if (!usb) ArmCommChannels();
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
    scanTick.ForgetRefusedPhones();
    display.SetBanner(kSystemReset, true);
}

}  // namespace tandrel
