// Drawing under the grid: the system menus' commands, sent as WM_SYSCOMMAND
// to the main window or to the taskbar entry, lock the grid (layered, the
// mouse passes through, the shape is the picture alone, the cluster away)
// and unlock it into exactly the state before; hide and show it with the
// panel; make it fainter and stronger. The hotkeys the menus name, and no
// object left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_test_util.h"
#include "tests/win/framework/gdi_count_test_util.h"
#include "tests/win/framework/user_count_test_util.h"

namespace {

using namespace app_test;

constexpr UINT kMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

LONG_PTR ExStyle(HWND h) { return GetWindowLongPtrW(h, GWL_EXSTYLE); }
bool Topmost(HWND h) { return (ExStyle(h) & WS_EX_TOPMOST) != 0; }

// The layered window's alpha, or -1 when it has none.
int Alpha(HWND h) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(ExStyle(h) & WS_EX_LAYERED) || !GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) ||
        !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    if (!GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND)) return L"(none)";
    return text;
}

// The client area's pixels as the window paints them.
std::vector<COLORREF> ClientPixels(HWND h) {
    RECT c{};
    GetClientRect(h, &c);
    HDC dc = GetDC(h);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.right, -c.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, c.right, c.bottom, dc, 0, 0, SRCCOPY);
    std::vector<COLORREF> px(static_cast<const COLORREF*>(bits),
                             static_cast<const COLORREF*>(bits) + std::size_t(c.right) * c.bottom);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(h, dc);
    return px;
}

class OverlayTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        SetCursorPos(1270, 1015);  // the real pointer stays off the windows
        // A coarse grid: each lock and unlock makes the shape anew.
        picture = GridBmp(747, 529, 48, rastel::Bgr{235, 206, 135});
        WriteFile("RastelS.bmp", picture);
    }
    void Start() {
        CreateForms();
        ShowMain();
        ASSERT_TRUE(errors.empty());
        main = Form1->Handle();
    }
    void Command(HWND target, UINT id) {
        SendMessageW(target, WM_SYSCOMMAND, id, 0);
        Pump();
    }
    std::vector<TWinControl*> Cluster() const {
        return {Form1->HiSukeSukeImgEx1, Form1->Button1,      Form1->CheckBox1,    Form1->ComboBox1,
                Form1->Button2,          Form1->RadioButton2, Form1->RadioButton1, Form1->RadioButton3};
    }
    int VisibleClusterControls() const {
        int n = 0;
        for (TWinControl* c : Cluster()) n += IsWindowVisible(c->Handle()) ? 1 : 0;
        return n;
    }
    void ClickToggle() {
        HWND t = Form1->HiSukeSukeImgEx1->Handle();
        SendMessageW(t, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        SendMessageW(t, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
        SendMessageW(t, WM_MOUSELEAVE, 0, 0);  // the pointer is away again, as the real one is
        Pump();
    }

    std::vector<std::uint8_t> picture;
    HWND main = nullptr;
};

// From either band: locked, the window is layered and lets the mouse
// through, stays in front, is cut to the picture alone and shows no cluster,
// while the open panel still moves it; unlocked, shape, band, toggle, styles
// and pixels are what they were.
TEST_F(OverlayTest, LockLetsTheMouseThroughAndUnlockPutsEverythingBack) {
    Start();
    Click(Form1->Button2);  // "移": the panel is open
    Pump();
    for (bool startTopmost : {true, false}) {
        SCOPED_TRACE(startTopmost ? "from 常時前" : "from フリー");
        if (Topmost(main) != startTopmost) ClickToggle();
        ASSERT_EQ(Topmost(main), startTopmost);
        SetActiveWindow(main);  // the grid active, its focus where the user left it
        Pump();
        const TButtonState toggle = Form1->HiSukeSukeImgEx1->ButtonState();
        const std::vector<std::uint8_t> shape = RegionBytes(WindowRegion(main).get());
        const LONG_PTR ex = ExStyle(main);
        const std::vector<COLORREF> pixels = ClientPixels(main);
        ASSERT_EQ(VisibleClusterControls(), 8);

        Command(main, TForm1::kLockCommand);
        EXPECT_TRUE(Form1->Overlay().locked);
        EXPECT_EQ(ExStyle(main) & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
        EXPECT_EQ(Alpha(main), 255);
        EXPECT_TRUE(Topmost(main)) << "a locked grid stays in front of what one draws in";
        UniqueRegion alone = ExpectedRegion(picture, ClientOffset(main));
        EXPECT_TRUE(SameRegion(WindowRegion(main).get(), alone.get())) << "the picture alone, no plate";
        EXPECT_EQ(VisibleClusterControls(), 0);
        EXPECT_FALSE(Form1->Plate->Visible());
        const int top = Form1->Top();
        Click(Form2->Button3);  // "↓"
        EXPECT_EQ(Form1->Top(), top + 1) << "the panel still nudges the locked grid";
        Click(Form2->Button1);  // "↑"

        Command(main, TForm1::kLockCommand);
        EXPECT_FALSE(Form1->Overlay().locked);
        EXPECT_EQ(RegionBytes(WindowRegion(main).get()), shape);
        EXPECT_EQ(ExStyle(main), ex);
        EXPECT_EQ(Alpha(main), -1);
        EXPECT_EQ(Topmost(main), startTopmost);
        EXPECT_EQ(Form1->HiSukeSukeImgEx1->ButtonState(), toggle);
        EXPECT_EQ(VisibleClusterControls(), 8);
        EXPECT_TRUE(Form1->Plate->Visible());
        // The nudge activated the panel; back on the grid, the focus is
        // where it was before the lock.
        SetActiveWindow(main);
        Pump();
        EXPECT_TRUE(ClientPixels(main) == pixels) << "the window looks as before";
    }
    EXPECT_TRUE(errors.empty());
}

// Below 100 % the window is layered at that opacity, locked or not; back at
// 100 % and unlocked it is not layered at all. The menus grey the end reached.
TEST_F(OverlayTest, OpacityIsTheLayeredWindowsAlpha) {
    Start();
    const LONG_PTR ex = ExStyle(main);
    const HMENU menu = GetSystemMenu(main, FALSE);
    EXPECT_TRUE(GetMenuState(menu, TForm1::kStrongerCommand, MF_BYCOMMAND) & MF_GRAYED);
    Command(main, TForm1::kFainterCommand);
    EXPECT_EQ(Alpha(main), 204);
    EXPECT_FALSE(ExStyle(main) & WS_EX_TRANSPARENT) << "faint, the grid still takes its clicks";
    Command(main, TForm1::kLockCommand);
    EXPECT_EQ(Alpha(main), 204);
    EXPECT_TRUE(ExStyle(main) & WS_EX_TRANSPARENT);
    for (int i = 0; i < 4; ++i) Command(main, TForm1::kFainterCommand);
    EXPECT_EQ(Alpha(main), 51);
    EXPECT_TRUE(GetMenuState(menu, TForm1::kFainterCommand, MF_BYCOMMAND) & MF_GRAYED);
    Command(main, TForm1::kLockCommand);
    EXPECT_EQ(Alpha(main), 51);
    EXPECT_FALSE(ExStyle(main) & WS_EX_TRANSPARENT);
    for (int i = 0; i < 4; ++i) Command(main, TForm1::kStrongerCommand);
    EXPECT_EQ(Alpha(main), -1);
    EXPECT_EQ(ExStyle(main), ex);
}

// Hidden, the grid and its open panel are gone and the taskbar entry stays;
// shown, both are back where they were, in the same band, still locked.
TEST_F(OverlayTest, HideAndShowKeepPlaceBandLockAndPanel) {
    Start();
    Click(Form1->Button2);
    Pump();
    Command(main, TForm1::kLockCommand);
    RECT before{}, panelBefore{};
    GetWindowRect(main, &before);
    GetWindowRect(Form2->Handle(), &panelBefore);

    Command(main, TForm1::kHideCommand);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
    EXPECT_TRUE(IsWindowVisible(Application.Handle())) << "the taskbar entry stays";
    // The way back is the entry's menu.
    Command(Application.Handle(), TForm1::kHideCommand);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(IsWindowVisible(Form2->Handle()));
    RECT after{}, panelAfter{};
    GetWindowRect(main, &after);
    GetWindowRect(Form2->Handle(), &panelAfter);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(EqualRect(&panelBefore, &panelAfter));
    EXPECT_TRUE(Topmost(main));
    EXPECT_TRUE(ExStyle(main) & WS_EX_TRANSPARENT) << "still locked";

    // A closed panel stays closed.
    Form2->Hide();
    Command(main, TForm1::kHideCommand);
    Command(main, TForm1::kHideCommand);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
}

// Both system menus list the commands with their keys, but not a key
// another program holds, which is no error; the entry's commands act on the
// grid; on exit the keys are free again and the entry's menu is the
// system's.
TEST_F(OverlayTest, BothSystemMenusOfferTheCommandsWithTheKeysHeld) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 0xB000, kMods, VK_HOME)) << "Ctrl+Alt+Shift+Home is free here";
    Start();
    UnregisterHotKey(nullptr, 0xB000);
    const HMENU entry = GetSystemMenu(Application.Handle(), FALSE);
    for (HMENU menu : {GetSystemMenu(main, FALSE), entry}) {
        EXPECT_EQ(MenuText(menu, TForm1::kLockCommand), L"ロック (クリック透過)\tCtrl+Alt+Shift+Space");
        EXPECT_EQ(MenuText(menu, TForm1::kHideCommand), L"隠す / 表示");
        EXPECT_EQ(MenuText(menu, TForm1::kFainterCommand), L"薄く\tCtrl+Alt+Shift+Page Down");
        EXPECT_EQ(MenuText(menu, TForm1::kStrongerCommand), L"濃く\tCtrl+Alt+Shift+Page Up");
    }
    EXPECT_TRUE(errors.empty());

    Command(Application.Handle(), TForm1::kLockCommand);
    EXPECT_TRUE(ExStyle(main) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(GetMenuState(entry, TForm1::kLockCommand, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(GetSystemMenu(main, FALSE), TForm1::kLockCommand, MF_BYCOMMAND) & MF_CHECKED);
    // The hotkeys come to the main window as WM_HOTKEY, id for id.
    SendMessageW(main, WM_HOTKEY, 1, MAKELPARAM(kMods, VK_SPACE));
    EXPECT_FALSE(Form1->Overlay().locked);

    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
    EXPECT_EQ(GetMenuState(GetSystemMenu(Application.Handle(), FALSE), TForm1::kLockCommand, MF_BYCOMMAND), UINT(-1));
    for (UINT key : {VK_SPACE, VK_NEXT, VK_PRIOR}) {
        EXPECT_TRUE(RegisterHotKey(nullptr, 0xB001, kMods, key)) << "key " << key << " given back";
        UnregisterHotKey(nullptr, 0xB001);
    }
}

TEST_F(OverlayTest, ObjectCountsStayFlatOver200Cycles) {
    Start();
    Click(Form1->Button2);
    Pump();
    auto cycle = [this] {
        for (UINT id : {TForm1::kLockCommand, TForm1::kLockCommand, TForm1::kHideCommand, TForm1::kHideCommand,
                        TForm1::kFainterCommand, TForm1::kStrongerCommand})
            SendMessageW(main, WM_SYSCOMMAND, id, 0);
        Pump();
    };
    cycle();  // what the system caches on first use
    const long gdi = framework_test::LiveGdiObjects();
    const long user = framework_test::LiveUserObjects();
    ASSERT_GT(gdi, 0);
    ASSERT_GT(user, 0);
    for (int i = 0; i < 200; ++i) cycle();
    EXPECT_EQ(framework_test::LiveGdiObjects(), gdi);
    EXPECT_EQ(framework_test::LiveUserObjects(), user);
    std::printf("GDI objects %ld before and %ld after 200 cycles; USER objects %ld and %ld\n", gdi,
                framework_test::LiveGdiObjects(), user, framework_test::LiveUserObjects());
    EXPECT_TRUE(errors.empty());
}

}  // namespace
