#pragma once

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <vector>

#include "platform/DialogTemplate.h"

namespace tandrel {

// A dialog template as the Windows dialog manager takes it in memory
// (DLGTEMPLATE and its items), built from the template data: ids, kinds,
// captions, styles, rectangles in dialog units and tab order as the data
// gives them, and the data's font. dialogStyle and dialogExStyle are the
// window's own frame; DS_SETFONT is added. Combo box items are not part of
// an in-memory template: FillComboItems adds them once the dialog exists.
std::vector<std::uint16_t> BuildDialogBytes(const DialogTemplate& dialog, DWORD dialogStyle, DWORD dialogExStyle);

// The window style and extended style a control of the template gets.
DWORD ControlStyle(const ControlTemplate& control);
DWORD ControlExStyle(const ControlTemplate& control);

// Adds every combo box's items in the template's order; a sorted box
// sorts them itself.
void FillComboItems(HWND dialog, const DialogTemplate& data);

}  // namespace tandrel
