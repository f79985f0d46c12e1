#pragma once

#include <string_view>

namespace tandrel {

// Where the phones' device instances are found: the enumeration key has one
// subkey per instance, and each instance's "Device Parameters" key holds the
// "CreateFileName" text naming the phone's port (USB3 for device 3).
inline constexpr std::string_view kPhoneEnumerationKey = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_058b&Pid_0041";
inline constexpr std::string_view kDeviceParametersKey = "Device Parameters";
inline constexpr std::string_view kCreateFileNameValue = "CreateFileName";

}  // namespace tandrel
