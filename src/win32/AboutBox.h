#pragma once

#include "platform/win32/WindowsApi.h"

namespace tandrel {

// The About box of the About template, modal over owner: OK, Esc or its
// close box end it.
void RunAboutBox(HINSTANCE instance, HWND owner);

}  // namespace tandrel
