#include "win32/Win32WindowSystem.h"

#include <commctrl.h>

#include "channels/ChannelEvent.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "win32/DialogBytes.h"
#include "win32/Screenshot.h"

namespace tandrel {

namespace {

// A popup with a caption and a close box, no minimise or maximise box,
// shown in the task bar.
constexpr DWORD kMainStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kMainExStyle = WS_EX_APPWINDOW;

// The entries' texts are string resources.
constexpr UINT kAboutEntryText = 101;
constexpr UINT kPortHealthEntryText = 102;

// An entry of the system menu after a separator; without its text there is none.
void AppendMenuEntry(HINSTANCE instance, HWND dialog, UINT textId, UINT commandId) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    wchar_t text[64] = {};
    if (!menu || LoadStringW(instance, textId, text, 64) <= 0) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, commandId, text);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance)
    : instance_(instance), loop_(dialog_), controls_(instance, dialog_) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                          GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    const std::vector<std::uint16_t> bytes = BuildDialogBytes(MainDialogTemplate(), kMainStyle, kMainExStyle);
    CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr, DialogProc,
                               reinterpret_cast<LPARAM>(this));
}

Win32WindowSystem::~Win32WindowSystem() {
    if (dialog_) DestroyWindow(dialog_);
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

INT_PTR CALLBACK Win32WindowSystem::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32WindowSystem*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->OnInit(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

void Win32WindowSystem::OnInit(HWND dialog) {
    dialog_.Set(dialog);
    FillComboItems(dialog, MainDialogTemplate());
    // "Port health..." beside About, each in a group of its own.
    AppendMenuEntry(instance_, dialog, kPortHealthEntryText, IDM_PORTHEALTH);
    AppendMenuEntry(instance_, dialog, kAboutEntryText, IDM_ABOUTBOX);
    if (icon_) SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    if (smallIcon_) SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    loop_.Attach();
}

INT_PTR Win32WindowSystem::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (loop_.Handle(message, wParam)) return TRUE;
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return TRUE;
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = controls_.OnColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return reinterpret_cast<INT_PTR>(brush);
            }
            return FALSE;
        case WM_PAINT:
            return PaintMinimised();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_CLOSE:
            // What closes a window from outside (taskkill); the close box
            // and Alt+F4 arrive as SC_CLOSE first.
            controls_.QueryClose(false);
            Close();
            return TRUE;
        case WM_DESTROY:
            loop_.Close();
            dialog_.Set(nullptr);
            return TRUE;
        default:
            break;
    }
    // The text of a WM_APPEND_LOG stays its sender's; it is only read here.
    if (message == WM_APPEND_LOG && lParam != 0) {
        WindowMessage log{WM_APPEND_LOG, std::make_unique<AppendLogText>(reinterpret_cast<const char*>(lParam))};
        loop_.Deliver(log);
        return TRUE;
    }
    return FALSE;
}

// Esc (Cancel) closes the window, as its close box does. The dialog's own
// OK, which Enter sends when no push button has the focus, does nothing.
void Win32WindowSystem::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const bool fromControl = lParam != 0;
    if (!fromControl) {
        if (id == IDCANCEL && controls_.QueryClose(true)) Close();
        return;
    }
    if (HIWORD(wParam) == BN_CLICKED) controls_.OnClicked(id);
}

INT_PTR Win32WindowSystem::OnSysCommand(WPARAM wParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (controls_.QueryClose(true)) Close();
        return TRUE;
    }
    // FALSE hands the command to the dialog's default handling.
    return controls_.OnSysCommand(static_cast<unsigned>(wParam)) ? FALSE : TRUE;
}

// A minimised window shows the program's icon in the middle of its client area.
bool Win32WindowSystem::PaintMinimised() {
    if (!IsIconic(dialog_)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog_, &paint);
    SendMessageW(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(dialog_, &paint);
    return true;
}

void Win32WindowSystem::Show() {
    if (!dialog_) return;
    ShowWindow(dialog_, SW_SHOW);
    UpdateWindow(dialog_);
    SetForegroundWindow(dialog_);
}

bool Win32WindowSystem::Dispatch(MSG& message) {
    if (message.message == WM_QUIT) return false;
    if (!dialog_ || !IsDialogMessageW(dialog_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void Win32WindowSystem::RunUntilClosed() {
    MSG message;
    while (dialog_ && GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
}

void Win32WindowSystem::RunPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(message)) break;
    }
}

void Win32WindowSystem::Close() {
    if (!dialog_) return;
    lastPicture_ = CaptureWindow(dialog_);
    DestroyWindow(dialog_);
}

bool Win32WindowSystem::SaveScreenshot(const std::string& file, std::string& error) {
    return SavePicture(dialog_ ? CaptureWindow(dialog_) : lastPicture_, file, error);
}

}  // namespace tandrel
