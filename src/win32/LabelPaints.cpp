#include "win32/LabelPaints.h"

#include <cstring>

#include "ui/ControlIds.h"
#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// Colours travel in the platform's own layout already.
COLORREF ToColorRef(Colour c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

HFONT MakeFont(const FontDescription& d) {
    const std::wstring face = Widen({d.faceName, strnlen(d.faceName, sizeof d.faceName)});
    return CreateFontW(d.height, d.width, d.escapement, d.orientation, d.weight, d.italic, d.underline, d.strikeOut,
                       d.charSet, d.outPrecision, d.clipPrecision, d.quality, d.pitchAndFamily, face.c_str());
}

LabelPaints::~LabelPaints() {
    for (const auto& [id, paint] : paints_) {
        if (paint.font) DeleteObject(paint.font);
        if (paint.brush) DeleteObject(paint.brush);
    }
}

void LabelPaints::SetFont(HWND control, ControlId id, const FontDescription& font) {
    Paint& paint = paints_[id];
    HFONT old = paint.font;
    paint.font = MakeFont(font);
    // The static control selects the font it was given into its context
    // after the colour request, so it must hold the label's font too.
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(paint.font), FALSE);
    if (old) DeleteObject(old);
    if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void LabelPaints::SetColours(ControlId id, Colour text, Colour background) {
    Paint& paint = paints_[id];
    if (paint.brush) DeleteObject(paint.brush);
    paint.brush = CreateSolidBrush(ToColorRef(background));
    paint.text = ToColorRef(text);
    paint.background = ToColorRef(background);
    paint.coloured = true;
}

HBRUSH LabelPaints::ColourStatic(HDC dc, ControlId id) const {
    const auto it = paints_.find(id);
    if (it == paints_.end() || !it->second.coloured) return nullptr;
    const Paint& paint = it->second;
    if (id == IDC_STATUS_BANNER) {
        // What the dialog would have chosen, then the banner's text cells.
        SetTextColor(dc, paint.text);
        SetBkColor(dc, paint.background);
        SetBkMode(dc, OPAQUE);
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    if (paint.font) SelectObject(dc, paint.font);
    SetTextColor(dc, paint.text);
    SetBkMode(dc, TRANSPARENT);
    return paint.brush;
}

}  // namespace tandrel
