#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Colour.h"
#include "platform/FontDescription.h"

namespace tandrel {

using ControlId = int;
struct DialogTemplate;

// The window menu's own Close command. <windows.h> defines the same name,
// with the same value, as a macro.
#ifndef SC_CLOSE
constexpr unsigned SC_CLOSE = 0xF060;
#endif

// The dialog services the station expects of its desktop: controls addressed
// by their template id. Every call comes from the window thread.
class DialogControls {
public:
    using CommandHandler = std::function<void(ControlId id)>;
    using SysCommandHandler = std::function<void(unsigned commandId)>;
    // Asked before the window closes; false keeps it open. operatorAsked is
    // true for the close box, Esc and the menu's Close, false when the
    // station is stopped from outside.
    using CloseHandler = std::function<bool(bool operatorAsked)>;

    virtual ~DialogControls() = default;

    // Where clicks go: button and check-box clicks by control id (an auto check
    // box has already toggled), and commands of the window's own menu.
    virtual void SetHandlers(CommandHandler onCommand, SysCommandHandler onSysCommand) = 0;

    virtual void SetCloseHandler(CloseHandler onClose) = 0;

    virtual void SetText(ControlId id, std::string_view text) = 0;
    virtual std::string GetText(ControlId id) const = 0;

    virtual void Enable(ControlId id, bool on) = 0;
    virtual bool IsEnabled(ControlId id) const = 0;
    virtual void Show(ControlId id, bool visible) = 0;
    virtual bool IsVisible(ControlId id) const = 0;

    // Check boxes: 0 unchecked, 1 checked.
    virtual void SetCheck(ControlId id, int state) = 0;
    virtual int GetCheck(ControlId id) const = 0;

    // Combo box: the items as the (sorted) box holds them, and the selection.
    virtual std::vector<std::string> ComboItems(ControlId id) const = 0;
    virtual void SetComboSelection(ControlId id, int index) = 0;
    virtual int GetComboSelection(ControlId id) const = 0;

    virtual void SetProgressRange(ControlId id, int low, int high) = 0;
    virtual void SetProgressPos(ControlId id, int pos) = 0;
    virtual int GetProgressPos(ControlId id) const = 0;

    // List box: lines are always added at the end, whatever the box's style.
    virtual void ListAppend(ControlId id, std::string_view text) = 0;
    virtual int ListCount(ControlId id) const = 0;
    virtual std::string ListLine(ControlId id, int index) const = 0;
    virtual void ListSelect(ControlId id, int index) = 0;
    virtual int ListSelection(ControlId id) const = 0;
    virtual void ListClear(ControlId id) = 0;

    // Static texts drawn by the station itself (the status rows, the banner).
    // A new font redraws at once; new colours show at the next repaint, which
    // the next SetText brings about.
    virtual void SetLabelFont(ControlId id, const FontDescription& font) = 0;
    virtual void SetLabelColours(ControlId id, Colour text, Colour background) = 0;

    // A modal box with an OK button only; returns when the operator closed it.
    // The window keeps handling timers and posted messages meanwhile.
    virtual void MessageBox(std::string_view text) = 0;
    // A modal box with Yes and No, No the default; true for Yes. The window
    // keeps handling timers and posted messages meanwhile.
    virtual bool AskYesNo(std::string_view text) = 0;
    // The file-open dialog, several files allowed, all files listed.
    // Nothing when the operator cancelled or the dialog failed.
    virtual std::optional<std::vector<std::string>> OpenFiles() = 0;
    // The About box, modal.
    virtual void ShowAbout() = 0;
    // A small window's OK button.
    static constexpr ControlId kOkButton = 1;
    // The texts of a small window's controls, by id.
    using DialogTexts = std::vector<std::pair<ControlId, std::string>>;
    // A small modal window of the station's own, built from dialog: texts()
    // fills its controls when it opens, after each click and every second
    // while it is open; a click on any of its buttons but OK (kOkButton) goes to
    // onClick. OK, Esc or its close box end it. The window keeps handling
    // timers and posted messages meanwhile.
    virtual void ShowSmallDialog(const DialogTemplate& dialog, std::function<DialogTexts()> texts,
                                 CommandHandler onClick) = 0;
    // What the desktop does with a window-menu command the station leaves
    // alone: SC_CLOSE closes the window, anything else is ignored.
    virtual void DefaultSysCommand(unsigned commandId) = 0;
};

}  // namespace tandrel
