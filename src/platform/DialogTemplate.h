#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/DialogControls.h"

namespace tandrel {

constexpr ControlId kNoId = -1;

enum class ControlKind { PushButton, CheckBox, Edit, ComboBox, ListBox, ProgressBar, StaticText, Icon };

// Style flags of a control in a dialog template.
enum ControlStyle : std::uint32_t {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kSorted = 1u << 2,
    kSunken = 1u << 3,
    kCentred = 1u << 4,
    kAutoCheckBox = 1u << 5,
    kDropDown = 1u << 6,
    kBorder = 1u << 7,
    kVScroll = 1u << 8,
    kAutoHScroll = 1u << 9,
    kNoPrefix = 1u << 10,
    kDefaultButton = 1u << 11,
    kNoIntegralHeight = 1u << 12,
};

// A rectangle in dialog units: x, y, width, height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    ControlId id = kNoId;
    ControlKind kind = ControlKind::StaticText;
    std::string_view caption;
    DialogRect rect;
    std::uint32_t styles = 0;
    // Initial items of a combo box, in the template's order (before sorting).
    std::vector<std::string_view> items;

    bool Has(ControlStyle s) const { return (styles & s) != 0; }
};

// A dialog: caption, size in dialog units, font, and the controls in
// template order, which is also their tab order.
struct DialogTemplate {
    int id = 0;
    std::string_view caption;
    int width = 0;
    int height = 0;
    std::string_view fontFace;
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Find(ControlId controlId) const;
};

}  // namespace tandrel
