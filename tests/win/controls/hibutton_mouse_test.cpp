// The buttons on a real form, driven by window messages: push and toggle
// state machines, groups, focus, window styles and the background snapshot.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/HiButton.h"
#include "hibutton_test_util.h"

using controls_test::Pos;

namespace {

class HiMouse : public controls_test::HiTest {
protected:
    void SetUp() override {
        HiTest::SetUp();
        SetCursorPos(1250, 1000);  // the real pointer stays away from the test windows
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 320, 240);
        form->HandleNeeded();
    }
    void TearDown() override {
        form.reset();
        HiTest::TearDown();
    }

    template <class T = THiSukeSukeImgEx>
    T* Add(TButtonStyle style, int left = 10, int top = 10) {
        auto* b = new T(form.get());
        b->SetParent(form.get());
        b->SetBounds(left, top, 44, 20);
        b->SetButtonStyle(style);
        b->OnClick.handler = [this](TObject* s) { log.push_back(Who(s) + "click"); };
        b->OnDblClick.handler = [this](TObject* s) { log.push_back(Who(s) + "dblclick"); };
        b->OnMouseDown.handler = [this](TObject* s, TMouseButton, TShiftState, int, int) {
            log.push_back(Who(s) + "down");
        };
        b->OnMouseUp.handler = [this](TObject* s, TMouseButton, TShiftState, int, int) {
            log.push_back(Who(s) + "up");
        };
        return b;
    }
    static std::string Who(TObject* s) {
        auto* c = static_cast<TComponent*>(s);
        return c->Name().empty() ? std::string() : c->Name() + " ";
    }
    static void Send(TWinControl* c, UINT msg, WPARAM keys, int x, int y) { SendMessageW(c->Handle(), msg, keys, Pos(x, y)); }
    // The pointer arrives over the control (no button held, no capture yet).
    static void Hover(TWinControl* c) { Send(c, WM_MOUSEMOVE, 0, 5, 5); }
    static void Press(TWinControl* c, int x = 5, int y = 5) { Send(c, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    static void Release(TWinControl* c, int x = 5, int y = 5) { Send(c, WM_LBUTTONUP, 0, x, y); }

    std::unique_ptr<TForm> form;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(HiMouse, PushButtonSinksWhileHeldAndClicksBeforeMouseUp) {
    auto* b = Add(bsNormal);
    Hover(b);
    Press(b);
    EXPECT_FALSE(b->Raised());
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(GetCapture(), b->Handle());
    Release(b);
    EXPECT_TRUE(b->Raised());
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(b->ButtonState(), bstOff);
    EXPECT_EQ(log, (Log{"down", "click", "up"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HiMouse, PushButtonDraggedOffPopsUpAndSinksAgain) {
    auto* b = Add(bsNormal);
    Hover(b);
    Press(b);
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, 100, 5);  // captured: leaves
    EXPECT_EQ(b->MouseInside(), 0);
    EXPECT_TRUE(b->Raised());
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, 6, 6);  // comes back
    EXPECT_EQ(b->MouseInside(), 1);
    EXPECT_FALSE(b->Raised());
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, -3, 6);
    Release(b, -3, 6);
    EXPECT_TRUE(b->Raised());
    EXPECT_EQ(b->ButtonState(), bstOff);
    EXPECT_EQ(log, (Log{"down", "down", "up"}));  // re-entering presses again; no click outside
}

TEST_F(HiMouse, RightAndMiddleButtonsLeaveAPushButtonAlone) {
    form->Show();
    auto* other = Add(bsNormal, 100, 10);
    other->SetFocus();
    auto* b = Add(bsNormal);
    for (UINT down : {WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        Send(b, down, 0, 5, 5);
        EXPECT_TRUE(b->Raised());
        EXPECT_FALSE(b->Pressed());
        Send(b, down + 1, 0, 5, 5);
    }
    EXPECT_TRUE(b->Focused()) << "the press takes the focus";
    EXPECT_EQ(log, (Log{"down", "down"}));
}

// A toggle released outside takes its press back: state and look as before,
// no click; OnMouseUp still reports the end of the press.
TEST_F(HiMouse, ToggleReleasedOutsideIsCancelled) {
    for (TButtonState start : {bstOff, bstOn}) {
        auto* t = Add(bsToggle);
        t->SetButtonState(start);
        log.clear();
        Hover(t);
        Press(t);
        EXPECT_NE(t->ButtonState(), start);
        Send(t, WM_MOUSEMOVE, MK_LBUTTON, 60, 5);  // off the button: the look flips back
        EXPECT_EQ(t->Raised(), start == bstOff);
        EXPECT_NE(t->ButtonState(), start);
        Release(t, 60, 5);
        EXPECT_EQ(t->ButtonState(), start);
        EXPECT_EQ(t->Raised(), start == bstOff);
        EXPECT_FALSE(t->Pressed());
        EXPECT_EQ(log, (Log{"down", "up"}));
        delete t;
    }
}

TEST_F(HiMouse, ToggleLeftAndReenteredWhileHeld) {
    auto* t = Add(bsToggle);
    Hover(t);
    Press(t);
    Send(t, WM_MOUSEMOVE, MK_LBUTTON, 5, -4);
    EXPECT_TRUE(t->Raised()) << "the other look while off the button";
    EXPECT_EQ(t->ButtonState(), bstOn);
    Send(t, WM_MOUSEMOVE, MK_LBUTTON, 5, 4);
    EXPECT_FALSE(t->Raised());
    EXPECT_EQ(t->ButtonState(), bstOn);
    Release(t);
    EXPECT_EQ(t->ButtonState(), bstOn);
    EXPECT_EQ(log, (Log{"down", "down", "click", "up"}));
}

// The press comes before any move over the button; an enter notice that
// arrives after it must not press the toggle a second time.
TEST_F(HiMouse, ALateEnterNoticeDoesNotPressAgain) {
    auto* t = Add(bsToggle);
    Press(t);
    EXPECT_EQ(t->MouseInside(), 1);
    t->Perform(CM_MOUSEENTER);
    Send(t, WM_MOUSEMOVE, MK_LBUTTON, 6, 6);
    EXPECT_EQ(t->ButtonState(), bstOn);
    EXPECT_FALSE(t->Raised());
    Send(t, WM_MOUSEMOVE, MK_LBUTTON, 60, 6);
    Send(t, WM_MOUSEMOVE, MK_LBUTTON, 7, 6);
    EXPECT_FALSE(t->Raised()) << "a real return still presses again";
    Release(t);
    EXPECT_EQ(t->ButtonState(), bstOn);
    EXPECT_EQ(log, (Log{"down", "down", "click", "up"}));
}

// A press with no move before it still knows the pointer is over the
// button: dragging off then pops a push button up, and coming back sinks it.
TEST_F(HiMouse, PressWithoutAMoveBeforeItStillNoticesTheLeave) {
    auto* b = Add(bsNormal);
    Press(b);
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, 70, 5);
    EXPECT_EQ(b->MouseInside(), 0);
    EXPECT_TRUE(b->Raised()) << "dragged off";
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, 6, 5);
    EXPECT_EQ(b->MouseInside(), 1);
    EXPECT_FALSE(b->Raised()) << "back over the button";
    Release(b);
    EXPECT_TRUE(b->Raised());
    EXPECT_EQ(log, (Log{"down", "down", "click", "up"}));
}

TEST_F(HiMouse, RightAndMiddleButtonsToggleWithoutAClick) {
    auto* t = Add(bsToggle);
    Hover(t);
    Send(t, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    EXPECT_EQ(t->ButtonState(), bstOn);
    EXPECT_EQ(GetCapture(), t->Handle()) << "the release must come back to the toggle";
    Send(t, WM_RBUTTONUP, 0, 5, 5);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(t, WM_MBUTTONDOWN, MK_MBUTTON, 5, 5);
    EXPECT_EQ(t->ButtonState(), bstOff);
    Send(t, WM_MBUTTONUP, 0, 5, 5);
    Send(t, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    Send(t, WM_RBUTTONUP, 0, 80, 5);  // released outside: taken back
    EXPECT_EQ(t->ButtonState(), bstOff);
    EXPECT_TRUE(t->Raised());
    EXPECT_EQ(log, (Log{"down", "up", "down", "up", "down", "up"}));
}

TEST_F(HiMouse, DoubleClickSwitchesTwiceAndClicksOnce) {
    auto* t = Add(bsToggle);
    std::vector<TButtonState> atClick;
    t->OnClick.handler = [&](TObject*) {
        atClick.push_back(t->ButtonState());
        log.push_back("click");
    };
    Hover(t);
    Press(t);
    EXPECT_EQ(t->ButtonState(), bstOn);
    Release(t);
    Send(t, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    EXPECT_EQ(t->ButtonState(), bstOff);
    Release(t);
    EXPECT_EQ(t->ButtonState(), bstOff);
    EXPECT_EQ(atClick, (std::vector<TButtonState>{bstOn}));
    // Every release that ends a press raises OnMouseUp, so a window can follow
    // the state on it as well as on the click.
    EXPECT_EQ(log, (Log{"down", "click", "up", "dblclick", "down", "up"}));
}

TEST_F(HiMouse, ToggleGroupsBySiblingClassAndGroupID) {
    auto* a = Add(bsToggle, 0, 0);
    auto* b = Add(bsToggle, 50, 0);
    auto* plain = Add<THiSukeSuke>(bsToggle, 100, 0);
    auto* image = Add<THiSukeSukeImg>(bsToggle, 150, 0);
    auto* other = Add(bsToggle, 200, 0);
    const char* names[] = {"A", "B", "Plain", "Image", "Other"};
    THiButtonBase* all[] = {a, b, plain, image, other};
    for (int i = 0; i < 5; ++i) {
        all[i]->SetName(names[i]);
        all[i]->SetGroupID(i == 4 ? 2 : 1);
        if (i != 1) all[i]->SetButtonState(bstOn);  // setting from code touches no member
    }
    EXPECT_EQ(a->ButtonState(), bstOn);
    EXPECT_EQ(plain->ButtonState(), bstOn);
    log.clear();
    Hover(b);
    Press(b);
    EXPECT_EQ(a->ButtonState(), bstOn) << "the group acts on the click, not the press";
    Release(b);
    EXPECT_EQ(b->ButtonState(), bstOn);
    EXPECT_EQ(a->ButtonState(), bstOff);
    EXPECT_TRUE(a->Raised());
    EXPECT_EQ(plain->ButtonState(), bstOff);
    EXPECT_EQ(image->ButtonState(), bstOn) << "THiSukeSukeImg is not a group class";
    EXPECT_EQ(other->ButtonState(), bstOn) << "another group";
}

TEST_F(HiMouse, MembersWithTheSameNameAreNotSwitchedOff) {
    auto* a = Add(bsToggle);
    auto* b = Add(bsToggle, 60, 10);
    a->SetGroupID(1);
    b->SetGroupID(1);
    a->SetButtonState(bstOn);
    Hover(b);
    Press(b);
    Release(b);
    EXPECT_EQ(b->ButtonState(), bstOn);
    EXPECT_EQ(a->ButtonState(), bstOn) << "both unnamed";
}

TEST_F(HiMouse, KeysNeverPressOrClick) {
    form->Show();
    auto* t = Add(bsToggle);
    int keys = 0;
    t->OnKeyDown.handler = [&](TObject*, WORD&, TShiftState) { ++keys; };
    t->SetFocus();
    for (WPARAM key : {VK_SPACE, VK_RETURN}) {
        SendMessageW(t->Handle(), WM_KEYDOWN, key, 0);
        SendMessageW(t->Handle(), WM_CHAR, key == VK_SPACE ? L' ' : L'\r', 0);
        SendMessageW(t->Handle(), WM_KEYUP, key, 0);
    }
    EXPECT_EQ(keys, 2);
    EXPECT_EQ(t->ButtonState(), bstOff);
    EXPECT_TRUE(log.empty());
}

TEST_F(HiMouse, FocusMarkFollowsTheFocus) {
    form->Show();
    auto* a = Add(bsNormal);
    auto* b = Add(bsNormal, 60, 10);
    a->SetFocus();
    EXPECT_TRUE(a->FocusMark());
    EXPECT_FALSE(b->FocusMark());
    b->SetFocus();
    EXPECT_FALSE(a->FocusMark());
    EXPECT_TRUE(b->FocusMark());
    a->Perform(CM_FOCUSCHANGED, 0, 0);  // nothing focused
    EXPECT_FALSE(a->FocusMark());
}

TEST_F(HiMouse, SeeThroughWindowStyles) {
    auto* b = Add(bsNormal);
    EXPECT_TRUE(GetWindowLongW(b->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);

    // Created without a parent: no style is touched until it is parented.
    TForm second(nullptr);
    second.HandleNeeded();
    ASSERT_TRUE(GetWindowLongW(second.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    auto* loose = new THiSukeSuke(&second);
    EXPECT_TRUE(GetWindowLongW(second.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    loose->SetParent(&second);
    EXPECT_FALSE(GetWindowLongW(second.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);

    auto* designed = new THiSukeSuke(&second);
    designed->SetDesignMode(true);
    designed->SetParent(&second);
    EXPECT_FALSE(GetWindowLongW(designed->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

// Parenting to a form that has no window yet makes none (a description
// reader would otherwise create every later sibling before its properties
// are read); the form's window, once made, still lets the control see through.
TEST_F(HiMouse, ParentWithoutAWindowGetsNoneFromTheControl) {
    TForm later(nullptr);
    auto* b = new THiSukeSukeImgEx(&later);
    b->SetParent(&later);
    auto* sibling = new TCustomControl(&later);
    sibling->SetParent(&later);
    EXPECT_FALSE(later.HandleAllocated());
    EXPECT_FALSE(sibling->HandleAllocated());
    later.HandleNeeded();
    ASSERT_TRUE(b->HandleAllocated());
    EXPECT_FALSE(GetWindowLongW(later.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_TRUE(GetWindowLongW(b->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(HiMouse, BackgroundIsNeverErased) {
    auto* b = Add(bsNormal);
    TBitmap memory(8, 8);
    controls_test::Fill(memory, clRed);
    EXPECT_EQ(SendMessageW(b->Handle(), WM_ERASEBKGND, WPARAM(memory.Canvas().Handle()), 0), 0);
    EXPECT_EQ(controls_test::Px(memory, 3, 3), clRed);
}

// ---------------------------------------------------------------- snapshot

// A container whose own pixels follow the same pattern as the form's, in
// form coordinates.
class TPanelPattern : public TCustomControl {
public:
    explicit TPanelPattern(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + csAcceptsControls);
    }
    int paints = 0;
    void Paint() override {
        ++paints;
        RECT r = ClientRect();
        controls_test::DrawPattern(*Canvas(), r.right, r.bottom, FormOffset());
    }

private:
    // Position of the client area in the form's client area.
    POINT FormOffset() const {
        POINT o{0, 0};
        for (const TControl* c = this; c && !dynamic_cast<const TForm*>(c); c = c->Parent()) {
            o.x += c->Left();
            o.y += c->Top();
        }
        return o;
    }
};

class HiSnapshot : public controls_test::HiTest {
protected:
    void SetUp() override {
        HiTest::SetUp();
        form = std::make_unique<controls_test::TFormPattern>(nullptr);
        form->SetBounds(60, 60, 300, 200);
        form->SetClientWidth(220);
        form->SetClientHeight(140);
        form->Show();
        PumpUntil([&] { return form->paints > 0; });
    }
    void TearDown() override {
        form.reset();
        HiTest::TearDown();
    }
    static void PumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            Application.ProcessMessages();
            Sleep(5);
        }
    }
    static TColor At(int x, int y) { return rastel::RGBColor(std::uint8_t(x), std::uint8_t(y), 0x5A); }
    std::unique_ptr<controls_test::TFormPattern> form;
};

TEST_F(HiSnapshot, ControlOnTheFormCopiesItsBoundsRectangle) {
    auto* b = new THiSukeSukeImgEx(form.get());
    b->SetBounds(30, 50, 44, 20);
    b->SetParent(form.get());
    PumpUntil([&] { return b->FirstPaintDone() == 1; });
    ASSERT_EQ(b->FirstPaintDone(), 1);
    THiBitmap& bg = b->Background();
    ASSERT_EQ(bg.Width(), 44);
    ASSERT_EQ(bg.Height(), 20);
    EXPECT_EQ(controls_test::Px(bg, 0, 0), At(30, 50));
    EXPECT_EQ(controls_test::Px(bg, 43, 19), At(73, 69));
    EXPECT_EQ(controls_test::Px(bg, 10, 4), At(40, 54));
}

TEST_F(HiSnapshot, ControlInAPanelCopiesTheFormAtTheSummedPosition) {
    auto* panel = new TPanelPattern(form.get());
    panel->SetBounds(10, 20, 120, 80);
    panel->SetParent(form.get());
    PumpUntil([&] { return panel->paints > 0; });
    auto* b = new THiSukeSuke(form.get());
    b->SetBounds(5, 6, 44, 20);
    b->SetParent(panel);
    PumpUntil([&] { return b->FirstPaintDone() == 1; });
    ASSERT_EQ(b->FirstPaintDone(), 1);
    EXPECT_EQ(controls_test::Px(b->Background(), 0, 0), At(15, 26));
    EXPECT_EQ(controls_test::Px(b->Background(), 43, 19), At(58, 45));
}

TEST_F(HiSnapshot, TakenOnceAndKeptWhenTheControlMoves) {
    auto* b = new THiSukeSuke(form.get());
    b->SetBounds(30, 50, 44, 20);
    b->SetParent(form.get());
    PumpUntil([&] { return b->FirstPaintDone() == 1; });
    b->SetBounds(100, 80, 44, 20);
    b->Repaint();
    Pump();
    EXPECT_EQ(controls_test::Px(b->Background(), 0, 0), At(30, 50));
}

TEST_F(HiSnapshot, ComposedFaceReachesTheScreen) {
    auto* t = new THiSukeSukeImgEx(form.get());
    t->SetBounds(30, 50, 44, 20);
    t->SetBevelWidth(3);
    t->SetBlendRitu(255);
    t->SetOffFaceColor(rastel::RGBColor(0, 0, 255));
    t->SetHighlightColor(rastel::RGBColor(255, 0, 0));
    t->SetImageBlendRitu(0);
    t->SetParent(form.get());
    PumpUntil([&] { return t->FirstPaintDone() == 1; });
    Pump();
    HDC dc = GetDC(t->Handle());
    const TColor face = GetPixel(dc, 20, 10);
    const TColor bevel = GetPixel(dc, 1, 5);
    ReleaseDC(t->Handle(), dc);
    EXPECT_EQ(face, rastel::RGBColor(0, 0, 254));
    EXPECT_EQ(bevel, rastel::RGBColor(254, 0, 0));
}

}  // namespace
