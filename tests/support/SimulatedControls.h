#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogControls.h"
#include "platform/DialogTemplate.h"

namespace tandrel {

// In-memory controls built from a dialog template, with the rules of real
// ones: hidden controls stay hidden, sorted combo boxes sort, a label's new
// colours show only at its next repaint. Calls on an id the template lacks
// throw, so a wrong id fails a test instead of passing silently.
class SimulatedControls : public DialogControls {
public:
    struct Control {
        ControlKind kind = ControlKind::StaticText;
        std::string text;
        bool enabled = true;
        bool visible = true;
        int check = 0;
        std::vector<std::string> items;
        int selection = -1;
        int rangeLow = 0;
        int rangeHigh = 100;
        int pos = 0;
        std::vector<std::string> lines;
        FontDescription font;
        Colour textColour = kWindowText;
        Colour background = kButtonFace;
        // What the screen shows: colours are taken over at each repaint.
        Colour shownTextColour = kWindowText;
        Colour shownBackground = kButtonFace;
        int repaints = 0;
    };

    explicit SimulatedControls(const DialogTemplate& dialog);

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

    // Test side.
    const Control& At(ControlId id) const;
    // The operator clicks a control: refused (false) when it is disabled or
    // hidden; an auto check box toggles before its handler runs.
    bool Click(ControlId id);
    // The operator picks an entry of the window's menu.
    void SysCommand(unsigned commandId);
    // The operator types into a field (no notification, as with a real edit).
    void Type(ControlId id, std::string_view text) { SetText(id, text); }
    // Answers for the coming file-open dialogs, oldest first; none left means Cancel.
    void QueueOpenFiles(std::optional<std::vector<std::string>> answer);
    // Runs while a message box is "open", before it is closed with OK.
    void OnMessageBox(std::function<void()> whileOpen) { whileMessageBoxOpen_ = std::move(whileOpen); }
    const std::vector<std::string>& MessageBoxes() const { return messageBoxes_; }
    // Answers for the coming Yes/No boxes, oldest first; none left means No.
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    // The window is asked to close, by the operator or from outside; true
    // when the station let it.
    bool RequestClose(bool operatorAsked) { return !onClose_ || onClose_(operatorAsked); }
    int AboutBoxes() const { return aboutBoxes_; }
    // A small window while it is open: what it shows now, and the operator's clicks on it.
    struct OpenDialog {
        std::function<DialogTexts()> texts;
        CommandHandler click;
    };
    void OnSmallDialog(std::function<void(const OpenDialog&)> whileOpen) { whileSmallDialogOpen_ = std::move(whileOpen); }
    // The template id of every small window opened, oldest first.
    const std::vector<int>& SmallDialogs() const { return smallDialogs_; }
    // The window-menu commands handed on to the desktop, oldest first.
    const std::vector<unsigned>& DefaultSysCommands() const { return defaultSysCommands_; }

private:
    Control& Get(ControlId id);
    const Control& Get(ControlId id) const;
    static void Repaint(Control& c);

    std::map<ControlId, Control> controls_;
    std::map<ControlId, bool> autoCheck_;
    CommandHandler onCommand_;
    SysCommandHandler onSysCommand_;
    struct OpenFilesAnswer {
        bool chosen = false;
        std::vector<std::string> files;
    };
    std::deque<OpenFilesAnswer> openFileAnswers_;
    std::vector<std::string> messageBoxes_;
    std::function<void()> whileMessageBoxOpen_;
    std::deque<bool> answers_;
    CloseHandler onClose_;
    int aboutBoxes_ = 0;
    std::function<void(const OpenDialog&)> whileSmallDialogOpen_;
    std::vector<int> smallDialogs_;
    std::vector<unsigned> defaultSysCommands_;
};

}  // namespace tandrel
