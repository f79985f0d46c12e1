#include "win32/SmallDialog.h"

#include "platform/win32/WideText.h"
#include "win32/DialogBytes.h"

namespace tandrel {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 1000;

struct Open {
    const std::function<DialogControls::DialogTexts()>& texts;
    const DialogControls::CommandHandler& onClick;
};

void Fill(HWND dialog, const Open& open) {
    for (const auto& [id, text] : open.texts()) SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

INT_PTR CALLBACK SmallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Fill(dialog, *reinterpret_cast<const Open*>(lParam));
        SetTimer(dialog, kRefreshTimer, kRefreshMs, nullptr);
        return TRUE;
    }
    const auto* open = reinterpret_cast<const Open*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!open) return FALSE;
    if (message == WM_TIMER && wParam == kRefreshTimer) {
        Fill(dialog, *open);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == DialogControls::kOkButton || id == IDCANCEL) {
        KillTimer(dialog, kRefreshTimer);
        EndDialog(dialog, id);
    } else if (HIWORD(wParam) == BN_CLICKED && open->onClick) {
        open->onClick(id);
        Fill(dialog, *open);
    }
    return TRUE;
}

}  // namespace

void RunSmallDialog(HINSTANCE instance, HWND owner, const DialogTemplate& dialog,
                    const std::function<DialogControls::DialogTexts()>& texts,
                    const DialogControls::CommandHandler& onClick) {
    const std::vector<std::uint16_t> bytes =
        BuildDialogBytes(dialog, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    const Open open{texts, onClick};
    DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner, SmallDialogProc,
                            reinterpret_cast<LPARAM>(&open));
}

}  // namespace tandrel
