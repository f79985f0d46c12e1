#pragma once

#include <array>
#include <cstddef>

#include "platform/DialogTemplate.h"

namespace tandrel {

constexpr int kMainDialogId = 102;
constexpr int kAboutDialogId = 100;
constexpr int kAppIconId = 128;
constexpr int kPortHealthDialogId = 103;

constexpr ControlId IDC_EVENT_LOG = 1000;
constexpr ControlId IDC_COMM_NUMBER = 1019;
constexpr ControlId IDC_DRIVER = 1020;
constexpr ControlId IDC_OPEN_FILE = 1021;
constexpr ControlId IDC_START = 1022;
constexpr ControlId IDC_CONTAINER_PATH = 1026;
constexpr ControlId IDC_RESET = 1044;
constexpr ControlId IDC_STATUS_BANNER = 1046;
constexpr ControlId IDOK_ABOUT = 1;

// The "Driver" box is sorted: "COMM" is entry 0 and "USB" entry 1.
constexpr int kDriverComm = 0;
constexpr int kDriverUsb = 1;

// The About and "Port health..." entries of the window's menu.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDM_PORTHEALTH = 0x0030;

constexpr int kSlotCount = 7;

// The window has a row per channel 1..kChannelRows: a status label, a
// progress bar and a Stop button.
constexpr int kChannelRows = 8;

namespace channel_rows {
using Ids = std::array<ControlId, kChannelRows>;
constexpr Ids kStatusLabels = {1023, 1024, 1032, 1035, 1030, 1027, 1038, 1041};
constexpr Ids kProgressBars = {1001, 1003, 1034, 1037, 1025, 1029, 1040, 1043};
constexpr Ids kStopButtons = {1004, 1002, 1033, 1036, 1031, 1028, 1039, 1042};

constexpr ControlId Of(const Ids& ids, int channel) {
    return channel >= 1 && channel <= kChannelRows ? ids[static_cast<std::size_t>(channel - 1)] : kNoId;
}
}  // namespace channel_rows

// The controls of channel 1..8; kNoId for any other number.
constexpr ControlId StatusLabelId(int channel) { return channel_rows::Of(channel_rows::kStatusLabels, channel); }
constexpr ControlId ProgressId(int channel) { return channel_rows::Of(channel_rows::kProgressBars, channel); }
constexpr ControlId StopButtonId(int channel) { return channel_rows::Of(channel_rows::kStopButtons, channel); }

// The port-health window: port 1..8's line and its "Cleared" button; OK ends it.
constexpr ControlId PortHealthLineId(int port) { return 2000 + port; }
constexpr ControlId PortClearedId(int port) { return 2010 + port; }
constexpr int PortOfClearedButton(ControlId id) { return id > 2010 && id <= 2010 + kChannelRows ? id - 2010 : 0; }
constexpr ControlId IDOK_PORT_HEALTH = DialogControls::kOkButton;

// Image slot k = 0..6: check box 1005 + 2k, path field 1006 + 2k.
constexpr ControlId SlotCheckBoxId(int k) { return 1005 + 2 * k; }
constexpr ControlId SlotPathId(int k) { return 1006 + 2 * k; }

// The channel whose Stop button this is, or 0.
int ChannelOfStopButton(ControlId id);
// The slot whose check box this is, or -1.
int SlotOfCheckBox(ControlId id);

}  // namespace tandrel
