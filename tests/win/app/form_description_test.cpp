// The two windows' form descriptions: what they set, that they read and
// write back unchanged, and how they scale on screens of other resolutions.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FormDescriptions.h"
#include "app_test_util.h"
#include "framework/Streaming.h"

namespace {

using app_test::AppTest;

struct Bounds {
    const char* name;
    int left, top, width, height;
};

// Design positions and sizes, in tab order.
const std::vector<Bounds> kMainControls = {
    {"HiSukeSukeImgEx1", 615, 23, 44, 20},
    {"Button1", 698, 23, 30, 21},      {"CheckBox1", 684, 64, 43, 17},    {"ComboBox1", 614, 62, 70, 20},
    {"Button2", 661, 23, 18, 21},      {"RadioButton2", 650, 46, 35, 15}, {"RadioButton1", 686, 46, 41, 15},
    {"RadioButton3", 616, 46, 33, 15}, {"Image1", 0, 0, 33, 25},
};
const std::vector<Bounds> kPanelButtons = {
    {"Button1", 28, 4, 25, 25},  {"Button2", 52, 28, 25, 25}, {"Button3", 28, 52, 25, 25},
    {"Button4", 4, 28, 25, 25},  {"Button5", 56, 4, 21, 21},  {"Button6", 56, 56, 21, 21},
    {"Button7", 4, 4, 21, 21},   {"Button8", 3, 56, 21, 21},
};

using FormDescriptionTest = AppTest;

TEST_F(FormDescriptionTest, MainWindowReadsAsDesigned) {
    Screen.SetPixelsPerInch(96);
    TForm1 f(nullptr);
    // Reading makes no window: every control is created with its properties read.
    EXPECT_FALSE(f.HandleAllocated());
    EXPECT_EQ(f.Caption(), "Rastel （Ver 2.12.13)");
    EXPECT_EQ(f.BorderStyle(), bsSingle);
    EXPECT_EQ(f.BorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(f.ClientWidth(), 747);
    EXPECT_EQ(f.ClientHeight(), 529);
    EXPECT_EQ(f.Color(), rastel::RGBColor(47, 128, 109));
    EXPECT_EQ(f.Position(), poDesktopCenter);
    EXPECT_EQ(f.Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(f.Font()->Height(), -12);
    EXPECT_EQ(f.Font()->Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(f.Font()->Color(), clWindowText);
    EXPECT_TRUE(f.Font()->Style().Empty());

    for (const Bounds& b : kMainControls) {
        auto* c = dynamic_cast<TControl*>(f.FindComponent(b.name));
        ASSERT_NE(c, nullptr) << b.name;
        EXPECT_EQ(c->Parent(), &f) << b.name;
        EXPECT_EQ((std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}),
                  (std::vector<int>{b.left, b.top, b.width, b.height}))
            << b.name;
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(dynamic_cast<TWinControl*>(f.FindComponent(kMainControls[std::size_t(i)].name))->TabOrder(), i)
            << kMainControls[std::size_t(i)].name;

    // The stay-on-top toggle: switched on, pressed, in the pink of its on look.
    THiSukeSukeImgEx& t = *f.HiSukeSukeImgEx1;
    EXPECT_EQ(&t, f.FindComponent("HiSukeSukeImgEx1"));
    EXPECT_EQ(t.ClassName(), "THiSukeSukeImgEx");
    EXPECT_EQ(t.OnCaption()->Lines(), std::vector<std::string>{"常時前"});
    EXPECT_EQ(t.OffCaption()->Lines(), std::vector<std::string>{"フリー"});
    EXPECT_EQ(t.ButtonStyle(), bsToggle);
    EXPECT_EQ(t.ButtonState(), bstOn);
    EXPECT_FALSE(t.Raised());
    EXPECT_EQ(t.GroupID(), 0);
    EXPECT_EQ(t.BevelWidth(), 3);
    EXPECT_EQ(t.OnFaceColor(), rastel::RGBColor(233, 209, 228));
    EXPECT_EQ(t.OnHighlightColor(), rastel::RGBColor(237, 220, 234));
    EXPECT_EQ(t.OnShadowColor(), rastel::RGBColor(196, 134, 183));
    EXPECT_EQ(t.ShadowColor(), clSilver);
    EXPECT_EQ(t.OnFontColor(), clRed);
    EXPECT_EQ(t.OnFrameColor(), clWhite);
    EXPECT_EQ(t.OffFaceColor(), clBtnFace);
    EXPECT_EQ(t.FrameWidth(), 0);
    EXPECT_EQ(t.BlendRitu(), 255);
    EXPECT_EQ(t.ImageBlendRitu(), 0);
    EXPECT_FALSE(t.MouseOverColor()->Enabled());
    EXPECT_FALSE(t.OnImagePict()->HasGraphic() || t.OffImagePict()->HasGraphic());
    for (TFont* font : {t.Font2(), t.Font3()}) {
        EXPECT_EQ(font->Charset(), SHIFTJIS_CHARSET);
        EXPECT_EQ(font->Color(), clWindowText);
        EXPECT_EQ(font->Height(), -12);
        EXPECT_EQ(font->Name(), "ＭＳ Ｐゴシック");
        EXPECT_TRUE(font->Style().Empty());
    }
    EXPECT_TRUE(t.ParentFont()) << "the toggle's font follows the window's";
    EXPECT_EQ(t.Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(t.Font()->Height(), -12);

    EXPECT_EQ(f.Button1->Caption(), "終了");
    EXPECT_EQ(f.Button2->Caption(), "移");
    EXPECT_EQ(f.CheckBox1->Caption(), "強調");
    EXPECT_FALSE(f.CheckBox1->Checked());
    EXPECT_EQ(f.ComboBox1->Style(), csDropDownList);
    EXPECT_FALSE(f.ComboBox1->Ctl3D());
    EXPECT_EQ(f.ComboBox1->BevelInner(), bvNone);
    EXPECT_EQ(f.ComboBox1->BevelOuter(), bvNone);
    EXPECT_EQ(f.ComboBox1->ItemHeight(), 12);
    EXPECT_EQ(f.ComboBox1->Items()->Lines(),
              (std::vector<std::string>{"SkyBlue", "Black", "Red", "Orchid", "TateGata"}));
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(f.RadioButton1->Caption(), "16升");
    EXPECT_EQ(f.RadioButton2->Caption(), "8升");
    EXPECT_EQ(f.RadioButton3->Caption(), "大");
    EXPECT_TRUE(f.RadioButton1->Checked());
    EXPECT_TRUE(f.RadioButton1->TabStop());
    EXPECT_FALSE(f.RadioButton2->Checked() || f.RadioButton3->Checked());
    EXPECT_FALSE(f.RadioButton2->TabStop() || f.RadioButton3->TabStop());
    for (TControl* c : std::vector<TControl*>{f.CheckBox1, f.RadioButton1, f.RadioButton2, f.RadioButton3})
        EXPECT_EQ(c->Color(), 7326443u) << c->Name();

    // Handlers bound by name: the shared selection handler serves five controls.
    EXPECT_EQ(f.OnCreate.handlerName, "FormCreate");
    EXPECT_EQ(f.Button1->OnClick.handlerName, "Button1Click");
    EXPECT_EQ(f.Button2->OnClick.handlerName, "Button2Click");
    EXPECT_EQ(f.ComboBox1->OnCloseUp.handlerName, "ComboBox1CloseUp");
    EXPECT_EQ(t.OnClick.handlerName, "HiSukeSukeImgEx1Click");
    EXPECT_FALSE(t.OnMouseUp);
    EXPECT_TRUE(t.OnClick && t.OnStateSettled) << "the band follows the click and every press's end";
    for (TControl* c : std::vector<TControl*>{f.CheckBox1, f.RadioButton1, f.RadioButton2, f.RadioButton3}) {
        EXPECT_EQ(c->OnClick.handlerName, "ComboBox1CloseUp") << c->Name();
        EXPECT_TRUE(c->OnClick) << c->Name();
    }
}

TEST_F(FormDescriptionTest, PanelReadsAsDesigned) {
    Screen.SetPixelsPerInch(96);
    TForm2 f(nullptr);
    EXPECT_EQ(f.Caption(), "微調整");
    EXPECT_EQ(f.BorderStyle(), bsDialog);
    EXPECT_EQ(f.ClientWidth(), 115);
    EXPECT_EQ(f.ClientHeight(), 81);
    EXPECT_EQ(f.Color(), 7326443u);
    EXPECT_EQ((std::vector<int>{f.Left(), f.Top()}), (std::vector<int>{1271, 484}));
    EXPECT_EQ(f.Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(f.Font()->Charset(), SHIFTJIS_CHARSET);
    const char* captions[] = {"↑", "→", "↓", "←", "斜", "斜", "斜", "斜"};
    for (int i = 0; i < 8; ++i) {
        const Bounds& b = kPanelButtons[std::size_t(i)];
        auto* c = dynamic_cast<TButton*>(f.FindComponent(b.name));
        ASSERT_NE(c, nullptr) << b.name;
        EXPECT_EQ((std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height(), c->TabOrder()}),
                  (std::vector<int>{b.left, b.top, b.width, b.height, i}))
            << b.name;
        EXPECT_EQ(c->Caption(), captions[i]);
        EXPECT_EQ(c->OnClick.handlerName, std::string(b.name) + "Click");
    }
}

TEST_F(FormDescriptionTest, DescriptionsWriteBackUnchanged) {
    Screen.SetPixelsPerInch(96);
    {
        TForm1 f(nullptr);
        EXPECT_EQ(WriteComponentText(&f), std::string(kUnit1Description));
    }
    {
        TForm2 f(nullptr);
        EXPECT_EQ(WriteComponentText(&f), std::string(kUnit2Description));
    }
}

// Font height by the ratio of the resolutions, everything else by the new
// text height over 12. "ＭＳ Ｐゴシック" has no internal leading: its text
// height is the character height.
TEST(FormScaling, DesignValuesAt96120And144Dpi) {
    auto textHeight = [](int fontHeight) { return -fontHeight; };
    struct Expect {
        int ppi, fontHeight, clientW, clientH;
        Bounds button1;  // the main window's "終了"
        int panelW, panelH;
    };
    const Expect cases[] = {
        {96, -12, 747, 529, {"Button1", 698, 23, 30, 21}, 115, 81},
        {120, -15, 934, 661, {"Button1", 873, 29, 38, 26}, 144, 101},
        {144, -18, 1121, 794, {"Button1", 1047, 35, 45, 32}, 173, 122},
    };
    for (const Expect& e : cases) {
        const TFormScaling s = ComputeFormScaling(96, 12, e.ppi, -12, textHeight);
        EXPECT_EQ(s.fontHeight, e.fontHeight) << e.ppi;
        EXPECT_EQ(s.Scale(747), e.clientW) << e.ppi;
        EXPECT_EQ(s.Scale(529), e.clientH) << e.ppi;
        EXPECT_EQ((std::vector<int>{s.Scale(698), s.Scale(23), s.Scale(30), s.Scale(21)}),
                  (std::vector<int>{e.button1.left, e.button1.top, e.button1.width, e.button1.height}))
            << e.ppi;
        EXPECT_EQ(s.Scale(115), e.panelW) << e.ppi;
        EXPECT_EQ(s.Scale(81), e.panelH) << e.ppi;
    }
}

// The real windows on a 120 and a 144 dpi screen: font, client size and every
// control scaled by the same ratio.
TEST_F(FormDescriptionTest, WindowsScaleOnOtherResolutions) {
    for (int ppi : {120, 144}) {
        Screen.SetPixelsPerInch(ppi);
        TForm1 f(nullptr);
        EXPECT_EQ(f.Font()->Height(), MulDiv(-12, ppi, 96)) << ppi;
        const int t = f.TextHeight();
        EXPECT_GT(t, 12) << ppi;
        auto scale = [t](int v) { return MulDiv(v, t, 12); };
        EXPECT_EQ(f.ClientWidth(), scale(747)) << ppi;
        EXPECT_EQ(f.ClientHeight(), scale(529)) << ppi;
        for (const Bounds& b : kMainControls) {
            auto* c = dynamic_cast<TControl*>(f.FindComponent(b.name));
            EXPECT_EQ((std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}),
                      (std::vector<int>{scale(b.left), scale(b.top), scale(b.width), scale(b.height)}))
                << b.name << " at " << ppi;
        }
        // The pixel values that are not bounds, and the toggle's own fonts.
        EXPECT_EQ(f.ComboBox1->ItemHeight(), scale(12)) << ppi;
        EXPECT_EQ(f.HiSukeSukeImgEx1->BevelWidth(), scale(3)) << ppi;
        EXPECT_EQ(f.HiSukeSukeImgEx1->Font2()->Height(), MulDiv(-12, ppi, 96)) << ppi;
        EXPECT_EQ(f.HiSukeSukeImgEx1->Font3()->Height(), MulDiv(-12, ppi, 96)) << ppi;
        TForm2 p(nullptr);
        EXPECT_EQ(p.ClientWidth(), MulDiv(115, p.TextHeight(), 12)) << ppi;
        EXPECT_EQ(p.Button8->Left(), MulDiv(3, p.TextHeight(), 12)) << ppi;
    }
}

}  // namespace
