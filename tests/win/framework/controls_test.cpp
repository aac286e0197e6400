// Mouse dispatch, enter/leave, keys, notifications and painting of windowed
// and non-windowed controls, through real windows and messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "controls_test_util.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

using namespace framework_test;

namespace {

class ControlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetName("TestForm");
        form->SetBounds(100, 100, 400, 300);
        form->Show();
        control = new LogControl(form.get());
        control->SetName("Ctl");
        control->SetBounds(20, 30, 60, 40);
        control->SetParent(form.get());
        hwnd = control->Handle();
        // Leave tracking asks where the real cursor is: put it on the control,
        // which then has the mouse inside it (its real enter is logged).
        // Start with the cursor off the control, long enough for the system's
        // leave tracking (it polls) to settle; then move it on and wait for
        // the enter (the window manager may map a new window a little later).
        MoveMouse(POINT{2, 2});
        for (int i = 0; i < 30; ++i) {
            Pump();
            Sleep(10);
        }
        control->Clear();
        auto entered = [&] {
            const Log& l = control->Log();
            return std::find(l.begin(), l.end(), "Enter") != l.end();
        };
        const POINT p = control->ClientToScreen(POINT{10, 10});
        for (int i = 0; i < 300 && !entered(); ++i) {
            if (i % 10 == 0) MoveMouse(p);
            Pump();
            Sleep(10);
        }
        enteredAtStart = entered();
        control->Clear();
    }
    void TearDown() override {
        ReleaseCapture();
        form.reset();
        WindowTest::TearDown();
    }
    void Send(UINT msg, WPARAM keys, int x, int y) { SendMessageW(hwnd, msg, keys, Pos(x, y)); }
    void ExpectClickStillWorks() {
        control->Clear();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
        Send(WM_LBUTTONUP, 0, 1, 1);
        EXPECT_EQ(control->Log(), (Log{"Down L 1,1", "Click", "Up L 1,1"}));
    }

    std::unique_ptr<TForm> form;
    LogControl* control = nullptr;
    HWND hwnd = nullptr;
    bool enteredAtStart = false;
};

}  // namespace

TEST_F(ControlsTest, LeftPressCapturesAndReleaseInsideClicksBeforeMouseUp) {
    Send(WM_MOUSEMOVE, 0, 5, 6);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
    EXPECT_EQ(GetCapture(), hwnd);
    EXPECT_TRUE(control->MouseCapture());
    Send(WM_LBUTTONUP, 0, 7, 8);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(control->Log(), (Log{"Down L 5,6", "Click", "Up L 7,8"}));
    EXPECT_TRUE(enteredAtStart);
}

TEST_F(ControlsTest, ReleaseOutsideCallsOnlyMouseUpAndLeaveIsSentWhileCaptured) {
    Send(WM_MOUSEMOVE, 0, 5, 6);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
    // Captured: moves outside the client rectangle leave, moves back enter.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 70, 6);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 71, 6);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 59, 39);
    Send(WM_MOUSEMOVE, MK_LBUTTON, -1, 10);
    Send(WM_LBUTTONUP, 0, -1, 10);
    EXPECT_EQ(control->Log(), (Log{"Down L 5,6", "Leave", "Enter", "Leave", "Up L -1,10"}));
    // Pointer positions past the edge on every side count as outside.
    control->Clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    Send(WM_LBUTTONUP, 0, 60, 0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    Send(WM_LBUTTONUP, 0, 0, 40);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    Send(WM_LBUTTONUP, 0, 59, 39);
    int clicks = 0;
    for (const auto& s : control->Log()) clicks += s == "Click";
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, RightAndMiddleButtonsReachMouseDownAndUpWithoutClickOrCapture) {
    int events = 0;
    TMouseButton seen = mbLeft;
    control->OnMouseUp.handler = [&](TObject* sender, TMouseButton b, TShiftState s, int, int) {
        EXPECT_EQ(sender, control);
        EXPECT_TRUE(s.Contains(ssShift));
        seen = b;
        ++events;
    };
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 1, 2);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_RBUTTONUP, MK_SHIFT, 3, 4);
    EXPECT_EQ(seen, mbRight);
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 5, 6);
    Send(WM_MBUTTONUP, MK_SHIFT, 7, 8);
    EXPECT_EQ(seen, mbMiddle);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(control->Log(), (Log{"Down R 1,2", "Up R 3,4", "Down M 5,6", "Up M 7,8"}));
}

TEST_F(ControlsTest, SecondPressOfDoubleClickRaisesDblClickThenDoubleMouseDownAndItsReleaseClicksNothing) {
    Log events;
    control->OnDblClick.handler = [&](TObject*) { events.push_back("OnDblClick"); };
    control->OnClick.handler = [&](TObject*) { events.push_back("OnClick"); };
    control->OnMouseDown.handler = [&](TObject*, TMouseButton, TShiftState s, int, int) {
        events.push_back(s.Contains(ssDouble) ? "OnMouseDown dbl" : "OnMouseDown");
    };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 2, 2);
    Send(WM_LBUTTONUP, 0, 2, 2);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 2, 2);
    EXPECT_EQ(GetCapture(), hwnd);
    Send(WM_LBUTTONUP, 0, 2, 2);
    EXPECT_EQ(control->Log(), (Log{"Down L 2,2", "Click", "Up L 2,2", "DblClick", "Down L dbl 2,2", "Up L 2,2"}));
    EXPECT_EQ(events, (Log{"OnMouseDown", "OnClick", "OnDblClick", "OnMouseDown dbl"}));
    // The window class asks for double clicks.
    EXPECT_TRUE(GetClassLongPtrW(hwnd, GCL_STYLE) & CS_DBLCLKS);
    // Right double click: a double MouseDown, no DblClick.
    control->Clear();
    Send(WM_RBUTTONDBLCLK, MK_RBUTTON, 1, 1);
    EXPECT_EQ(control->Log(), (Log{"Down R dbl 1,1"}));
}

TEST_F(ControlsTest, EnterAndLeaveWithoutCaptureFollowTheRealCursor) {
    EXPECT_TRUE(enteredAtStart);
    Send(WM_MOUSEMOVE, 0, 6, 5);  // a further move inside enters nothing new
    EXPECT_TRUE(control->Log().empty());
    auto moveTo = [&](POINT p, std::size_t entries) {
        MoveMouse(form->ClientToScreen(p));
        for (int i = 0; i < 25 && control->Log().size() < entries; ++i) {
            Pump();
            Sleep(20);
        }
    };
    moveTo(POINT{300, 200}, 1);  // off the control: the system reports the leave
    EXPECT_EQ(control->Log(), (Log{"Leave"}));
    moveTo(POINT{40, 50}, 2);  // back on it
    EXPECT_EQ(control->Log(), (Log{"Leave", "Enter"}));
    // A WM_MOUSELEAVE while the control holds the capture is left to the
    // captured tracking.
    control->Clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(control->Log(), (Log{"Down L 5,5"}));
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 5);
    EXPECT_EQ(control->Log().back(), "Leave");
    Send(WM_LBUTTONUP, 0, 100, 5);
}

TEST_F(ControlsTest, RealMouseInputClicksAndEntersAndLeaves) {
    MoveMouse(control->ClientToScreen(POINT{30, 20}));
    Pump();
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {
        Pump();
        Sleep(20);
    }
    const Log& log = control->Log();
    auto has = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
    if (!has("Click")) GTEST_SKIP() << "injected mouse input does not reach windows in this session";
    EXPECT_TRUE(has("Down L 30,20"));
    EXPECT_EQ(log, (Log{"Down L 30,20", "Click", "Up L 30,20"}));
}

TEST_F(ControlsTest, KeysNeverClickACustomControl) {
    int clicks = 0;
    int keys = 0;
    control->OnClick.handler = [&](TObject*) { ++clicks; };
    control->OnKeyDown.handler = [&](TObject*, WORD& key, TShiftState) { keys += key == VK_SPACE || key == VK_RETURN; };
    control->SetFocus();
    EXPECT_TRUE(control->Focused());
    for (WPARAM k : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        SendMessageW(hwnd, WM_KEYDOWN, k, 0);
        SendMessageW(hwnd, WM_CHAR, k == VK_SPACE ? L' ' : L'\r', 0);
        SendMessageW(hwnd, WM_KEYUP, k, 0);
    }
    SendMessageW(hwnd, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(keys, 2);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, EnabledChangeIsNotifiedAndDisablesTheWindow) {
    control->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    control->SetEnabled(false);  // no change, no message
    control->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(control->Log(), (Log{"Enabled", "Enabled"}));
}

TEST_F(ControlsTest, FocusChangeIsSentToEveryControlOfTheForm) {
    Log shared;
    auto* a = new LogControl(form.get(), &shared);
    a->SetName("A");
    a->SetParent(form.get());
    auto* panel = new LogControl(form.get(), &shared);
    panel->SetName("Panel");
    panel->SetParent(form.get());
    auto* inner = new LogControl(form.get(), &shared);
    inner->SetName("Inner");
    inner->SetParent(panel);
    Pump();
    shared.clear();
    control->Clear();

    inner->SetFocus();
    EXPECT_EQ(form->ActiveControl(), inner);
    EXPECT_EQ(shared, (Log{"Focus Inner", "Focus Inner", "Focus Inner"}));  // A, Panel and the nested Inner
    EXPECT_EQ(control->Log(), (Log{"Focus Inner"}));
    shared.clear();
    a->SetFocus();
    EXPECT_EQ(shared, (Log{"Focus A", "Focus A", "Focus A"}));
    EXPECT_TRUE(a->Focused());
    EXPECT_FALSE(inner->Focused());
    // Focusing the same control again changes nothing.
    shared.clear();
    a->SetFocus();
    EXPECT_TRUE(shared.empty());
}

TEST_F(ControlsTest, ParentFontIsFollowedUntilTheControlGetsItsOwnFont) {
    form->Font()->SetHeight(-20);
    EXPECT_EQ(control->Font()->Height(), -20);
    EXPECT_TRUE(control->ParentFont());
    EXPECT_EQ(control->Log(), (Log{"Font"}));

    // A control created later takes the parent's font when it is parented.
    auto* late = new LogControl(form.get());
    EXPECT_NE(late->Font()->Height(), -20);
    late->SetParent(form.get());
    EXPECT_EQ(late->Font()->Height(), -20);
    EXPECT_TRUE(late->ParentFont());

    // Its own font change: ParentFont off, CM_FONTCHANGED to the control.
    control->Clear();
    control->Font()->SetColor(clRed);
    EXPECT_FALSE(control->ParentFont());
    EXPECT_EQ(control->Log(), (Log{"Font"}));
    form->Font()->SetHeight(-16);
    EXPECT_EQ(control->Font()->Height(), -20);
    EXPECT_EQ(late->Font()->Height(), -16);
    // Back to the parent's font.
    control->SetParentFont(true);
    EXPECT_EQ(control->Font()->Height(), -16);
    EXPECT_EQ(control->Font()->Color(), form->Font()->Color());

    // Nested: the panel's children follow through the panel.
    auto* panel = new LogControl(form.get());
    panel->SetParent(form.get());
    auto* child = new LogControl(form.get());
    child->SetParent(panel);
    form->Font()->SetName("Arial");
    EXPECT_EQ(child->Font()->Name(), "Arial");

    // Standard controls get the new font handle.
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    form->Font()->SetHeight(-13);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button->Handle(), WM_GETFONT, 0, 0)), button->Font()->Handle());
}

TEST_F(ControlsTest, ParentColorIsFollowedUntilColorIsSet) {
    form->SetColor(clRed);
    EXPECT_EQ(control->Color(), clRed);
    control->SetColor(clBlue);
    EXPECT_FALSE(control->ParentColor());
    form->SetColor(clLime);
    EXPECT_EQ(control->Color(), clBlue);
    control->SetParentColor(true);
    EXPECT_EQ(control->Color(), clLime);
    EXPECT_EQ(control->Brush()->Color(), clLime);
}

TEST_F(ControlsTest, BoundsMoveTheWindowAtOnceAndSizeChangesAreReported) {
    control->SetBounds(5, 6, 70, 50);
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT o = form->ClientOrigin();
    EXPECT_EQ(r.left - o.x, 5);
    EXPECT_EQ(r.top - o.y, 6);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(control->ClientWidth(), 70);
    EXPECT_EQ(control->ClientHeight(), 50);
    EXPECT_EQ(control->Log(), (Log{"Size"}));
    RECT b = control->BoundsRect();
    EXPECT_EQ(b.right, 75);
    EXPECT_EQ(b.bottom, 56);
    POINT s = control->ClientToScreen(POINT{1, 2});
    EXPECT_EQ(s.x, o.x + 6);
    EXPECT_EQ(s.y, o.y + 8);
    POINT back = control->ScreenToClient(s);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
}

TEST_F(ControlsTest, ChildrenKeepIndexOrderAndTabOrder) {
    auto* a = new LogControl(form.get());
    auto* b = new LogControl(form.get());
    a->SetParent(form.get());
    b->SetParent(form.get());
    ASSERT_EQ(form->ControlCount(), 3);
    EXPECT_EQ(form->Controls(0), control);
    EXPECT_EQ(form->Controls(2), b);
    EXPECT_THROW(form->Controls(3), EListError);
    EXPECT_EQ(b->TabOrder(), 2);
    b->SetTabOrder(0);
    EXPECT_EQ(b->TabOrder(), 0);
    EXPECT_EQ(control->TabOrder(), 1);
    EXPECT_EQ(form->Controls(2), b);  // index order is unchanged
    // A tab order given before the parent takes effect on parenting.
    auto* c = new LogControl(form.get());
    c->SetTabOrder(1);
    c->SetParent(form.get());
    EXPECT_EQ(c->TabOrder(), 1);
    EXPECT_EQ(control->TabOrder(), 2);
    // Leaving the parent removes it from both lists.
    delete a;
    EXPECT_EQ(form->ControlCount(), 3);
    c->SetParent(nullptr);
    EXPECT_EQ(form->ControlCount(), 2);
    EXPECT_FALSE(c->HandleAllocated());
    delete c;
}

TEST_F(ControlsTest, TabMovesTheFocusAlongTabStopsInTabOrder) {
    auto* a = new TButton(form.get());
    a->SetName("A");
    a->SetParent(form.get());
    auto* b = new TButton(form.get());
    b->SetName("B");
    b->SetParent(form.get());
    b->SetTabOrder(1);  // before a
    a->SetFocus();
    // Tab order: control (no Tab stop), b, a. From a the next stop wraps to b.
    PostMessageW(a->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(form->ActiveControl(), b);
    PostMessageW(b->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_TRUE(a->Focused());
}

namespace {

// Paints a fixed colour over part of its client area.
class PaintControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool swallowErase = false;
    int paints = 0;
    void Paint() override {
        ++paints;
        Canvas()->Brush().SetColor(clBlue);
        Canvas()->FillRect(RECT{0, 0, 5, 5});
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND && swallowErase) return;
        TCustomControl::WndProc(m);
    }
};

TColor PixelAt(TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y); }

}  // namespace

TEST_F(ControlsTest, BackgroundEraseFollowsColorBrushStyleAndCanBeSwallowed) {
    auto* p = new PaintControl(form.get());
    p->SetBounds(0, 0, 20, 20);
    p->SetParent(form.get());
    p->SetColor(clRed);
    TBitmap bmp(20, 20);
    bmp.Canvas().Brush().SetColor(clLime);
    bmp.Canvas().FillRect(RECT{0, 0, 20, 20});
    p->PaintTo(bmp.Canvas().Handle(), 0, 0);
    EXPECT_EQ(PixelAt(bmp, 2, 2), clBlue);
    EXPECT_EQ(PixelAt(bmp, 10, 10), clRed);  // erased with Color

    bmp.Canvas().FillRect(RECT{0, 0, 20, 20});
    p->Brush()->SetStyle(bsClear);
    p->PaintTo(bmp.Canvas().Handle(), 0, 0);
    EXPECT_EQ(PixelAt(bmp, 10, 10), clLime);  // bsClear: never erased

    p->Brush()->SetStyle(bsSolid);
    p->swallowErase = true;
    p->PaintTo(bmp.Canvas().Handle(), 0, 0);
    EXPECT_EQ(PixelAt(bmp, 10, 10), clLime);
    EXPECT_EQ(PixelAt(bmp, 2, 2), clBlue);
    // A colour change keeps a clear brush clear.
    p->Brush()->SetStyle(bsClear);
    p->SetColor(clYellow);
    EXPECT_EQ(p->Brush()->Style(), bsClear);
}

namespace {
TColor ScreenPixel(HWND hwnd, int x, int y) {
    WindowDC dc(hwnd);
    return GetPixel(dc.get(), x, y);
}
}  // namespace

TEST_F(ControlsTest, FormPaintsItsColorThenItsImagesWithAndWithoutDoubleBuffering) {
    for (bool buffered : {false, true}) {
        SCOPED_TRACE(buffered ? "double buffered" : "direct");
        form->SetDoubleBuffered(buffered);
        form->SetColor(clRed);
        auto* image = new TImage(form.get());
        image->SetBounds(150, 20, 10, 10);
        image->SetParent(form.get());
        TBitmap green(8, 6);
        green.Canvas().Brush().SetColor(clLime);
        green.Canvas().FillRect(RECT{0, 0, 8, 6});
        image->SetAutoSize(true);
        image->Picture()->SetGraphic(&green);
        EXPECT_EQ(image->Width(), 8);
        EXPECT_EQ(image->Height(), 6);
        form->Invalidate();
        form->Update();
        HWND h = form->Handle();
        EXPECT_EQ(ScreenPixel(h, 140, 20), ColorRef(clRed));
        EXPECT_EQ(ScreenPixel(h, 150, 20), ColorRef(clLime));
        EXPECT_EQ(ScreenPixel(h, 157, 25), ColorRef(clLime));
        EXPECT_EQ(ScreenPixel(h, 158, 25), ColorRef(clRed));
        // Hidden: the parent paints its colour there.
        image->SetVisible(false);
        form->Update();
        EXPECT_EQ(ScreenPixel(h, 150, 20), ColorRef(clRed));
        delete image;
    }
}

TEST_F(ControlsTest, CustomControlPaintsOnWmPaintAndThroughItsDoubleBuffer) {
    auto* p = new PaintControl(form.get());
    p->SetBounds(200, 100, 20, 20);
    p->SetParent(form.get());
    p->SetColor(clRed);
    for (bool buffered : {false, true}) {
        p->SetDoubleBuffered(buffered);
        const int before = p->paints;
        p->Repaint();
        EXPECT_EQ(p->paints, before + 1);
        EXPECT_EQ(ScreenPixel(p->Handle(), 1, 1), ColorRef(clBlue));
        EXPECT_EQ(ScreenPixel(p->Handle(), 15, 15), ColorRef(clRed));
    }
}

TEST_F(ControlsTest, ExceptionInAHandlerGoesToTheErrorBoxAndDispatchGoesOn) {
    control->OnClick.handler = [](TObject*) { throw EFrameworkError("クリックできません"); };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
    Send(WM_LBUTTONUP, 0, 1, 1);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "クリックできません.");
    EXPECT_EQ(errors[0].flags, UINT(MB_ICONERROR | MB_OK));
    // The control still works.
    control->OnClick.handler = nullptr;
    ExpectClickStillWorks();
}

TEST_F(ControlsTest, AnErrorBoxThatThrowsStaysInsideTheWindowProcedure) {
    TCanvas* canvas = nullptr;
    control->OnClick.handler = [&](TObject*) {
        canvas = control->Canvas();  // a window DC, given back when the message returns
        throw EFrameworkError("クリックできません");
    };
    int shown = 0;
    Application.ErrorBoxHook = [&](const std::string&, const std::string&, UINT) {
        ++shown;
        throw std::runtime_error("the error box failed");
    };
    bool escaped = false;
    try {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
        Send(WM_LBUTTONUP, 0, 1, 1);
    } catch (...) {
        escaped = true;
    }
    EXPECT_FALSE(escaped);
    EXPECT_EQ(shown, 1);
    // The dispatch depth is back at zero, so the window DC was released.
    ASSERT_NE(canvas, nullptr);
    EXPECT_FALSE(canvas->HandleAllocated());
    control->OnClick.handler = nullptr;
    ExpectClickStillWorks();
}

TEST_F(ControlsTest, DestroyingAParentFreesItsChildrenAndWindows) {
    auto* panel = new LogControl(form.get());
    panel->SetParent(form.get());
    auto* child = new LogControl(form.get());
    child->SetParent(panel);
    HWND childWindow = child->Handle();
    const int owned = int(form->Components().size());
    delete panel;
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(int(form->Components().size()), owned - 2);
    EXPECT_EQ(TWinControl::FromHandle(childWindow), nullptr);
}

namespace {
// Like the translucent buttons: a transparent window over a parent that
// does not clip it, never erased, painting through its double buffer.
class SeeThroughControl : public PaintControl {
public:
    explicit SeeThroughControl(TComponent* owner) : PaintControl(owner) {
        SetDoubleBuffered(true);
        Brush()->SetStyle(bsClear);
        SetControlStyle(ControlStyle() + csOpaque);
    }

protected:
    void CreateParams(TCreateParams& p) override {
        PaintControl::CreateParams(p);
        p.exStyle |= WS_EX_TRANSPARENT;
    }
};
}  // namespace

TEST_F(ControlsTest, SeeThroughControlOverAnUnclippedDoubleBufferedFormIsPaintedAndClickable) {
    form->SetColor(clRed);
    form->SetDoubleBuffered(true);
    HWND f = form->Handle();
    SetWindowLongPtrW(f, GWL_STYLE, GetWindowLongPtrW(f, GWL_STYLE) & ~LONG_PTR(WS_CLIPCHILDREN));
    auto* p = new SeeThroughControl(form.get());
    p->SetBounds(200, 100, 20, 20);
    p->SetParent(form.get());
    int clicks = 0;
    p->OnClick.handler = [&](TObject*) { ++clicks; };
    form->Invalidate();
    for (int i = 0; i < 5; ++i) {
        Pump();
        Sleep(10);
    }
    EXPECT_GE(p->paints, 1);
    EXPECT_EQ(ScreenPixel(f, 201, 101), ColorRef(clBlue));  // its paint
    EXPECT_EQ(ScreenPixel(f, 199, 101), ColorRef(clRed));   // the form beside it
    // The system finds it under the cursor, so real presses reach it.
    POINT s = form->ClientToScreen(POINT{210, 110});
    EXPECT_EQ(WindowFromPoint(s), p->Handle());
}

TEST_F(ControlsTest, FormCanvasOutsidePaintingReadsTheWindowAndIsReleasedAfterTheMessage) {
    form->SetColor(clRed);
    form->Repaint();
    TCanvas* canvas = form->Canvas();
    ASSERT_TRUE(canvas->HandleAllocated());
    EXPECT_EQ(canvas->Pixel(300, 200), clRed);
    // Copying a rectangle of the form, as the translucent buttons do at their first paint.
    TBitmap copy(10, 10);
    copy.Canvas().CopyRect(RECT{0, 0, 10, 10}, *canvas, RECT{300, 200, 310, 210});
    EXPECT_EQ(copy.Canvas().Pixel(5, 5), clRed);
    // The window DC goes back when a message returns to the loop.
    SendMessageW(form->Handle(), WM_NULL, 0, 0);
    EXPECT_FALSE(canvas->HandleAllocated());
    EXPECT_TRUE(form->Canvas()->HandleAllocated());
    FreeDeviceContexts();
    EXPECT_FALSE(canvas->HandleAllocated());
}
