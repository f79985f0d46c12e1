#include "usb/UsbRunControl.h"

#include <cstdint>

#include "usb/Timers.h"

namespace tandrel {

UsbRunControl::UsbRunControl(WindowLoop& loop, DevicePathTable& devicePaths, UnplugQueue& unplugQueue,
                             ResultDesk& results)
    : loop_(loop), devicePaths_(devicePaths), unplugQueue_(unplugQueue), results_(results) {}

void UsbRunControl::ChannelAwaitsUnplug(int channel) {
    devicePaths_.ForgetDevicePath(channel);
    unplugQueue_.Append(static_cast<std::int8_t>(channel));
    SetScanTimer(loop_);
}

void UsbRunControl::ChannelRunEnded(const ChannelRecord& record) { results_.Finished(record, record.succeeded); }

}  // namespace tandrel
