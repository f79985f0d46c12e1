#include "usb/UsbRunControl.h"

#include <cstdint>

#include "usb/Timers.h"

namespace tandrel {

UsbRunControl::UsbRunControl(WindowLoop& loop, DevicePathTable& devicePaths, UnplugQueue& unplugQueue)
    : loop_(loop), devicePaths_(devicePaths), unplugQueue_(unplugQueue) {}

void UsbRunControl::ChannelAwaitsUnplug(int channel) {
    devicePaths_.ForgetDevicePath(channel);
    unplugQueue_.Append(static_cast<std::int8_t>(channel));
    SetScanTimer(loop_);
}

}  // namespace tandrel
