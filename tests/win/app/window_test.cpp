// The main window's behaviour: band, centring, dragging answers, the exit
// button, and the fine-adjustment panel's placement and nudges.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app_test_util.h"
#include "tests/win/win_test_util.h"
#include "core/catalog.h"

namespace {

using namespace app_test;

// Records the moves and z-order requests the system delivers to one window.
struct WindowPosLog {
    static inline HWND target = nullptr;
    static inline std::vector<POINT> moves;
    static inline std::vector<UINT> changingFlags;
    static inline std::vector<HWND> changingAfter;
    static inline int sysCommands = 0;
    HHOOK hook = nullptr;

    explicit WindowPosLog(HWND hwnd) {
        target = hwnd;
        moves.clear();
        changingFlags.clear();
        changingAfter.clear();
        sysCommands = 0;
        hook = SetWindowsHookExW(WH_CALLWNDPROC, &Proc, nullptr, GetCurrentThreadId());
    }
    ~WindowPosLog() {
        UnhookWindowsHookEx(hook);
        target = nullptr;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
        if (code == HC_ACTION && m->hwnd == target) {
            if (m->message == WM_WINDOWPOSCHANGED) {
                const auto* wp = reinterpret_cast<const WINDOWPOS*>(m->lParam);
                const POINT p{wp->x, wp->y};
                if (!(wp->flags & SWP_NOMOVE) && (moves.empty() || moves.back().x != p.x || moves.back().y != p.y))
                    moves.push_back(p);
            } else if (m->message == WM_WINDOWPOSCHANGING) {
                const auto* wp = reinterpret_cast<const WINDOWPOS*>(m->lParam);
                changingFlags.push_back(wp->flags);
                changingAfter.push_back(wp->hwndInsertAfter);
            } else if (m->message == WM_SYSCOMMAND) {
                ++sysCommands;
            }
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
};

std::vector<int> Pos(POINT p) { return {p.x, p.y}; }

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool TopMost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

using win_test::SettledRect;

class WindowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteDefaultImages();
        CreateForms();
        ShowMain();
        ASSERT_TRUE(errors.empty());
    }
};

TEST_F(WindowTest, FirstShowingCentresOnTheVirtualScreen) {
    const RECT r = WindowRect(Form1->Handle());
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2);
    // The window's size does not follow the picture.
    RECT c{};
    GetClientRect(Form1->Handle(), &c);
    EXPECT_EQ((std::vector<int>{int(c.right), int(c.bottom)}), (std::vector<int>{747, 529}));
    // Later showings keep the place.
    Form1->SetBounds(r.left + 30, r.top + 20, w, h);
    Form1->Hide();
    Form1->Show();
    EXPECT_EQ(WindowRect(Form1->Handle()).left, r.left + 30);
}

// Desktop centring counts the virtual screen's origin (monitors left of or
// above the primary one make it negative).
TEST(DesktopCentre, IncludesTheVirtualScreenOrigin) {
    EXPECT_EQ(Pos(DesktopCenterPosition(0, 0, 1280, 1024, 753, 554)), (std::vector<int>{263, 235}));
    EXPECT_EQ(Pos(DesktopCenterPosition(-1920, 0, 3200, 1080, 753, 554)), (std::vector<int>{-1920 + 1223, 263}));
    EXPECT_EQ(Pos(DesktopCenterPosition(0, -300, 1280, 1324, 753, 554)), (std::vector<int>{263, -300 + 385}));
    // Larger than the screen: truncated toward zero, as the integer division does.
    EXPECT_EQ(Pos(DesktopCenterPosition(0, 0, 640, 480, 753, 554)), (std::vector<int>{-56, -37}));
}

TEST_F(WindowTest, HitTestIsACaptionOnlyWhileTheLeftButtonIsDown) {
    HWND h = Form1->Handle();
    const RECT r = WindowRect(h);
    const LPARAM inside = MAKELPARAM(r.left + 100, r.top + 100);
    const LPARAM onCaption = MAKELPARAM(r.left + 50, r.top + 5);

    // The real button is up: no caption, no client area, wherever the point is.
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTNOWHERE);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, onCaption), HTNOWHERE);

    SHORT state = 0;
    std::vector<int> asked;
    Mouse.ButtonsSwapped = [] { return false; };  // whatever the machine's user chose
    Mouse.AsyncKeyState = [&](int key) {
        asked.push_back(key);
        return state;
    };
    state = SHORT(0x8000);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTCAPTION);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(30000, 30000)), HTCAPTION);
    state = SHORT(0x8001);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTCAPTION);
    state = 1;  // pressed since the last call, but up now
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTNOWHERE);
    state = 0;
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, onCaption), HTNOWHERE);
    EXPECT_EQ(asked, std::vector<int>(5, VK_LBUTTON));

    // The controls answer for themselves.
    state = SHORT(0x8000);
    const RECT b = WindowRect(Form1->Button1->Handle());
    EXPECT_EQ(SendMessageW(Form1->Button1->Handle(), WM_NCHITTEST, 0, MAKELPARAM(b.left + 3, b.top + 3)), HTCLIENT);
}

// A left-handed user has swapped the buttons: the primary one is the right
// physical button, which is the one GetAsyncKeyState must be asked about.
TEST_F(WindowTest, SwappedButtonsDragWithThePrimaryOne) {
    HWND h = Form1->Handle();
    const RECT r = WindowRect(h);
    const LPARAM inside = MAKELPARAM(r.left + 100, r.top + 100);
    Mouse.ButtonsSwapped = [] { return true; };
    SHORT right = 0, left = 0;
    Mouse.AsyncKeyState = [&](int key) { return key == VK_RBUTTON ? right : key == VK_LBUTTON ? left : SHORT(0); };
    right = SHORT(0x8000);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTCAPTION);
    right = 0;
    left = SHORT(0x8000);  // the secondary button: a context click, no drag
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, inside), HTNOWHERE);
}

// Under a high-contrast theme (here a black one: white text on black) the
// plate, the radio buttons and the check box stand in the theme's window
// colours: no yellow is left, and their text is the theme's text colour.
TEST_F(WindowTest, HighContrastDrawsTheClusterInTheThemesColours) {
    rastel::SystemColorTable black = rastel::CurrentSystemColors();
    const rastel::SystemColorTable saved = black;
    black.rgb[COLOR_WINDOW] = RGB(0, 0, 0);
    black.rgb[COLOR_WINDOWTEXT] = RGB(255, 255, 255);
    rastel::SetSystemColors(black);
    PretendHighContrast(true);
    SendMessageW(Form1->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    Pump();
    WindowDC dc(Form1->Handle());
    auto colours = [&](const TControl& c) {
        std::set<COLORREF> seen;
        const RECT r = c.BoundsRect();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) seen.insert(GetPixel(dc.get(), x, y));
        return seen;
    };
    const COLORREF yellow = RGB(235, 202, 111);
    for (const TControl* c : {static_cast<TControl*>(Form1->CheckBox1), static_cast<TControl*>(Form1->RadioButton1)}) {
        const std::set<COLORREF> seen = colours(*c);
        EXPECT_EQ(seen.count(yellow), 0u) << c->Name();
        EXPECT_EQ(seen.count(RGB(0, 0, 0)), 1u) << c->Name();
        EXPECT_EQ(seen.count(RGB(255, 255, 255)), 1u) << c->Name() << ": no text in the theme's colour";
    }
    const RECT plate = Form1->PlateRect();
    EXPECT_EQ(GetPixel(dc.get(), plate.left + 2, plate.bottom - 2), RGB(0, 0, 0));

    // Switched off again: as before, yellow behind the boxes.
    PretendHighContrast(std::nullopt);
    rastel::SetSystemColors(saved);
    SendMessageW(Form1->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    Pump();
    EXPECT_EQ(colours(*Form1->CheckBox1).count(yellow), 1u);
    EXPECT_EQ(GetPixel(dc.get(), plate.left + 2, plate.bottom - 2), rastel::GridLineColor(0));
}

TEST_F(WindowTest, DoubleClickOnTheSurfaceDoesNothing) {
    HWND h = Form1->Handle();
    const RECT before = WindowRect(h);
    WindowPosLog log(h);
    // By default a double click on the system menu's place closes the window.
    SendMessageW(h, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(before.left + 5, before.top + 5));
    SendMessageW(h, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 50, before.top + 5));
    Pump();
    EXPECT_EQ(log.sysCommands, 0);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_TRUE(SameRect(before, WindowRect(h)));
}

TEST_F(WindowTest, SetWindowTopMostSwitchesTheBandAndActivates) {
    HWND h = Form1->Handle();
    EXPECT_TRUE(TopMost(h));
    TForm other(nullptr);
    other.SetBounds(10, 10, 200, 100);
    other.Show();
    Pump();
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    const RECT before = WindowRect(h);

    WindowPosLog log(h);
    TForm1::SetWindowTopMost(h, false);
    EXPECT_FALSE(TopMost(h));
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_TRUE(SameRect(before, WindowRect(h)));
    ASSERT_FALSE(log.changingFlags.empty());
    EXPECT_EQ(log.changingAfter[0], HWND_NOTOPMOST);
    EXPECT_EQ(log.changingFlags[0] & (SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE), UINT(SWP_NOMOVE | SWP_NOSIZE));

    SetActiveWindow(other.Handle());
    log.changingFlags.clear();
    log.changingAfter.clear();
    TForm1::SetWindowTopMost(h, true);
    EXPECT_TRUE(TopMost(h));
    EXPECT_EQ(GetActiveWindow(), h);
    ASSERT_FALSE(log.changingFlags.empty());
    EXPECT_EQ(log.changingAfter[0], HWND_TOPMOST);
    EXPECT_TRUE(SameRect(before, WindowRect(h)));
}

// "終了" ends the message loop at once, without a question.
TEST_F(WindowTest, ExitButtonEndsTheMessageLoop) {
    static bool timedOut = false;
    timedOut = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        timedOut = true;
        PostQuitMessage(0);
    });
    PostMessageW(Form1->Button1->Handle(), BM_CLICK, 0, 0);
    Application.Run();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(errors.empty());
}

// Alt+F4 (pressed with the focus on a control) and the system menu's close
// command reach the main window through its own message procedure and end
// the loop too.
TEST_F(WindowTest, AltF4AndTheSystemMenuCloseEndTheMessageLoop) {
    static bool timedOut = false;
    for (const char* way : {"Alt+F4", "system menu"}) {
        SCOPED_TRACE(way);
        timedOut = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
            timedOut = true;
            PostQuitMessage(0);
        });
        if (std::string(way) == "Alt+F4")
            PostMessageW(Form1->Button1->Handle(), WM_SYSKEYDOWN, VK_F4, LPARAM(1) | (LPARAM(1) << 29));
        else
            PostMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Application.Run();
        KillTimer(nullptr, timer);
        EXPECT_FALSE(timedOut);
        EXPECT_TRUE(Application.Terminated());
        EXPECT_TRUE(IsWindow(Form1->Handle()));
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(WindowTest, MoveButtonPlacesThePanelBesideTheGrid) {
    Form1->SetBounds(100, 80, Form1->Width(), Form1->Height());
    Click(Form1->Button2);
    EXPECT_TRUE(IsWindowVisible(Form2->Handle()));
    RECT p = WindowRect(Form2->Handle());
    EXPECT_EQ((std::vector<int>{int(p.left), int(p.top), int(p.right - p.left)}), (std::vector<int>{840, 99, 88}));
    EXPECT_EQ(Form2->Width(), 88);
    EXPECT_FALSE(TopMost(Form2->Handle()));
    const int panelHeight = p.bottom - p.top;
    p = SettledRect(Form2->Handle());

    // Nudging or moving the main window leaves the panel where it is.
    Click(Form2->Button1);
    Form1->SetLeft(300);
    EXPECT_TRUE(SameRect(p, WindowRect(Form2->Handle())));
    // Under Wine the window manager's late confirmation of one move can undo
    // the next move of the same window: let the main window come to rest.
    const RECT main = SettledRect(Form1->Handle());

    // Opened again while shown: placed anew from where the main window is now,
    // top first, then left, and brought to the front of its band. The moves
    // are checked as asked for, since a late confirmation can hit them too.
    std::vector<std::vector<int>> expected;
    if (main.top + 19 != p.top) expected.push_back({int(p.left), int(main.top) + 19});
    if (main.left + 740 != p.left) expected.push_back({int(main.left) + 740, int(main.top) + 19});
    ASSERT_FALSE(expected.empty()) << "the main window went back to where it was";
    TForm other(nullptr);
    other.SetBounds(800, 60, 300, 200);
    other.Show();
    Pump();
    ASSERT_TRUE(IsAbove(other.Handle(), Form2->Handle()));
    {
        WindowPosLog panelMoves(Form2->Handle());
        Click(Form1->Button2);
        EXPECT_TRUE(IsAbove(Form2->Handle(), other.Handle()));
        std::vector<std::vector<int>> moves;
        for (POINT m : WindowPosLog::moves) moves.push_back(Pos(m));
        EXPECT_EQ(moves, expected);
    }

    // The close box only hides the panel; "移" shows it again with width 88.
    const HWND panel = Form2->Handle();
    SendMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_TRUE(IsWindow(panel));
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    Form2->SetWidth(150);
    Click(Form1->Button2);
    EXPECT_TRUE(IsWindowVisible(Form2->Handle()));
    EXPECT_EQ(WindowRect(Form2->Handle()).right - WindowRect(Form2->Handle()).left, 88);
    EXPECT_EQ(WindowRect(Form2->Handle()).bottom - WindowRect(Form2->Handle()).top, panelHeight);
}

// Each button moves the main window by one pixel; the diagonals make two
// moves, the vertical one first.
TEST_F(WindowTest, NudgesMoveOnePixelVerticalFirst) {
    Form1->SetBounds(200, 150, Form1->Width(), Form1->Height());
    Click(Form1->Button2);
    struct Nudge {
        TButton* button;
        int dx, dy;
    };
    const std::vector<Nudge> nudges = {
        {Form2->Button1, 0, -1}, {Form2->Button2, 1, 0},  {Form2->Button3, 0, 1},  {Form2->Button4, -1, 0},
        {Form2->Button5, 1, -1}, {Form2->Button6, 1, 1}, {Form2->Button7, -1, -1}, {Form2->Button8, -1, 1},
    };
    for (const Nudge& n : nudges) {
        SCOPED_TRACE(n.button->Name());
        const RECT before = WindowRect(Form1->Handle());
        std::vector<std::vector<int>> expected;
        if (n.dy) expected.push_back({int(before.left), int(before.top) + n.dy});
        if (n.dx) expected.push_back({int(before.left) + n.dx, int(before.top) + n.dy});
        WindowPosLog log(Form1->Handle());
        Click(n.button);
        std::vector<std::vector<int>> moves;
        for (POINT p : WindowPosLog::moves) moves.push_back(Pos(p));
        EXPECT_EQ(moves, expected);
        const RECT after = WindowRect(Form1->Handle());
        EXPECT_EQ((std::vector<int>{int(after.left), int(after.top)}),
                  (std::vector<int>{int(before.left) + n.dx, int(before.top) + n.dy}));
        EXPECT_EQ((std::vector<int>{Form1->Left(), Form1->Top()}),
                  (std::vector<int>{int(after.left), int(after.top)}));
    }
    // Nothing holds the window on the screen.
    Form1->SetBounds(-Form1->Width() - 5, 10, Form1->Width(), Form1->Height());
    Click(Form2->Button4);
    EXPECT_EQ(WindowRect(Form1->Handle()).left, -Form1->Width() - 6);
}

}  // namespace
