// The Windows window as the screen shows it (Wine on Xvfb in CI): a fresh
// window against its template, its rows, menu and keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "support/RowTexts.h"
#include "support/Station.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"
#include "platform/win32/WideText.h"
#include "win32/Screenshot.h"
#include "win32/Win32WindowSystem.h"

namespace tandrel {
namespace {

std::wstring ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox: return L"Button";
        case ControlKind::Edit: return L"Edit";
        case ControlKind::ComboBox: return L"ComboBox";
        case ControlKind::ListBox: return L"ListBox";
        case ControlKind::ProgressBar: return L"msctls_progress32";
        case ControlKind::StaticText:
        case ControlKind::Icon: return L"Static";
    }
    return {};
}

// The station's window, initialised and on screen, with no library and no phones.
struct Station : test::Station<Win32WindowSystem> {
    Station() {
        if (!window.Dialog()) ADD_FAILURE() << "no window could be made: DISPLAY names no X server open to us";
        dialog.OnInitDialog();
        window.Show();
        window.RunPending();
    }
    HWND Dialog() const { return window.Dialog(); }
    HWND Item(ControlId id) const { return GetDlgItem(window.Dialog(), id); }
    // A rectangle in client coordinates of the dialog.
    RECT PlaceOf(HWND control) const {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The dialog manager converts a control's place and size each alone.
    RECT FromTemplate(const DialogRect& du) const {
        RECT place{du.x, du.y, 0, 0};
        RECT size{0, 0, du.width, du.height};
        MapDialogRect(Dialog(), &place);
        MapDialogRect(Dialog(), &size);
        return RECT{place.left, place.top, place.left + size.right, place.top + size.bottom};
    }
    // Moves the focus as Tab and clicks do, through the dialog manager.
    void Focus(ControlId id) {
        SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
        window.RunPending();
    }
    // Presses and releases key on the control that has the focus, the way
    // the keyboard does, and lets the window handle it.
    void Press(WORD key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        window.RunPending();
    }
};

TEST(Win32Window, EveryControlIsMadeFromTheTemplateInTabOrder) {
    Station s;
    wchar_t caption[64] = {};
    GetWindowTextW(s.Dialog(), caption, 64);
    EXPECT_EQ(Narrow(caption), "Tandrel_V10_20101013");

    HWND control = GetWindow(s.Dialog(), GW_CHILD);
    for (const ControlTemplate& t : MainDialogTemplate().controls) {
        SCOPED_TRACE(t.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), static_cast<std::uint16_t>(t.id));
        wchar_t className[64] = {};
        GetClassNameW(control, className, 64);
        EXPECT_EQ(std::wstring(className), ClassOf(t.kind));

        const RECT want = s.FromTemplate(t.rect);
        const RECT got = s.PlaceOf(control);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        // A closed combo box is one line high; the template's height is that
        // of its open list, which the box rounds down to whole items.
        if (t.kind == ControlKind::ComboBox) {
            RECT open;
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&open));
            EXPECT_GT(open.bottom - open.top, got.bottom - got.top);
            EXPECT_LE(open.bottom - open.top, want.bottom - want.top);
        } else {
            EXPECT_EQ(got.bottom, want.bottom);
        }
        EXPECT_EQ(IsWindowVisible(control) != 0, !t.Has(kHidden));
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);
}

TEST(Win32Window, ShowsEightBoldReadyRowsOnWhiteWithStopDisabled) {
    Station s;
    HDC screen = GetDC(nullptr);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        HWND row = s.Item(StatusLabelId(n));
        wchar_t text[16] = {};
        GetWindowTextW(row, text, 16);
        EXPECT_EQ(Narrow(text), "READY");
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(row, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfHeight, -13);
        // Below the text, inside the sunken edge.
        RECT r;
        GetWindowRect(row, &r);
        EXPECT_EQ(GetPixel(screen, r.left + 3, r.bottom - 3), RGB(255, 255, 255));
        EXPECT_FALSE(IsWindowEnabled(s.Item(StopButtonId(n))));
    }
    ReleaseDC(nullptr, screen);
    for (const ControlId id : {IDC_OPEN_FILE, IDC_START, IDC_RESET}) EXPECT_TRUE(IsWindowEnabled(s.Item(id))) << id;
    EXPECT_EQ(SendMessageW(s.Item(IDC_DRIVER), CB_GETCURSEL, 0, 0), kDriverUsb);
}

TEST(Win32Window, AboutIsTheLastEntryOfTheSystemMenuAfterASeparator) {
    Station s;
    HMENU menu = GetSystemMenu(s.Dialog(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), IDM_ABOUTBOX);
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 64, MF_BYPOSITION);
    EXPECT_EQ(Narrow(text), "&About Tandrel...");
    EXPECT_NE(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, 0u);
}

TEST(Win32Window, LeavesAScreenshotInTheBuildFolder) {
    Station s;
    std::string error;
    ASSERT_TRUE(s.window.SaveScreenshot("win32-main-window.png", error)) << error;
    std::ifstream png("win32-main-window.png", std::ios::binary);
    char signature[8] = {};
    png.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

// Enter clicks the push button that has the focus and does nothing anywhere
// else: no push button is ever the default, and the window stays open.
TEST(Win32Window, EnterClicksOnlyAFocusedPushButton) {
    Station s;
    std::vector<ControlId> clicked;
    s.window.Controls().SetHandlers([&](ControlId id) { clicked.push_back(id); }, [](unsigned) {});
    for (const ControlTemplate& t : MainDialogTemplate().controls) {
        if (t.kind != ControlKind::PushButton) continue;
        EXPECT_NE(GetWindowLongW(s.Item(t.id), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON) << t.id;
    }
    const ControlId fields[] = {IDC_COMM_NUMBER, SlotPathId(0), IDC_DRIVER, IDC_EVENT_LOG};
    for (const ControlId id : fields) {
        s.Focus(id);
        s.Press(VK_RETURN);
        EXPECT_FALSE(s.window.IsClosed()) << id;
    }
    EXPECT_TRUE(clicked.empty());

    // A button that had the focus once must not become the default for good.
    EnableWindow(s.Item(StopButtonId(2)), TRUE);
    s.Focus(StopButtonId(2));
    s.Press(VK_RETURN);
    EXPECT_EQ(clicked, std::vector<ControlId>{StopButtonId(2)});
    for (const ControlId id : fields) {
        s.Focus(id);
        s.Press(VK_RETURN);
    }
    EXPECT_EQ(clicked, std::vector<ControlId>{StopButtonId(2)});
    EXPECT_FALSE(s.window.IsClosed());
}

// The close box and the menu's Close (SC_CLOSE), Alt+F4 and Esc ask the
// station, which may keep the window open; WM_CLOSE, what closes a window
// from outside, tells it and closes.
TEST(Win32Window, ClosingAsksTheStationUnlessClosedFromOutside) {
    struct Case {
        const char* how;
        std::function<void(Station&)> close;
        bool operatorAsked;
    };
    const Case cases[] = {
        {"close box", [](Station& s) { PostMessageW(s.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }, true},
        {"Alt+F4", [](Station&) { PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN << 16); }, true},
        {"Esc", [](Station& s) { s.Press(VK_ESCAPE); }, true},
        {"WM_CLOSE", [](Station& s) { PostMessageW(s.Dialog(), WM_CLOSE, 0, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Station s;
        s.Focus(IDC_START);
        std::vector<bool> asked;
        bool letClose = false;
        s.window.Controls().SetCloseHandler([&](bool operatorAsked) {
            asked.push_back(operatorAsked);
            return letClose;
        });
        c.close(s);
        s.window.RunPending();
        EXPECT_EQ(asked, std::vector<bool>{c.operatorAsked});
        EXPECT_EQ(s.window.IsClosed(), !c.operatorAsked);
        if (s.window.IsClosed()) continue;
        letClose = true;
        c.close(s);
        s.window.RunPending();
        EXPECT_TRUE(s.window.IsClosed());
    }
}

// Each text is measured with the font the row holds, laid out as a centred
// static lays out its text: a line wider than the row's face, or more lines
// than its height holds, is clipped on screen.
TEST(Win32Window, EveryTextARowCanShowFitsItsLabel) {
    Station s;
    for (int n = 1; n <= 8; ++n) {
        HWND row = s.Item(StatusLabelId(n));
        RECT face;
        GetClientRect(row, &face);
        HDC dc = GetDC(row);
        for (std::string_view text : test::kRowTexts) {
            s.dialog.display.SetChannelStatus(n, text);
            auto* font = reinterpret_cast<HFONT>(SendMessageW(row, WM_GETFONT, 0, 0));
            LOGFONTW described{};
            GetObjectW(font, sizeof described, &described);
            HGDIOBJ old = SelectObject(dc, font);
            const std::wstring wide = Widen(text);
            RECT needed = face;
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
                      DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT);
            SelectObject(dc, old);
            EXPECT_TRUE(needed.right - needed.left <= face.right && needed.bottom - needed.top <= face.bottom)
                << "row " << n << " \"" << text << "\" needs " << needed.right - needed.left << "x"
                << needed.bottom - needed.top << " at " << -described.lfHeight << " px in " << face.right << "x"
                << face.bottom;
            EXPECT_GE(-described.lfHeight, 7) << text;
        }
        ReleaseDC(row, dc);
        // A short text is drawn at the row's own size again.
        s.dialog.display.SetChannelStatus(n, "READY");
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(s.Item(StatusLabelId(n)), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -13);
    }
}

// What the port-health window showed while it was open, read from a timer of
// its modal loop; then port 3's "Cleared" and OK are clicked.
struct PortHealthSeen {
    std::string before;
    std::string after;
    bool pictured = false;
};
PortHealthSeen* g_portHealthSeen = nullptr;

std::string LineOf(HWND box, int port) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, PortHealthLineId(port), text, 256);
    return Narrow(text);
}

void CALLBACK ClearPortThreeOnceOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(nullptr, L"Port health");
    if (!box || !g_portHealthSeen) return;
    KillTimer(nullptr, timer);
    g_portHealthSeen->before = LineOf(box, 3);
    std::string error;
    g_portHealthSeen->pictured = SavePicture(CaptureWindow(box), "win32-port-health.png", error);
    SendMessageW(GetDlgItem(box, PortClearedId(3)), BM_CLICK, 0, 0);
    g_portHealthSeen->after = LineOf(box, 3);
    SendMessageW(GetDlgItem(box, IDOK_PORT_HEALTH), BM_CLICK, 0, 0);
}

TEST(Win32Window, AFlaggedPortIsAmberUntilClearedInThePortHealthWindowBesideAbout) {
    Station s;
    HMENU menu = GetSystemMenu(s.Dialog(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 4);
    EXPECT_EQ(GetMenuItemID(menu, static_cast<UINT>(count - 3)), IDM_PORTHEALTH);
    wchar_t entry[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 3), entry, 64, MF_BYPOSITION);
    EXPECT_EQ(Narrow(entry), "Port &health...");

    ResultRecord failed;
    failed.channel = failed.device = 3;
    for (int k = 0; k < 3; ++k) s.dialog.portWatch.Finished(failed);
    s.window.RunPending();
    HWND row = s.Item(StatusLabelId(3));
    RECT r;
    GetWindowRect(row, &r);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, r.left + 3, r.bottom - 3), RGB(255, 191, 0));
    std::string error;
    EXPECT_TRUE(s.window.SaveScreenshot("win32-port-flagged.png", error)) << error;
    std::printf("screenshots: win32-port-flagged.png, win32-port-health.png\n");
    wchar_t text[16] = {};
    GetWindowTextW(row, text, 16);
    EXPECT_EQ(Narrow(text), "READY") << "the row keeps its text";

    PortHealthSeen seen;
    g_portHealthSeen = &seen;
    SetTimer(nullptr, 0, 50, ClearPortThreeOnceOpen);
    SendMessageW(s.Dialog(), WM_SYSCOMMAND, IDM_PORTHEALTH, 0);
    g_portHealthSeen = nullptr;
    EXPECT_NE(seen.before.find("FLAGGED: 3 failures in a row"), std::string::npos) << seen.before;
    EXPECT_NE(seen.after.find("Port 3: 0 phones"), std::string::npos) << seen.after;
    EXPECT_TRUE(seen.pictured);
    s.window.RunPending();
    EXPECT_EQ(GetPixel(screen, r.left + 3, r.bottom - 3), RGB(255, 255, 255));
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace tandrel
