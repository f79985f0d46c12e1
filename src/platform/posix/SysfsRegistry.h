#pragma once

#include <string>
#include <string_view>

#include "platform/DeviceRegistry.h"

namespace tandrel {

// The phones as the Linux kernel shows them. The enumeration key lists the
// USB devices under ROOT/bus/usb/devices whose idVendor is 058b and idProduct
// 0041, by kernel name ("1-1.3"), in byte order. An instance's
// "CreateFileName" is USB followed by the last port number of that name, so
// the phone in port 3 of the station's hub is device 3. No other key exists.
class SysfsRegistry : public DeviceRegistry {
public:
    explicit SysfsRegistry(const std::string& root);

    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override;
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer,
                    std::size_t size) const override;

private:
    // The folder of the USB devices, with its trailing slash.
    std::string devices_;
};

// A USB device's kernel name: bus, "-", then port numbers joined by "."
// ("1-1.3"). Root hubs ("usb1") and interfaces ("1-1.3:1.0") are not.
bool IsUsbDeviceName(std::string_view name);

// The last port number of a USB device's kernel name ("3" of "1-1.3").
std::string_view LastPortNumber(std::string_view name);

}  // namespace tandrel
