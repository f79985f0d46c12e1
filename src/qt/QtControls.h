#pragma once

#include <memory>

#include "platform/DialogControls.h"
#include "platform/DialogTemplate.h"
#include "qt/DialogWindow.h"

namespace tandrel {

// The dialog controls on Qt widgets: the window is built from its template,
// controls are reached by template id. Ids the template lacks are ignored
// and read as empty, so a wrong id never brings the station down.
class QtControls : public DialogControls {
public:
    // The main window: its template, plus the "Port health..." and About entries in its menu.
    explicit QtControls(const DialogTemplate& dialog);

    DialogWindow& Window() { return *window_; }

    void SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) override;
    void SetCloseHandler(CloseHandler onClose) override { window_->SetCloseQuery(std::move(onClose)); }
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
    template <class Widget>
    Widget* As(ControlId id) const;

    std::unique_ptr<DialogWindow> window_;
    CommandHandler onCommand_;
    SysCommandHandler onSysCommand_;
};

}  // namespace tandrel
