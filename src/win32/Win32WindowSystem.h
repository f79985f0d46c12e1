#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/WindowSystem.h"
#include "win32/DialogHandle.h"
#include "win32/Screenshot.h"
#include "win32/Win32Controls.h"
#include "win32/Win32WindowLoop.h"

namespace tandrel {

// The main window on the Windows API: a dialog made from the main template
// in memory (CreateDialogIndirectParamW), hidden until Show, with the About
// entry in its system menu and the program's icon. Its own message loop runs
// until the window is closed; dialog keys (Tab, arrows, Esc) work as in any
// dialog. No push button is ever the default: Enter clicks the push button
// that has the focus and does nothing anywhere else.
class Win32WindowSystem : public WindowSystem {
public:
    // instance: the module whose resources (icon, About text) the window
    // shows; the program's own unless told otherwise.
    explicit Win32WindowSystem(HINSTANCE instance = GetModuleHandleW(nullptr));
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    DialogControls& Controls() override { return controls_; }
    WindowLoop& Loop() override { return loop_; }
    void Show() override;
    void RunUntilClosed() override;
    // The window as it is, or as it was when it closed.
    bool SaveScreenshot(const std::string& file, std::string& error) override;

    HWND Dialog() const { return dialog_; }
    bool IsClosed() const { return Dialog() == nullptr; }
    // Handles what is waiting in the window thread's queue, then returns.
    void RunPending();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit(HWND dialog);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    INT_PTR OnSysCommand(WPARAM wParam);
    bool PaintMinimised();
    bool Dispatch(MSG& message);
    // Keeps a picture of the window for the screenshot, then destroys it.
    void Close();

    HINSTANCE instance_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    // Made before, and gone after, the loop and the controls that ask it.
    DialogHandle dialog_;
    Win32WindowLoop loop_;
    Win32Controls controls_;
    Picture lastPicture_;
};

}  // namespace tandrel
