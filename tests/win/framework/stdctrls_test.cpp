// Push button, check box, radio group, drop-down list: clicks and their
// events, colours through WM_CTLCOLOR*, the close-up event, no GDI leaks.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "controls_test_util.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "gdi_count_test_util.h"

using namespace framework_test;

namespace {

class StdCtrlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 400, 300);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        WindowTest::TearDown();
    }
    template <class T>
    T* Add(int left, int top, int width, int height, const std::string& caption = {}) {
        auto* c = new T(form.get());
        c->SetBounds(left, top, width, height);
        c->SetCaption(caption);
        c->SetParent(form.get());
        return c;
    }
    std::unique_ptr<TForm> form;
};

void Click(TWinControl* c) {
    SendMessageW(c->Handle(), BM_CLICK, 0, 0);
}

std::wstring WindowText(HWND h) {
    wchar_t buf[64]{};
    GetWindowTextW(h, buf, 64);
    return buf;
}

}  // namespace

TEST_F(StdCtrlsTest, PushButtonWrapsTheSystemButtonAndRaisesOnClick) {
    auto* b = Add<TButton>(10, 10, 30, 21, "終了");
    int clicks = 0;
    b->OnClick.handler = [&](TObject* sender) {
        EXPECT_EQ(sender, b);
        ++clicks;
    };
    wchar_t cls[32]{};
    GetClassNameW(b->Handle(), cls, 32);
    EXPECT_EQ(_wcsicmp(cls, L"Button"), 0);
    EXPECT_EQ(GetWindowLongPtrW(b->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    EXPECT_EQ(WindowText(b->Handle()), L"終了");
    Click(b);
    EXPECT_EQ(clicks, 1);
    // Keyboard: space on the focused button clicks it too.
    b->SetFocus();
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(b->Handle(), WM_KEYUP, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(clicks, 2);
    // Mouse press and release inside: one click, and the framework's mouse events.
    int downs = 0;
    b->OnMouseDown.handler = [&](TObject*, TMouseButton button, TShiftState, int, int) { downs += button == mbLeft; };
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Pos(3, 3));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, Pos(3, 3));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 3);
    b->SetCaption("移");
    EXPECT_EQ(WindowText(b->Handle()), L"移");
}

TEST_F(StdCtrlsTest, CheckBoxTogglesOnEveryClick) {
    auto* c = Add<TCheckBox>(10, 40, 60, 17, "強調");
    int clicks = 0;
    bool seen = false;
    c->OnClick.handler = [&](TObject*) {
        ++clicks;
        seen = c->Checked();
    };
    EXPECT_EQ(GetWindowLongPtrW(c->Handle(), GWL_STYLE) & 0x0F, BS_AUTOCHECKBOX);
    Click(c);
    EXPECT_TRUE(c->Checked());
    EXPECT_TRUE(seen);  // the handler sees the new state
    Click(c);
    EXPECT_FALSE(c->Checked());
    EXPECT_FALSE(seen);
    EXPECT_EQ(clicks, 2);
    // From code: the box follows, no event.
    c->SetChecked(true);
    EXPECT_EQ(SendMessageW(c->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdCtrlsTest, RadioButtonsOfOneParentFormOneGroup) {
    auto* big = Add<TRadioButton>(10, 70, 40, 15, "大");
    auto* eight = Add<TRadioButton>(60, 70, 40, 15, "8升");
    auto* sixteen = Add<TRadioButton>(110, 70, 40, 15, "16升");
    // Another parent: another group.
    auto* panel = new LogControl(form.get());
    panel->SetBounds(200, 0, 100, 100);
    panel->SetParent(form.get());
    auto* other = new TRadioButton(form.get());
    other->SetParent(panel);
    other->SetChecked(true);

    sixteen->SetChecked(true);
    EXPECT_TRUE(sixteen->TabStop());
    EXPECT_FALSE(big->TabStop());
    Log log;
    for (TRadioButton* r : {big, eight, sixteen})
        r->OnClick.handler = [&log](TObject* s) { log.push_back(static_cast<TControl*>(s)->Caption()); };

    Click(eight);
    EXPECT_TRUE(eight->Checked());
    EXPECT_FALSE(sixteen->Checked());
    EXPECT_FALSE(big->Checked());
    EXPECT_EQ(SendMessageW(sixteen->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(eight->TabStop());
    EXPECT_FALSE(sixteen->TabStop());
    EXPECT_TRUE(other->Checked());
    // Clicking the checked one raises nothing.
    Click(eight);
    EXPECT_TRUE(eight->Checked());
    Click(big);
    EXPECT_EQ(log, (Log{"8升", "大"}));
    EXPECT_FALSE(eight->Checked());
    // Checking from code unchecks the others and raises nothing.
    sixteen->SetChecked(true);
    EXPECT_FALSE(big->Checked());
    EXPECT_EQ(SendMessageW(big->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(StdCtrlsTest, ComboBoxIsADropDownListWithItemsIndexAndItemHeight) {
    auto* c = new TComboBox(form.get());
    c->SetStyle(csDropDownList);
    c->SetItemHeight(12);
    c->SetItemIndex(0);  // before the items, as descriptions give it
    c->Items()->SetLines({"SkyBlue", "Black", "Red", "Orchid", "TateGata"});
    c->SetBounds(114, 62, 70, 20);
    c->SetParent(form.get());
    HWND h = c->Handle();
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(c->ItemHeight(), 12);
    EXPECT_EQ(c->ItemIndex(), 0);
    c->SetItemIndex(4);
    EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 4);
    wchar_t text[32]{};
    SendMessageW(h, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"Red");
    // The list changes, the window follows and keeps the index.
    c->Items()->Add("Extra");
    EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(c->ItemIndex(), 4);
    // Height is the closed box's, not the dropped list's.
    EXPECT_LT(c->Height(), 40);
    // Recreating the window keeps items and index.
    c->SetCtl3D(false);
    EXPECT_NE(c->Handle(), h);
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(c->ItemIndex(), 4);
    EXPECT_FALSE(GetWindowLongPtrW(c->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(StdCtrlsTest, CloseUpIsRaisedOnEveryCloseWithOrWithoutAChange) {
    auto* c = new TComboBox(form.get());
    c->SetStyle(csDropDownList);
    c->Items()->SetLines({"SkyBlue", "Black", "Red"});
    c->SetItemIndex(0);
    c->SetBounds(10, 10, 100, 20);
    c->SetParent(form.get());
    std::vector<int> seen;
    c->OnCloseUp.handler = [&](TObject* s) {
        EXPECT_EQ(s, c);
        seen.push_back(c->ItemIndex());
    };
    c->SetDroppedDown(true);
    EXPECT_TRUE(c->DroppedDown());
    c->SetDroppedDown(false);  // closed without a change
    EXPECT_EQ(seen, (std::vector<int>{0}));

    // A choice with the keyboard in the open list, then Return.
    c->SetFocus();
    c->SetDroppedDown(true);
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    if (c->DroppedDown()) c->SetDroppedDown(false);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], 1);
    // A change with the keyboard while closed raises no close-up.
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(StdCtrlsTest, CheckAndRadioColoursComeFromOneBrushPerControl) {
    auto* c = Add<TCheckBox>(10, 40, 60, 17, "強調");
    c->SetColor(7326443);
    HWND parent = form->Handle();
    WindowDC dc(c->Handle());
    auto ask = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                                     reinterpret_cast<LPARAM>(c->Handle())));
    };
    HBRUSH b1 = ask();
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectW(b1, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, COLORREF(7326443));
    EXPECT_EQ(GetBkColor(dc.get()), COLORREF(7326443));
    EXPECT_EQ(GetTextColor(dc.get()), ColorRef(c->Font()->Color()));
    EXPECT_EQ(ask(), b1);  // the same brush every time

    c->SetColor(clRed);
    HBRUSH b2 = ask();
    ASSERT_TRUE(GetObjectW(b2, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, ColorRef(clRed));

    // Many paints and colour changes leave no GDI object behind.
    for (int i = 0; i < 5; ++i) {  // warm-up: the system's caches fill here
        c->SetColor(clBlue);
        ask();
        c->Repaint();
        c->SetColor(clRed);
        ask();
        c->Repaint();
    }
    const long before = framework_test::LiveGdiObjects();
    for (int i = 0; i < 50; ++i) {
        c->SetColor(i % 2 ? clBlue : clRed);
        ask();
        c->Repaint();
    }
    EXPECT_LE(framework_test::LiveGdiObjects(), before);
}

TEST_F(StdCtrlsTest, CreatingAndFreeingFormsWithControlsLeaksNoGdiObjects) {
    auto build = [] {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetBounds(10, 10, 300, 200);
        f->Font()->SetHeight(-12);
        for (int i = 0; i < 3; ++i) {
            auto* check = new TCheckBox(f.get());
            check->SetParent(f.get());
            check->SetColor(7326443);
            auto* combo = new TComboBox(f.get());
            combo->Items()->SetLines({"a", "b"});
            combo->SetParent(f.get());
            auto* button = new TButton(f.get());
            button->SetParent(f.get());
            auto* image = new TImage(f.get());
            image->SetParent(f.get());
            TBitmap bmp(10, 10);
            image->Picture()->SetGraphic(&bmp);
        }
        f->SetDoubleBuffered(true);
        f->Show();
        f->Update();
        HDC dc = GetDC(f->Handle());
        for (int i = 0; i < f->ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(f->Controls(i)))
                SendMessageW(f->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w->Handle()));
        ReleaseDC(f->Handle(), dc);
        Application.ProcessMessages();
    };
    build();  // warm-up: caches of the system fill here
    build();
    const long before = framework_test::LiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 5; ++i) build();
    Pump();
    EXPECT_LE(framework_test::LiveGdiObjects(), before);
}
