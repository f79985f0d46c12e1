#pragma once

#include <array>
#include <string_view>

#include "usb/ScanTick.h"

namespace tandrel::test {

// Every text a channel's status row can show. A text added to the station's
// rows belongs here, so that it is measured against its label.
inline const std::array<std::string_view, 36> kRowTexts = {
    "READY", "Restart", "Wait for USB", "Please wait...", "USB detected", "Can't open port", "Booting...",
    "Setup error. Can't boot", "Boot Failed", "Downloading NAND PSI", "Downloading NAND SLB", "Downloading FLS",
    "Downloading Customization", "Downloading EEPROM", "Downloading DFFS", "Downloading DSP", "Downloading DFAT",
    "Failed (NAND PSI)", "Failed (NAND SLB)", "Failed (FLS)", "Failed (EEP)", "Failed (DSP)", "Failed (DFFS/DFAT)",
    "Failed (Cust.)", "Wait DL complete", "Done", "Done, Disconnect the phone", "Error, Disc the phone",
    "Abort, Disc the phone", "USB disconnected", "Success", "Fail", "Wait for images", "No images, press Start",
    "List is empty", kPhoneOnFinishedText,
};

}  // namespace tandrel::test
