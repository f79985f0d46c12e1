#pragma once

#include "platform/win32/WindowsApi.h"

#include <map>

#include "platform/DialogControls.h"

namespace tandrel {

// The fonts, brushes and colours of the static texts the station draws
// itself: the status rows and the banner. Owned here, deleted when replaced
// and at the end.
class LabelPaints {
public:
    LabelPaints() = default;
    ~LabelPaints();
    LabelPaints(const LabelPaints&) = delete;
    LabelPaints& operator=(const LabelPaints&) = delete;

    // Gives the control the font at once, redrawn (invalidate, erase, repaint now).
    void SetFont(HWND control, ControlId id, const FontDescription& font);
    // Kept for the control's next repaint; nothing is redrawn now.
    void SetColours(ControlId id, Colour text, Colour background);

    // The dialog's control-colour request for a static control: the brush to
    // paint it with, or null when the station does not colour it. A status
    // row draws in its own font and text colour on its own brush; the banner
    // keeps the dialog's brush and colours only the cells of its text.
    HBRUSH ColourStatic(HDC dc, ControlId id) const;

private:
    struct Paint {
        HFONT font = nullptr;
        HBRUSH brush = nullptr;
        COLORREF text = 0;
        COLORREF background = 0;
        bool coloured = false;
    };

    std::map<ControlId, Paint> paints_;
};

// A GDI font for a logical font description.
HFONT MakeFont(const FontDescription& description);

}  // namespace tandrel
