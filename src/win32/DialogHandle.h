#pragma once

#include "platform/win32/WindowsApi.h"

#include <atomic>

namespace tandrel {

// The main dialog's window handle, held here alone: the window system sets
// it when the dialog is made and clears it when the dialog is destroyed;
// the controls and the window loop ask it. Set on the window thread, read
// on any (a post's wake-up comes from the posting thread).
class DialogHandle {
public:
    HWND Get() const { return window_.load(); }
    // Reads as the handle it holds, null while there is no dialog.
    operator HWND() const { return Get(); }
    void Set(HWND dialog) { window_.store(dialog); }

private:
    std::atomic<HWND> window_ = nullptr;
};

}  // namespace tandrel
