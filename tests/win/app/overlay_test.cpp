// Drawing under the grid, through the system menus' commands sent as
// WM_SYSCOMMAND to the main window or to the taskbar entry: the lock and
// what unlocking gives back, hide and show, the hotkeys the menus name, and
// no object left behind. (The opacity steps are the core's table; the keys
// themselves are driven end to end.)
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
    // The main window's child windows are the cluster's controls.
    int VisibleClusterControls() const {
        int n = 0;
        for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) n += IsWindowVisible(c) ? 1 : 0;
        return n;
    }
    void ClickToggle() {
        HWND t = Form1->HiSukeSukeImgEx1->Handle();
        SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        SendMessageW(t, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
        Pump();
    }

    std::vector<std::uint8_t> picture;
    HWND main = nullptr;
};

// Locked from the ordinary band, the window is layered and lets the mouse
// through, stays in front, is cut to the picture alone and shows no
// cluster; the open panel still moves it, and hiding and showing it through
// the taskbar entry keep its place, the panel and the lock. Unlocked, shape,
// band, toggle and styles are what they were.
TEST_F(OverlayTest, LockLetsTheMouseThroughAndUnlockPutsEverythingBack) {
    Start();
    Click(Form1->Button2);  // "移": the panel is open
    ClickToggle();          // "フリー"
    ASSERT_FALSE(Topmost(main));
    const TButtonState toggle = Form1->HiSukeSukeImgEx1->ButtonState();
    const std::vector<std::uint8_t> shape = RegionBytes(WindowRegion(main).get());
    const LONG_PTR ex = ExStyle(main);
    ASSERT_EQ(VisibleClusterControls(), 8);

    Command(main, TForm1::kLockCommand);
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

    RECT at{}, panelAt{};
    GetWindowRect(main, &at);
    GetWindowRect(Form2->Handle(), &panelAt);
    Command(Application.Handle(), TForm1::kHideCommand);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
    EXPECT_TRUE(IsWindowVisible(Application.Handle())) << "the taskbar entry stays";
    Command(Application.Handle(), TForm1::kHideCommand);
    RECT back{}, panelBack{};
    GetWindowRect(main, &back);
    GetWindowRect(Form2->Handle(), &panelBack);
    EXPECT_TRUE(IsWindowVisible(main) && EqualRect(&at, &back));
    EXPECT_TRUE(IsWindowVisible(Form2->Handle()) && EqualRect(&panelAt, &panelBack));
    EXPECT_TRUE(Form1->Overlay().locked && Topmost(main));

    Command(main, TForm1::kLockCommand);
    EXPECT_EQ(RegionBytes(WindowRegion(main).get()), shape);
    EXPECT_EQ(ExStyle(main), ex);
    EXPECT_FALSE(Topmost(main));
    EXPECT_EQ(Form1->HiSukeSukeImgEx1->ButtonState(), toggle);
    EXPECT_EQ(VisibleClusterControls(), 8);
    EXPECT_TRUE(Form1->Plate->Visible());
    EXPECT_TRUE(errors.empty());
}

// Both system menus list the commands with their keys, but not a key
// another program holds, which is no error; on exit the keys are free again
// and the entry's menu is the system's.
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

    // A hotkey comes to the main window as WM_HOTKEY, with its id; the
    // menus show the lock.
    SendMessageW(main, WM_HOTKEY, 1, MAKELPARAM(kMods, VK_SPACE));
    Pump();
    EXPECT_TRUE(ExStyle(main) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(GetMenuState(entry, TForm1::kLockCommand, MF_BYCOMMAND) & MF_CHECKED);

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

// Lock, unlock, hide, show, fainter, stronger, with the panel open.
TEST_F(OverlayTest, ObjectCountsStayFlatOver200Cycles) {
    Start();
    Click(Form1->Button2);
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
    const long gdiAfter = framework_test::LiveGdiObjects();
    const long userAfter = framework_test::LiveUserObjects();
    EXPECT_EQ(gdiAfter, gdi);
    EXPECT_EQ(userAfter, user);
    std::printf("GDI objects %ld before and %ld after 200 cycles; USER objects %ld and %ld\n", gdi, gdiAfter, user,
                userAfter);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
