#include "ui/Templates.h"

#include "TandrelVersion.h"
#include "ui/ControlIds.h"

namespace tandrel {

namespace {

using K = ControlKind;

constexpr std::uint32_t kLabel = kCentred | kSunken;
constexpr std::uint32_t kSlotCheck = kAutoCheckBox | kCentred | kSunken;
constexpr std::uint32_t kSlotEdit = kBorder | kAutoHScroll;

ControlTemplate Ctl(ControlId id, K kind, std::string_view caption, DialogRect r, std::uint32_t styles = 0) {
    return ControlTemplate{id, kind, caption, r, styles, {}};
}

DialogTemplate MakeMain() {
    DialogTemplate d{102, "Tandrel_V10_20101013", 434, 349, "MS Sans Serif", 8, {}};
    auto& c = d.controls;
    c.push_back(Ctl(1000, K::ListBox, "", {7, 236, 420, 106}, kBorder | kVScroll | kSorted | kNoIntegralHeight));
    c.push_back(Ctl(1001, K::ProgressBar, "", {105, 129, 274, 13}, kBorder));
    c.push_back(Ctl(1024, K::StaticText, "", {7, 142, 97, 13}, kLabel));
    c.push_back(Ctl(1002, K::PushButton, "Stop 2", {380, 141, 47, 13}));
    c.push_back(Ctl(1003, K::ProgressBar, "", {105, 142, 274, 13}, kBorder));
    c.push_back(Ctl(1023, K::StaticText, "", {7, 128, 97, 14}, kLabel));
    c.push_back(Ctl(1004, K::PushButton, "Stop 1", {380, 128, 47, 13}));
    const int slotY[] = {55, 69, 83, 97, 111};
    for (int k = 0; k < 5; ++k) {
        c.push_back(Ctl(1005 + 2 * k, K::CheckBox, "", {7, slotY[k], 62, 13}, kSlotCheck));
        c.push_back(Ctl(1006 + 2 * k, K::Edit, "", {70, slotY[k] - 1, 357, 14}, kSlotEdit));
    }
    c.push_back(Ctl(1015, K::CheckBox, "", {7, 292, 62, 13}, kAutoCheckBox | kHidden));
    c.push_back(Ctl(1016, K::Edit, "", {70, 291, 357, 14}, kHidden));
    c.push_back(Ctl(1017, K::CheckBox, "", {7, 306, 62, 13}, kAutoCheckBox | kHidden));
    c.push_back(Ctl(1018, K::Edit, "", {70, 305, 357, 14}, kHidden));
    c.push_back(Ctl(kNoId, K::StaticText, "Comm", {7, 7, 62, 13}, kLabel));
    c.push_back(Ctl(1019, K::Edit, "", {70, 7, 62, 13}, kBorder));
    ControlTemplate driver = Ctl(1020, K::ComboBox, "", {69, 21, 62, 43}, kDropDown | kSorted | kVScroll);
    driver.items = {"USB", "COMM"};
    c.push_back(driver);
    c.push_back(Ctl(kNoId, K::StaticText, "Driver", {7, 21, 62, 13}, kLabel));
    c.push_back(Ctl(1021, K::PushButton, "Open file", {135, 7, 43, 27}));
    c.push_back(Ctl(1022, K::PushButton, "Start", {180, 7, 41, 27}));
    c.push_back(Ctl(kNoId, K::StaticText, "ALL file", {7, 40, 62, 13}, kLabel));
    c.push_back(Ctl(1026, K::StaticText, "", {70, 40, 357, 13}, kSunken));
    c.push_back(Ctl(1032, K::StaticText, "", {7, 155, 97, 13}, kLabel));
    c.push_back(Ctl(1033, K::PushButton, "Stop 3", {380, 155, 47, 13}));
    c.push_back(Ctl(1034, K::ProgressBar, "", {105, 155, 274, 13}, kBorder));
    c.push_back(Ctl(1035, K::StaticText, "", {7, 168, 97, 13}, kLabel));
    c.push_back(Ctl(1036, K::PushButton, "Stop 4", {380, 169, 47, 13}));
    c.push_back(Ctl(1037, K::ProgressBar, "", {105, 168, 274, 13}, kBorder));
    c.push_back(Ctl(1025, K::ProgressBar, "", {105, 182, 274, 13}, kBorder));
    c.push_back(Ctl(1027, K::StaticText, "", {7, 195, 97, 13}, kLabel));
    c.push_back(Ctl(1028, K::PushButton, "Stop 6", {380, 196, 47, 13}));
    c.push_back(Ctl(1029, K::ProgressBar, "", {105, 195, 274, 13}, kBorder));
    c.push_back(Ctl(1030, K::StaticText, "", {7, 181, 97, 14}, kLabel));
    c.push_back(Ctl(1031, K::PushButton, "Stop 5", {380, 183, 47, 13}));
    c.push_back(Ctl(1038, K::StaticText, "", {7, 208, 97, 13}, kLabel));
    c.push_back(Ctl(1039, K::PushButton, "Stop 7", {380, 209, 47, 13}));
    c.push_back(Ctl(1040, K::ProgressBar, "", {105, 208, 274, 13}, kBorder));
    c.push_back(Ctl(1041, K::StaticText, "", {7, 221, 97, 13}, kLabel));
    c.push_back(Ctl(1042, K::PushButton, "Stop 8", {380, 222, 47, 13}));
    c.push_back(Ctl(1043, K::ProgressBar, "", {105, 221, 274, 13}, kBorder));
    c.push_back(Ctl(1044, K::PushButton, "Reset", {223, 7, 41, 27}));
    c.push_back(Ctl(1046, K::StaticText, "", {265, 7, 162, 27}, kLabel));
    return d;
}

DialogTemplate MakeAbout() {
    DialogTemplate d{100, "About Tandrel", 235, 55, "MS Sans Serif", 8, {}};
    auto& c = d.controls;
    c.push_back(Ctl(kNoId, K::Icon, "128", {11, 17, 20, 20}));
    c.push_back(Ctl(kNoId, K::StaticText, "Tandrel Version " TANDREL_VERSION, {40, 10, 119, 8}, kNoPrefix));
    c.push_back(Ctl(kNoId, K::StaticText, "Firmware download station", {40, 25, 119, 8}));
    c.push_back(Ctl(1, K::PushButton, "OK", {178, 7, 50, 14}, kDefaultButton));
    return d;
}

// A line per port, its "Cleared" button beside it, OK below.
DialogTemplate MakePortHealth() {
    DialogTemplate d{kPortHealthDialogId, "Port health", 520, 142, "MS Sans Serif", 8, {}};
    auto& c = d.controls;
    for (int port = 1; port <= kChannelRows; ++port) {
        const int y = 7 + 14 * (port - 1);
        c.push_back(Ctl(PortHealthLineId(port), K::StaticText, "", {7, y + 2, 456, 10}, kNoPrefix));
        c.push_back(Ctl(PortClearedId(port), K::PushButton, "Cleared", {467, y, 46, 13}));
    }
    c.push_back(Ctl(IDOK_PORT_HEALTH, K::PushButton, "OK", {467, 121, 46, 14}, kDefaultButton));
    return d;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate t = MakeMain();
    return t;
}

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate t = MakeAbout();
    return t;
}

const DialogTemplate& PortHealthDialogTemplate() {
    static const DialogTemplate t = MakePortHealth();
    return t;
}

}  // namespace tandrel
