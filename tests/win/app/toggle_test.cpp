// The stay-on-top toggle on the real main window, driven by mouse messages:
// the band follows the toggle after every mouse action, whether or not the
// action ends in a click.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app_test_util.h"
#include "controls/HiButton.h"

namespace {

using namespace app_test;

bool TopMost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class ToggleTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        SetCursorPos(1270, 1015);  // the real pointer stays off the windows
        WriteDefaultImages();
        CreateForms();
        ShowMain();
        ASSERT_TRUE(errors.empty());
        toggle = Form1->HiSukeSukeImgEx1;
        ASSERT_NE(toggle, nullptr);
        main = Form1->Handle();
        clicks = 0;
        // Count clicks without changing what the click does.
        auto click = toggle->OnClick.handler;
        toggle->OnClick.handler = [this, click](TObject* s) {
            ++clicks;
            click(s);
        };
    }

    void Send(UINT msg, WPARAM keys, int x, int y) {
        SendMessageW(toggle->Handle(), msg, keys, MAKELPARAM(WORD(short(x)), WORD(short(y))));
    }
    void Hover() { Send(WM_MOUSEMOVE, 0, 20, 10); }
    void LeftClick() {
        Hover();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 10);
        Send(WM_LBUTTONUP, 0, 20, 10);
        Pump();
    }
    void DoubleClick() {
        Hover();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 10);
        Send(WM_LBUTTONUP, 0, 20, 10);
        Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 10);
        Send(WM_LBUTTONUP, 0, 20, 10);
        Pump();
    }
    void RightClick() {
        Hover();
        Send(WM_RBUTTONDOWN, MK_RBUTTON, 20, 10);
        Send(WM_RBUTTONUP, 0, 20, 10);
        Pump();
    }
    void MiddleClick() {
        Hover();
        Send(WM_MBUTTONDOWN, MK_MBUTTON, 20, 10);
        Send(WM_MBUTTONUP, 0, 20, 10);
        Pump();
    }
    // Pressed on the toggle, dragged off it and released there.
    void PressReleasedOutside(UINT down, UINT up, WPARAM key) {
        Hover();
        Send(down, key, 20, 10);
        Send(WM_MOUSEMOVE, key, 80, 40);
        Send(up, 0, 80, 40);
        Pump();
    }

    // The toggle's state, its look and the window's band say the same.
    ::testing::AssertionResult Agree() {
        const bool on = toggle->ButtonState() == bstOn;
        if (toggle->Raised() == on)
            return ::testing::AssertionFailure() << "the look does not match the state " << (on ? "on" : "off");
        if (TopMost(main) != on)
            return ::testing::AssertionFailure()
                   << "the toggle is " << (on ? "on" : "off") << " but the window is "
                   << (TopMost(main) ? "topmost" : "in the ordinary band");
        return ::testing::AssertionSuccess();
    }

    THiSukeSukeImgEx* toggle = nullptr;
    HWND main = nullptr;
    int clicks = 0;
};

TEST_F(ToggleTest, StartsOnWithTheWindowTopmost) {
    EXPECT_EQ(toggle->ButtonState(), bstOn);
    EXPECT_FALSE(toggle->Raised());
    EXPECT_TRUE(TopMost(main));
    EXPECT_TRUE(IsWindowVisible(toggle->Handle()));
    EXPECT_EQ(GetParent(toggle->Handle()), main);
    // First in the tab order of the window.
    EXPECT_EQ(toggle->TabOrder(), 0);
}

// The composed face reaches the main window, in the colour of each look
// (read where no caption is drawn: the face's top row).
TEST_F(ToggleTest, ShowsItsLookOnTheWindow) {
    auto facePixel = [this] {
        for (int i = 0; i < 100 && !toggle->FirstPaintDone(); ++i) {
            Pump();
            Sleep(5);
        }
        // Let every pending paint (the window's and the toggle's) land first.
        for (int i = 0; i < 5; ++i) {
            Pump();
            Sleep(10);
        }
        HDC dc = GetDC(toggle->Handle());
        const COLORREF c = GetPixel(dc, 20, 3);
        ReleaseDC(toggle->Handle(), dc);
        return TColor(c);
    };
    // Opaque at ratio 255: the colour weighed by 255/256, the background by 1/256.
    auto opaque = [](TColor c) {
        const TColor rgb = rastel::ColorToRGB(c);
        return rastel::RGBColor(std::uint8_t(rastel::RedOf(rgb) * 255 >> 8),
                                std::uint8_t(rastel::GreenOf(rgb) * 255 >> 8),
                                std::uint8_t(rastel::BlueOf(rgb) * 255 >> 8));
    };
    EXPECT_EQ(facePixel(), rastel::RGBColor(232, 208, 227));
    LeftClick();
    EXPECT_EQ(facePixel(), opaque(clBtnFace));
    LeftClick();
    EXPECT_EQ(facePixel(), rastel::RGBColor(232, 208, 227));
}

TEST_F(ToggleTest, ClicksSwitchTheBand) {
    LeftClick();
    EXPECT_EQ(toggle->ButtonState(), bstOff);
    EXPECT_TRUE(toggle->Raised());
    EXPECT_FALSE(TopMost(main));
    EXPECT_EQ(clicks, 1);

    // Another window can now be put above the grid.
    TForm other(nullptr);
    other.SetBounds(10, 10, 200, 100);
    other.Show();
    Pump();
    EXPECT_TRUE(IsAbove(other.Handle(), main));

    LeftClick();
    EXPECT_EQ(toggle->ButtonState(), bstOn);
    EXPECT_TRUE(TopMost(main));
    EXPECT_TRUE(IsAbove(main, other.Handle())) << "back in front of the ordinary window";
    EXPECT_EQ(clicks, 2);
}

// The second press of a double click switches the toggle without a click;
// the release still brings the band along.
TEST_F(ToggleTest, DoubleClickLeavesToggleAndBandAgreeing) {
    for (TButtonState start : {bstOn, bstOff}) {
        SCOPED_TRACE(start == bstOn ? "from on" : "from off");
        if (toggle->ButtonState() != start) LeftClick();
        ASSERT_TRUE(Agree());
        clicks = 0;
        DoubleClick();
        EXPECT_EQ(toggle->ButtonState(), start) << "switched twice";
        EXPECT_EQ(clicks, 1);
        EXPECT_TRUE(Agree());
    }
}

TEST_F(ToggleTest, RightAndMiddleClicksLeaveToggleAndBandAgreeing) {
    RightClick();
    EXPECT_EQ(toggle->ButtonState(), bstOff);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(Agree());
    RightClick();
    EXPECT_EQ(toggle->ButtonState(), bstOn);
    EXPECT_TRUE(Agree());
    MiddleClick();
    EXPECT_EQ(toggle->ButtonState(), bstOff);
    EXPECT_TRUE(Agree());
    MiddleClick();
    EXPECT_TRUE(Agree());
    EXPECT_EQ(clicks, 0);
}

// A press taken back outside changes neither the toggle nor the band.
TEST_F(ToggleTest, PressReleasedOutsideChangesNothing) {
    for (TButtonState start : {bstOn, bstOff}) {
        SCOPED_TRACE(start == bstOn ? "from on" : "from off");
        if (toggle->ButtonState() != start) LeftClick();
        clicks = 0;
        PressReleasedOutside(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
        EXPECT_EQ(toggle->ButtonState(), start);
        EXPECT_EQ(TopMost(main), start == bstOn);
        EXPECT_TRUE(Agree());
        PressReleasedOutside(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
        EXPECT_EQ(toggle->ButtonState(), start);
        EXPECT_TRUE(Agree());
        EXPECT_EQ(clicks, 0);
    }
}

// Whatever the order of mouse actions, the two never part.
TEST_F(ToggleTest, AnySequenceOfMouseActionsKeepsThemTogether) {
    const std::vector<std::string> steps = {"double", "right",   "click",  "outside", "double", "double", "middle",
                                            "click",  "outside", "right",  "double",  "click",  "right",  "double"};
    for (const std::string& s : steps) {
        if (s == "click")
            LeftClick();
        else if (s == "double")
            DoubleClick();
        else if (s == "right")
            RightClick();
        else if (s == "middle")
            MiddleClick();
        else
            PressReleasedOutside(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
        ASSERT_TRUE(Agree()) << "after " << s;
    }
}

}  // namespace
