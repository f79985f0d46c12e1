#include "win32/AboutBox.h"

#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "win32/DialogBytes.h"

namespace tandrel {

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK_ABOUT || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunAboutBox(HINSTANCE instance, HWND owner) {
    const std::vector<std::uint16_t> bytes =
        BuildDialogBytes(AboutDialogTemplate(), DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner, AboutProc, 0);
}

}  // namespace tandrel
