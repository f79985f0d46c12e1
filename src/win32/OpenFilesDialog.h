#pragma once

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tandrel {

// The system's file-open dialog, explorer style, several files allowed, all
// files listed. The chosen paths in UTF-8, whatever their length (no
// 260-character limit); nothing when the operator cancelled or it failed.
std::optional<std::vector<std::string>> ChooseFiles(HWND owner);

// The paths in a multiple-selection result: one full path, or a folder
// followed by names, each ended by a NUL, the whole by a second NUL.
std::vector<std::wstring> SplitSelection(const wchar_t* buffer, std::size_t size);

}  // namespace tandrel
