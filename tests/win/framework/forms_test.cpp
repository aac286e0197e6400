// Forms: centring and scaling arithmetic, window styles, client size,
// position setters, showing, closing and hiding, descriptions.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "controls_test_util.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/Streaming.h"
#include "tests/win/win_test_util.h"

using namespace framework_test;

TEST(FormArithmetic, DesktopCentreUsesTheVirtualScreenOriginAndTruncatesTowardZero) {
    POINT p = DesktopCenterPosition(0, 0, 1280, 1024, 400, 300);
    EXPECT_EQ(p.x, 440);
    EXPECT_EQ(p.y, 362);
    // Odd remainders drop the half pixel.
    p = DesktopCenterPosition(0, 0, 1280, 1024, 401, 301);
    EXPECT_EQ(p.x, 439);
    EXPECT_EQ(p.y, 361);
    // A monitor left of and above the primary one: the origin counts.
    p = DesktopCenterPosition(-1920, -200, 3200, 1280, 801, 601);
    EXPECT_EQ(p.x, -1920 + 1199);
    EXPECT_EQ(p.y, -200 + 339);
    // A window larger than the screen: (800 - 1001) / 2 is -100, not -101.
    p = DesktopCenterPosition(0, 0, 800, 600, 1001, 701);
    EXPECT_EQ(p.x, -100);
    EXPECT_EQ(p.y, -50);
}

TEST(FormArithmetic, ScalingAt96120And144PixelsPerInch) {
    // A font whose text height is its character height + 1, like many faces.
    int measured = 0;
    auto textHeight = [&measured](int fontHeight) {
        ++measured;
        return -fontHeight + 1;
    };
    TFormScaling s = ComputeFormScaling(96, 12, 96, -12, textHeight);
    EXPECT_FALSE(s.scaled);
    EXPECT_EQ(s.fontHeight, -12);
    EXPECT_EQ(s.Scale(747), 747);
    EXPECT_EQ(measured, 0);  // same resolution: nothing measured

    s = ComputeFormScaling(96, 12, 120, -12, textHeight);
    EXPECT_TRUE(s.scaled);
    EXPECT_EQ(s.fontHeight, -15);
    EXPECT_EQ(s.textHeight, 16);
    EXPECT_EQ(s.Scale(747), 996);  // 747 * 16 / 12
    EXPECT_EQ(s.Scale(529), 705);  // 705.33 rounds down
    EXPECT_EQ(s.Scale(23), 31);    // 30.67 rounds up (MulDiv rounds)
    EXPECT_EQ(s.Scale(-3), -4);

    s = ComputeFormScaling(96, 12, 144, -12, textHeight);
    EXPECT_EQ(s.fontHeight, -18);
    EXPECT_EQ(s.textHeight, 19);
    EXPECT_EQ(s.Scale(615), 974);  // 973.75
    EXPECT_EQ(s.Scale(44), 70);    // 69.67

    // The font grows, but its text height is still the designed one: the
    // layout stays.
    s = ComputeFormScaling(96, 12, 100, -12, [](int) { return 12; });
    EXPECT_FALSE(s.scaled);
    EXPECT_EQ(s.fontHeight, -13);  // -12.5 rounds away from zero
    EXPECT_EQ(s.Scale(100), 100);
    // No designed text height: nothing to scale by.
    s = ComputeFormScaling(96, 0, 144, -12, textHeight);
    EXPECT_FALSE(s.scaled);
    EXPECT_EQ(s.fontHeight, -12);
}

TEST(FormArithmetic, StartupShowStateGivesTheFirstWindowState) {
    EXPECT_EQ(StartupWindowState(true, SW_SHOWMAXIMIZED), wsMaximized);
    EXPECT_EQ(StartupWindowState(true, SW_SHOWMINNOACTIVE), wsMinimized);
    EXPECT_EQ(StartupWindowState(true, SW_SHOWMINIMIZED), wsNormal);
    EXPECT_EQ(StartupWindowState(true, SW_SHOWNORMAL), wsNormal);
    EXPECT_EQ(StartupWindowState(false, SW_SHOWMAXIMIZED), wsNormal);
}

namespace {

class FormsTest : public WindowTest {
protected:
    void TearDown() override {
        Screen.SetPixelsPerInch(0);
        WindowTest::TearDown();
    }
};

LONG_PTR Style(HWND h) { return GetWindowLongPtrW(h, GWL_STYLE); }
LONG_PTR ExStyle(HWND h) { return GetWindowLongPtrW(h, GWL_EXSTYLE); }

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

}  // namespace

TEST_F(FormsTest, BorderStylesAndIconsGiveTheWindowStyles) {
    TForm single(nullptr);
    single.SetBorderStyle(bsSingle);
    single.SetBorderIcons({biSystemMenu});
    HWND h = single.Handle();
    EXPECT_TRUE(Style(h) & WS_CAPTION);
    EXPECT_TRUE(Style(h) & WS_SYSMENU);
    EXPECT_FALSE(Style(h) & WS_THICKFRAME);
    EXPECT_FALSE(Style(h) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(ExStyle(h) & WS_EX_DLGMODALFRAME);

    TForm dialog(nullptr);
    dialog.SetBorderStyle(bsDialog);  // all three icons asked for: only the close box
    h = dialog.Handle();
    EXPECT_TRUE(ExStyle(h) & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(Style(h) & WS_CAPTION);
    EXPECT_TRUE(Style(h) & WS_SYSMENU);
    EXPECT_FALSE(Style(h) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    TForm sizeable(nullptr);
    h = sizeable.Handle();
    EXPECT_TRUE(Style(h) & WS_THICKFRAME);
    EXPECT_TRUE(Style(h) & WS_MINIMIZEBOX);
    EXPECT_EQ(sizeable.ClassName(), "TForm");
}

TEST_F(FormsTest, ClientSizeAskedBeforeTheWindowIsItsClientSizeAfterwards) {
    TForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetClientWidth(747);
    form.SetClientHeight(529);
    EXPECT_EQ(form.ClientWidth(), 747);
    EXPECT_GT(form.Width(), 747);  // the frame is added
    // A later border style keeps the client size asked for.
    form.SetBorderStyle(bsDialog);
    RECT c{};
    GetClientRect(form.Handle(), &c);
    EXPECT_EQ(c.right, 747);
    EXPECT_EQ(c.bottom, 529);
    form.SetClientWidth(300);  // (narrow captioned windows meet the system's minimum width)
    GetClientRect(form.Handle(), &c);
    EXPECT_EQ(c.right, 300);
    EXPECT_EQ(form.ClientHeight(), 529);
}

TEST_F(FormsTest, LeftTopWidthSettersMoveTheWindowAtOnce) {
    TForm form(nullptr);
    form.SetBounds(100, 120, 300, 200);
    form.Show();
    win_test::SettledRect(form.Handle());
    form.SetBounds(100, 120, 300, 200);
    form.SetTop(form.Top() + 19);
    EXPECT_EQ(WindowRect(form.Handle()).top, 139);
    form.SetLeft(form.Left() - 1);
    EXPECT_EQ(WindowRect(form.Handle()).left, 99);
    form.SetWidth(200);  // (the system keeps captioned windows above a minimum width)
    EXPECT_EQ(WindowRect(form.Handle()).right - WindowRect(form.Handle()).left, 200);
    Pump();
    EXPECT_EQ(form.Left(), 99);
    EXPECT_EQ(form.Top(), 139);
    EXPECT_EQ(WindowRect(form.Handle()).left, 99);
    // Off the screen too: nothing limits the position.
    form.SetLeft(-500);
    EXPECT_EQ(WindowRect(form.Handle()).left, -500);
    // The client offset inside the window does not depend on the position.
    POINT a = form.ClientToScreen(POINT{-form.Left(), -form.Top()});
    form.SetBounds(300, 300, 200, 200);
    POINT b = form.ClientToScreen(POINT{-form.Left(), -form.Top()});
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_GT(b.y, 0);  // caption bar
}

TEST_F(FormsTest, DesktopCenteredFormIsPlacedAtItsFirstShowingOnly) {
    TForm form(nullptr);
    form.SetBounds(442, 291, 300, 200);
    form.SetPosition(poDesktopCenter);
    form.Show();
    RECT r = WindowRect(form.Handle());
    POINT want = DesktopCenterPosition(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                       GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                       r.right - r.left, r.bottom - r.top);
    EXPECT_EQ(r.left, want.x);
    EXPECT_EQ(r.top, want.y);
    EXPECT_EQ(form.Left(), want.x);
    form.Hide();
    form.SetLeft(10);
    form.Show();
    EXPECT_EQ(WindowRect(form.Handle()).left, 10);
}

TEST_F(FormsTest, ClosingAFormThatIsNotTheMainFormHidesIt) {
    TForm form(nullptr);
    form.SetCaption("微調整");
    form.Show();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    wchar_t text[32]{};
    GetWindowTextW(form.Handle(), text, 32);
    EXPECT_EQ(std::wstring(text), L"微調整");
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);  // the close box
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.Visible());
    form.Show();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(FormsTest, ShowingFocusesTheFirstTabStop) {
    TForm form(nullptr);
    auto* custom = new LogControl(&form);  // no Tab stop
    custom->SetParent(&form);
    auto* first = new TButton(&form);
    first->SetParent(&form);
    auto* second = new TButton(&form);
    second->SetParent(&form);
    second->SetTabOrder(1);
    form.Show();
    Pump();
    EXPECT_EQ(form.ActiveControl(), second);
    EXPECT_TRUE(second->Focused());
}

namespace {

const char* kDescription = R"(object Form1: TTestForm
  Left = 442
  Top = 291
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Rastel （Ver 2.12.13)'
  ClientHeight = 200
  ClientWidth = 300
  Color = 7176239
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'Arial'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesktopCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 12
  object Button1: TButton
    Left = 198
    Top = 23
    Width = 30
    Height = 21
    Caption = '終了'
    TabOrder = 0
    OnClick = Button1Click
  end
  object CheckBox1: TCheckBox
    Left = 184
    Top = 64
    Width = 43
    Height = 17
    Caption = 'Strong'
    Color = 7326443
    ParentColor = False
    TabOrder = 1
    OnClick = Button1Click
  end
  object ComboBox1: TComboBox
    Left = 114
    Top = 62
    Width = 70
    Height = 20
    Style = csDropDownList
    BevelInner = bvNone
    BevelOuter = bvNone
    Ctl3D = False
    ItemHeight = 12
    ItemIndex = 1
    TabOrder = 2
    OnCloseUp = Button1Click
    Items.Strings = (
      'SkyBlue'
      'Black')
  end
  object RadioButton1: TRadioButton
    Left = 186
    Top = 46
    Width = 41
    Height = 15
    Caption = '16'
    Checked = True
    Color = 7326443
    ParentColor = False
    TabOrder = 3
    TabStop = True
    OnClick = Button1Click
  end
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 33
    Height = 25
  end
end
)";

class TTestForm : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("FormCreate", std::function<TNotifyHandler>([this](TObject*) { ++created; }));
        RegisterMethod("Button1Click", std::function<TNotifyHandler>([this](TObject*) { ++clicks; }));
        ReadDescription(kDescription);
    }
    int created = 0;
    int clicks = 0;
};

const ClassInfo& TTestForm::StaticClassInfo() {
    static const ClassInfo info{"TTestForm", &TForm::StaticClassInfo(), {}, {}};
    return info;
}

}  // namespace

TEST_F(FormsTest, DescriptionIsReadAndWrittenBackUnchanged) {
    Screen.SetPixelsPerInch(96);  // the designed resolution: nothing is scaled
    TTestForm form(nullptr);
    EXPECT_EQ(form.created, 0);  // OnCreate waits for AfterConstruction
    form.AfterConstruction();
    form.AfterConstruction();
    EXPECT_EQ(form.created, 1);
    EXPECT_EQ(form.Caption(), "Rastel （Ver 2.12.13)");
    EXPECT_EQ(form.ClientWidth(), 300);
    auto& combo = FindComponentAs<TComboBox>(form, "ComboBox1");
    EXPECT_EQ(combo.Parent(), &form);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Items()->Count(), 2);
    auto& check = FindComponentAs<TCheckBox>(form, "CheckBox1");
    EXPECT_EQ(check.Color(), 7326443u);
    EXPECT_EQ(check.Font()->Name(), "Arial");  // follows the form
    EXPECT_TRUE(FindComponentAs<TRadioButton>(form, "RadioButton1").Checked());
    EXPECT_EQ(WriteComponentText(&form), kDescription);
    // With windows: the list keeps its items and index (its Height is now
    // the real box's).
    form.HandleNeeded();
    EXPECT_EQ(combo.ItemIndex(), 1);
    const std::string written = WriteComponentText(&form);
    EXPECT_NE(written.find("    ItemIndex = 1\n"), std::string::npos);
    EXPECT_NE(written.find("      'SkyBlue'\n      'Black')\n"), std::string::npos);
}

TEST_F(FormsTest, DescriptionIsScaledOnAScreenOfAnotherResolution) {
    Screen.SetPixelsPerInch(144);
    TTestForm form(nullptr);
    EXPECT_EQ(form.Font()->Height(), -18);
    TFont probe;
    probe.Assign(*form.Font());
    WindowDC screen(nullptr);
    TCanvas canvas(screen.get());
    canvas.SetFont(probe);
    const int th = canvas.TextHeight("0");
    ASSERT_NE(th, 12);
    EXPECT_EQ(form.TextHeight(), th);
    EXPECT_EQ(form.PixelsPerInch(), 144);
    EXPECT_EQ(form.ClientWidth(), MulDiv(300, th, 12));
    EXPECT_EQ(form.ClientHeight(), MulDiv(200, th, 12));
    auto& button = FindComponentAs<TButton>(form, "Button1");
    EXPECT_EQ(button.Left(), MulDiv(198, th, 12));
    EXPECT_EQ(button.Top(), MulDiv(23, th, 12));
    EXPECT_EQ(button.Width(), MulDiv(30, th, 12));
    EXPECT_EQ(button.Height(), MulDiv(21, th, 12));
    EXPECT_EQ(button.Font()->Height(), -18);  // the controls follow the form's font
    RECT c{};
    GetClientRect(form.Handle(), &c);
    EXPECT_EQ(c.right, MulDiv(300, th, 12));
}

TEST_F(FormsTest, ImageAutoSizeTakesThePictureSize) {
    TForm form(nullptr);
    auto* image = new TImage(&form);
    image->SetParent(&form);
    image->SetBounds(0, 0, 33, 25);
    TBitmap bmp(120, 80);
    image->Picture()->SetGraphic(&bmp);
    EXPECT_EQ(image->Width(), 33);  // AutoSize off
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 120);
    EXPECT_EQ(image->Height(), 80);
    TBitmap other(7, 9);
    image->Picture()->SetGraphic(&other);
    EXPECT_EQ(image->Width(), 7);
    EXPECT_EQ(image->Height(), 9);
}
