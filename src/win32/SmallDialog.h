#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/DialogControls.h"
#include "platform/DialogTemplate.h"

namespace tandrel {

// A small modal window of the station's over owner, built from dialog (see
// DialogControls::ShowSmallDialog): texts fill it when it opens, after each
// click and every second; OK, Esc or its close box end it.
void RunSmallDialog(HINSTANCE instance, HWND owner, const DialogTemplate& dialog,
                    const std::function<DialogControls::DialogTexts()>& texts,
                    const DialogControls::CommandHandler& onClick);

}  // namespace tandrel
