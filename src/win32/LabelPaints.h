#pragma once

#include "platform/win32/WindowsApi.h"

#include <map>
#include <string>

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

    // Gives the control the font at once, redrawn (invalidate, erase, repaint
    // now), at the size that fits text, the control's text.
    void SetFont(HWND control, ControlId id, const FontDescription& font, const std::wstring& text);
    // Before the control shows text: a label with a font of its own keeps its
    // font's size when text fits its face, and otherwise draws it at the
    // largest smaller size that does, down to 7 px (below that the text is
    // clipped instead). The template fixes the label's size, the station its
    // texts.
    void FitText(HWND control, ControlId id, const std::wstring& text);
    // Kept for the control's next repaint; nothing is redrawn now.
    void SetColours(ControlId id, Colour text, Colour background);

    // The dialog's control-colour request for a static control: the brush to
    // paint it with, or null when the station does not colour it. A status
    // row draws in its own font and text colour on its own brush; the banner
    // keeps the dialog's brush and colours only the cells of its text.
    HBRUSH ColourStatic(HDC dc, ControlId id) const;

private:
    struct Paint {
        // As the station set it; font is this at the size the text fits,
        // of fittedHeight.
        FontDescription described;
        int fittedHeight = 0;
        HFONT font = nullptr;
        HBRUSH brush = nullptr;
        COLORREF text = 0;
        COLORREF background = 0;
        bool coloured = false;
    };

    // Gives the control font, made for paint, in place of the one it had.
    static void Use(HWND control, Paint& paint, const FontDescription& font);

    std::map<ControlId, Paint> paints_;
};

// A GDI font for a logical font description.
HFONT MakeFont(const FontDescription& description);

}  // namespace tandrel
