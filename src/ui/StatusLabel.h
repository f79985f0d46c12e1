#pragma once

#include <optional>
#include <string_view>

#include "platform/Colour.h"
#include "platform/DialogControls.h"
#include "platform/FontDescription.h"

namespace tandrel {

class Journal;

// A channel's status row: a static text drawn in a font and colours of its
// own. The state lives here; the toolkit paints from what it is handed.
// A new background shows at the next repaint, which setting the text brings
// about; a new font redraws at once.
class StatusLabel {
public:
    StatusLabel(DialogControls& controls, ControlId id, int channel, Journal* journal = nullptr);

    StatusLabel& SetText(std::string_view text);
    StatusLabel& SetFontSize(int n);
    StatusLabel& SetFontBold(int flag);
    StatusLabel& SetBkColor(Colour colour);
    // Draws the row on colour at once, its text kept, until Unmark; what
    // SetBkColor gives meanwhile is kept and shows after.
    StatusLabel& Mark(Colour colour);
    StatusLabel& Unmark();
    bool Marked() const { return mark_.has_value(); }

    ControlId Id() const { return id_; }
    Colour textColor() const { return textColor_; }
    Colour backgroundColor() const { return backgroundColor_; }
    const FontDescription& fontDescription() const { return fontDescription_; }

private:
    void RebuildFont();
    // Hands the colours to the control and repaints it with its text.
    void Paint(Colour background);

    DialogControls& controls_;
    ControlId id_;
    int channel_;
    Journal* journal_;
    Colour textColor_ = kWindowText;
    Colour backgroundColor_ = kButtonFace;
    FontDescription fontDescription_ = DefaultGuiFont();
    std::optional<Colour> mark_;
};

}  // namespace tandrel
