#include "win32/LabelPaints.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/ControlIds.h"
#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// Below this a text is no longer read at a glance.
constexpr int kSmallestPixelSize = 7;

// Colours travel in the platform's own layout already.
COLORREF ToColorRef(Colour c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

// How a static control of the control's style lays out its text.
UINT TextFormat(HWND control) {
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    UINT format = DT_EXPANDTABS | DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER: format |= DT_CENTER; break;
        case SS_RIGHT: format |= DT_RIGHT; break;
        case SS_LEFTNOWORDWRAP: format = DT_EXPANDTABS; break;
        default: break;
    }
    return (style & SS_NOPREFIX) ? format | DT_NOPREFIX : format;
}

bool Fits(HWND control, const FontDescription& font, const std::wstring& text) {
    RECT face;
    GetClientRect(control, &face);
    RECT needed = face;
    HFONT made = MakeFont(font);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, made);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, TextFormat(control) | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    DeleteObject(made);
    return needed.right - needed.left <= face.right - face.left && needed.bottom - needed.top <= face.bottom - face.top;
}

// The font at a character height of pixels, its width (when it has one)
// scaled with it; the sign of the height says which height it is.
FontDescription AtPixels(FontDescription font, int pixels) {
    if (font.width != 0) font.width = std::max(1, font.width * pixels / std::abs(font.height));
    font.height = font.height < 0 ? -pixels : pixels;
    return font;
}

// The font itself when the text fits, or the largest smaller one that does,
// or the smallest tried.
FontDescription Fitted(HWND control, const FontDescription& font, const std::wstring& text) {
    if (font.height == 0 || text.empty()) return font;
    int pixels = std::abs(font.height);
    while (pixels > kSmallestPixelSize && !Fits(control, AtPixels(font, pixels), text)) --pixels;
    return AtPixels(font, pixels);
}

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

void LabelPaints::SetFont(HWND control, ControlId id, const FontDescription& font, const std::wstring& text) {
    Paint& paint = paints_[id];
    paint.described = font;
    Use(control, paint, control ? Fitted(control, font, text) : font);
    if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void LabelPaints::FitText(HWND control, ControlId id, const std::wstring& text) {
    const auto it = paints_.find(id);
    if (!control || it == paints_.end() || !it->second.font) return;
    Paint& paint = it->second;
    const FontDescription fitted = Fitted(control, paint.described, text);
    if (fitted.height != paint.fittedHeight) Use(control, paint, fitted);
}

void LabelPaints::Use(HWND control, Paint& paint, const FontDescription& font) {
    HFONT old = paint.font;
    paint.font = MakeFont(font);
    paint.fittedHeight = font.height;
    // The static control selects the font it was given into its context
    // after the colour request, so it must hold the label's font too.
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(paint.font), FALSE);
    if (old) DeleteObject(old);
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
