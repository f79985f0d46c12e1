#pragma once

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

    ControlId Id() const { return id_; }
    Colour textColor() const { return textColor_; }
    Colour backgroundColor() const { return backgroundColor_; }
    const FontDescription& fontDescription() const { return fontDescription_; }

private:
    void RebuildFont();

    DialogControls& controls_;
    ControlId id_;
    int channel_;
    Journal* journal_;
    Colour textColor_ = kWindowText;
    Colour backgroundColor_ = kButtonFace;
    FontDescription fontDescription_ = DefaultGuiFont();
};

}  // namespace tandrel
