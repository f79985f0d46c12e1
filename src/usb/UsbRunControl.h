#pragma once

#include "channels/RunControl.h"
#include "platform/WindowLoop.h"
#include "results/ResultDesk.h"
#include "usb/DevicePathTable.h"
#include "usb/UnplugQueue.h"

namespace tandrel {

// Run control in USB mode, as the channel engine sees it: a channel that
// waits for its unplug joins the UnplugQueue, and scanning runs to notice
// the phone go. A run that ends in COMM mode has its result at once.
class UsbRunControl : public RunControl {
public:
    UsbRunControl(WindowLoop& loop, DevicePathTable& devicePaths, UnplugQueue& unplugQueue, ResultDesk& results);

    // Forgets the channel's device path, so that every pass reports the phone
    // while it is still there, queues the channel and restarts the ScanTimer.
    void ChannelAwaitsUnplug(int channel) override;
    void ChannelRunEnded(const ChannelRecord& record) override;

private:
    WindowLoop& loop_;
    DevicePathTable& devicePaths_;
    UnplugQueue& unplugQueue_;
    ResultDesk& results_;
};

}  // namespace tandrel
