#include "win32/DialogBytes.h"

#include <commctrl.h>

#include <charconv>

#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// The predefined window classes of dialog items, by atom.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;
constexpr std::uint16_t kListBoxAtom = 0x0083;
constexpr std::uint16_t kComboBoxAtom = 0x0085;

class Writer {
public:
    void Word(std::uint16_t w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Short(int v) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
    void Text(std::string_view utf8) {
        for (const wchar_t c : Widen(utf8)) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void Ordinal(std::uint16_t value) {
        Word(0xFFFF);
        Word(value);
    }
    // Items start on a DWORD boundary of the template.
    void AlignToDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

private:
    std::vector<std::uint16_t> words_;
};

DWORD KindStyle(const ControlTemplate& c) {
    switch (c.kind) {
        case ControlKind::PushButton:
            return WS_TABSTOP | (c.Has(kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        case ControlKind::CheckBox:
            return WS_TABSTOP | (c.Has(kAutoCheckBox) ? BS_AUTOCHECKBOX : BS_CHECKBOX) | (c.Has(kCentred) ? BS_CENTER : 0);
        case ControlKind::Edit:
            return WS_TABSTOP | (c.Has(kBorder) ? WS_BORDER : 0) | (c.Has(kAutoHScroll) ? ES_AUTOHSCROLL : 0);
        case ControlKind::ComboBox:
            return WS_TABSTOP | (c.Has(kDropDown) ? CBS_DROPDOWN : CBS_DROPDOWNLIST) | (c.Has(kSorted) ? CBS_SORT : 0) |
                   (c.Has(kVScroll) ? WS_VSCROLL : 0);
        case ControlKind::ListBox:
            return WS_TABSTOP | (c.Has(kBorder) ? WS_BORDER : 0) | (c.Has(kVScroll) ? WS_VSCROLL : 0) |
                   (c.Has(kSorted) ? LBS_SORT : 0) | (c.Has(kNoIntegralHeight) ? LBS_NOINTEGRALHEIGHT : 0);
        case ControlKind::ProgressBar:
            return c.Has(kBorder) ? WS_BORDER : 0;
        case ControlKind::StaticText:
            return (c.Has(kCentred) ? SS_CENTER : SS_LEFT) | (c.Has(kSunken) ? SS_SUNKEN : 0) |
                   (c.Has(kNoPrefix) ? SS_NOPREFIX : 0);
        case ControlKind::Icon:
            return SS_ICON;
    }
    return 0;
}

void WriteClass(Writer& out, ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox: return out.Ordinal(kButtonAtom);
        case ControlKind::Edit: return out.Ordinal(kEditAtom);
        case ControlKind::ComboBox: return out.Ordinal(kComboBoxAtom);
        case ControlKind::ListBox: return out.Ordinal(kListBoxAtom);
        case ControlKind::ProgressBar: return out.Text("msctls_progress32");
        case ControlKind::StaticText:
        case ControlKind::Icon: return out.Ordinal(kStaticAtom);
    }
}

// An icon's caption is the number of its icon resource.
void WriteTitle(Writer& out, const ControlTemplate& c) {
    if (c.kind != ControlKind::Icon) return out.Text(c.caption);
    std::uint16_t resource = 0;
    std::from_chars(c.caption.data(), c.caption.data() + c.caption.size(), resource);
    out.Ordinal(resource);
}

}  // namespace

DWORD ControlStyle(const ControlTemplate& control) {
    return WS_CHILD | KindStyle(control) | (control.Has(kHidden) ? 0 : WS_VISIBLE) |
           (control.Has(kDisabled) ? WS_DISABLED : 0);
}

// A check box has no sunken style of its own: its cell gets the sunken edge.
DWORD ControlExStyle(const ControlTemplate& control) {
    return control.kind == ControlKind::CheckBox && control.Has(kSunken) ? WS_EX_STATICEDGE : 0;
}

std::vector<std::uint16_t> BuildDialogBytes(const DialogTemplate& dialog, DWORD dialogStyle, DWORD dialogExStyle) {
    Writer out;
    out.Dword(dialogStyle | DS_SETFONT);
    out.Dword(dialogExStyle);
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(0);
    out.Short(0);
    out.Short(dialog.width);
    out.Short(dialog.height);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    out.Word(static_cast<std::uint16_t>(dialog.fontPoints));
    out.Text(dialog.fontFace);
    for (const ControlTemplate& c : dialog.controls) {
        out.AlignToDword();
        out.Dword(ControlStyle(c));
        out.Dword(ControlExStyle(c));
        out.Short(c.rect.x);
        out.Short(c.rect.y);
        out.Short(c.rect.width);
        out.Short(c.rect.height);
        out.Word(static_cast<std::uint16_t>(c.id));
        WriteClass(out, c.kind);
        WriteTitle(out, c);
        out.Word(0);  // no creation data
    }
    return out.Take();
}

void FillComboItems(HWND dialog, const DialogTemplate& data) {
    for (const ControlTemplate& c : data.controls) {
        if (c.kind != ControlKind::ComboBox) continue;
        for (const std::string_view item : c.items) {
            SendDlgItemMessageW(dialog, c.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
    }
}

}  // namespace tandrel
