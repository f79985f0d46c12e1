#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/DialogControls.h"
#include "win32/DialogHandle.h"
#include "win32/LabelPaints.h"

namespace tandrel {

// The dialog controls on the Windows API: every control is reached by its
// template id with GetDlgItem. Ids the dialog lacks are ignored and read as
// empty, so a wrong id never brings the station down. Texts cross to the
// wide API here.
class Win32Controls : public DialogControls {
public:
    // dialog: whose controls these are; none while it does not exist.
    Win32Controls(HINSTANCE instance, const DialogHandle& dialog);

    HWND Dialog() const { return dialog_; }

    // From the dialog's procedure: a click of a button or check box, and
    // the control-colour request of a static control.
    void OnClicked(ControlId id);
    HBRUSH OnColourStatic(HDC dc, HWND control) const;
    // A window-menu command: true when the station left it to the default
    // handling, which the dialog procedure then runs.
    bool OnSysCommand(unsigned commandId);

    // Whether the window may close now (see CloseHandler).
    bool QueryClose(bool operatorAsked) { return !onClose_ || onClose_(operatorAsked); }

    void SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) override;
    void SetCloseHandler(CloseHandler onClose) override { onClose_ = std::move(onClose); }
    void SetText(ControlId id, std::string_view text) override;
    std::string GetText(ControlId id) const override;
    void Enable(ControlId id, bool on) override;
    bool IsEnabled(ControlId id) const override;
    void Show(ControlId id, bool visible) override;
    bool IsVisible(ControlId id) const override;
    void SetCheck(ControlId id, int state) override;
    int GetCheck(ControlId id) const override;
    std::vector<std::string> ComboItems(ControlId id) const override;
    void SetComboSelection(ControlId id, int index) override;
    int GetComboSelection(ControlId id) const override;
    void SetProgressRange(ControlId id, int low, int high) override;
    void SetProgressPos(ControlId id, int pos) override;
    int GetProgressPos(ControlId id) const override;
    void ListAppend(ControlId id, std::string_view text) override;
    int ListCount(ControlId id) const override;
    std::string ListLine(ControlId id, int index) const override;
    void ListSelect(ControlId id, int index) override;
    int ListSelection(ControlId id) const override;
    void ListClear(ControlId id) override;
    void SetLabelFont(ControlId id, const FontDescription& font) override;
    void SetLabelColours(ControlId id, Colour text, Colour background) override;
    void MessageBox(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    std::optional<std::vector<std::string>> OpenFiles() override;
    void ShowAbout() override;
    void ShowSmallDialog(const DialogTemplate& dialog, std::function<DialogTexts()> texts,
                         CommandHandler onClick) override;
    void DefaultSysCommand(unsigned commandId) override;

private:
    HWND Item(ControlId id) const;
    LRESULT Send(ControlId id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HINSTANCE instance_;
    const DialogHandle& dialog_;
    CommandHandler onCommand_;
    SysCommandHandler onSysCommand_;
    CloseHandler onClose_;
    LabelPaints paints_;
    // The window-menu command being handled, and whether the station handed
    // it back to the default handling.
    unsigned handlingSysCommand_ = 0;
    bool defaultRequested_ = false;
};

}  // namespace tandrel
