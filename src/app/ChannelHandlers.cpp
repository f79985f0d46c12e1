#include "app/DownloadDialog.h"
#include "ui/ControlIds.h"

namespace tandrel {

// Stop n: this run can no longer count as a success, whatever stage it had reached.
void DownloadDialog::OnStop(int channel) {
    ChannelRecord* record = channelTable.Record(channel);
    if (!record) return;
    record->succeeded = false;
    engine.HandleChannelEvent(ChannelEventKind::AbortRequested, channel, "");
    display.EnableControl(StopButtonId(channel), false);
    display.EnableControl(IDC_START, true);
}

}  // namespace tandrel
