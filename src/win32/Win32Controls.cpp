#include "win32/Win32Controls.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "win32/AboutBox.h"
#include "win32/SmallDialog.h"
#include "win32/OpenFilesDialog.h"
#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

std::string WindowText(HWND window) {
    if (!window) return {};
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return Narrow(text);
}

// The text of entry index of a list box or combo box (LB_GET* or CB_GET*).
std::string EntryText(HWND box, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT length = SendMessageW(box, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(box, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return Narrow(text);
}

}  // namespace

Win32Controls::Win32Controls(HINSTANCE instance, const DialogHandle& dialog) : instance_(instance), dialog_(dialog) {}

HWND Win32Controls::Item(ControlId id) const { return dialog_ ? GetDlgItem(dialog_, id) : nullptr; }

LRESULT Win32Controls::Send(ControlId id, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND item = Item(id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

void Win32Controls::OnClicked(ControlId id) {
    if (onCommand_) onCommand_(id);
}

HBRUSH Win32Controls::OnColourStatic(HDC dc, HWND control) const {
    return paints_.ColourStatic(dc, GetDlgCtrlID(control));
}

bool Win32Controls::OnSysCommand(unsigned commandId) {
    handlingSysCommand_ = commandId;
    defaultRequested_ = false;
    if (onSysCommand_) {
        onSysCommand_(commandId);
    } else {
        defaultRequested_ = true;
    }
    handlingSysCommand_ = 0;
    return defaultRequested_;
}

void Win32Controls::SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) {
    onCommand_ = std::move(onCommand);
    onSysCommand_ = std::move(onSysCommand);
}

// A label is given the size its new text fits before the text is set: the
// static control draws a new text at once.
void Win32Controls::SetText(ControlId id, std::string_view text) {
    HWND item = Item(id);
    if (!item) return;
    const std::wstring wide = Widen(text);
    paints_.FitText(item, id, wide);
    SetWindowTextW(item, wide.c_str());
}

std::string Win32Controls::GetText(ControlId id) const { return WindowText(Item(id)); }

void Win32Controls::Enable(ControlId id, bool on) {
    if (HWND item = Item(id)) EnableWindow(item, on);
}

bool Win32Controls::IsEnabled(ControlId id) const {
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

void Win32Controls::Show(ControlId id, bool visible) {
    if (HWND item = Item(id)) ShowWindow(item, visible ? SW_SHOW : SW_HIDE);
}

// The control's own flag: a control of a window not yet shown still counts as visible.
bool Win32Controls::IsVisible(ControlId id) const {
    HWND item = Item(id);
    return item && (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Controls::SetCheck(ControlId id, int state) {
    if (dialog_ && Item(id)) CheckDlgButton(dialog_, id, state != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int Win32Controls::GetCheck(ControlId id) const {
    return dialog_ && Item(id) && IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
}

std::vector<std::string> Win32Controls::ComboItems(ControlId id) const {
    std::vector<std::string> items;
    HWND box = Item(id);
    if (!box) return items;
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) items.push_back(EntryText(box, i, CB_GETLBTEXTLEN, CB_GETLBTEXT));
    return items;
}

void Win32Controls::SetComboSelection(ControlId id, int index) { Send(id, CB_SETCURSEL, static_cast<WPARAM>(index)); }

// Text typed into the box's field that names no item leaves no selection.
int Win32Controls::GetComboSelection(ControlId id) const {
    HWND box = Item(id);
    if (!box) return -1;
    const auto index = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    if (index < 0) return -1;
    return WindowText(box) == EntryText(box, index, CB_GETLBTEXTLEN, CB_GETLBTEXT) ? index : -1;
}

void Win32Controls::SetProgressRange(ControlId id, int low, int high) {
    Send(id, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32Controls::SetProgressPos(ControlId id, int pos) { Send(id, PBM_SETPOS, static_cast<WPARAM>(pos)); }

int Win32Controls::GetProgressPos(ControlId id) const { return static_cast<int>(Send(id, PBM_GETPOS)); }

// Inserted at the end by position: the box's sorted style would otherwise
// place the line by its text.
void Win32Controls::ListAppend(ControlId id, std::string_view text) {
    Send(id, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int Win32Controls::ListCount(ControlId id) const { return static_cast<int>(Send(id, LB_GETCOUNT)); }

std::string Win32Controls::ListLine(ControlId id, int index) const {
    HWND list = Item(id);
    return list ? EntryText(list, index, LB_GETTEXTLEN, LB_GETTEXT) : std::string();
}

void Win32Controls::ListSelect(ControlId id, int index) { Send(id, LB_SETCURSEL, static_cast<WPARAM>(index)); }

int Win32Controls::ListSelection(ControlId id) const {
    return Item(id) ? static_cast<int>(Send(id, LB_GETCURSEL)) : -1;
}

void Win32Controls::ListClear(ControlId id) { Send(id, LB_RESETCONTENT); }

void Win32Controls::SetLabelFont(ControlId id, const FontDescription& font) {
    paints_.SetFont(Item(id), id, font, Widen(GetText(id)));
}

void Win32Controls::SetLabelColours(ControlId id, Colour text, Colour background) {
    paints_.SetColours(id, text, background);
}

void Win32Controls::MessageBox(std::string_view text) {
    MessageBoxW(dialog_, Widen(text).c_str(), L"Tandrel", MB_OK);
}

bool Win32Controls::AskYesNo(std::string_view text) {
    return MessageBoxW(dialog_, Widen(text).c_str(), L"Tandrel", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::vector<std::string>> Win32Controls::OpenFiles() { return ChooseFiles(dialog_); }

void Win32Controls::ShowAbout() { RunAboutBox(instance_, dialog_); }

void Win32Controls::ShowSmallDialog(const DialogTemplate& dialog, std::function<DialogTexts()> texts,
                                    CommandHandler onClick) {
    RunSmallDialog(instance_, dialog_, dialog, texts, onClick);
}

// Inside the window's own handling of the command, the default handling
// runs when the dialog procedure returns; any other caller gets it now.
void Win32Controls::DefaultSysCommand(unsigned commandId) {
    if (commandId == handlingSysCommand_ && handlingSysCommand_ != 0) {
        defaultRequested_ = true;
        return;
    }
    if (dialog_) DefWindowProcW(dialog_, WM_SYSCOMMAND, commandId, 0);
}

}  // namespace tandrel
