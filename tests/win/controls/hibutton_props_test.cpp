// Published properties, streaming defaults, setter repaint rules, owned
// objects, and the stay-on-top toggle's form description read and written back.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/HiButton.h"
#include "framework/Streaming.h"
#include "hibutton_test_util.h"

using controls_test::Counting;

namespace {

using Ex = THiSukeSukeImgEx;

TEST(HiProps, SixtySevenPublishedPropertiesInPublishingOrder) {
    const std::vector<std::string> expected{
        "Name", "Tag", "Left", "Top", "Width", "Height", "Cursor", "Hint", "HelpType", "HelpKeyword", "HelpContext",
        // THiBase
        "Enabled", "TabOrder", "TabStop", "Visible", "Font", "OnFrameColor", "OffFrameColor", "FrameWidth",
        "OnCaption", "OffCaption", "CapAlignH", "CapAlignV", "GroupID", "OnClick", "OnDblClick", "OnEnter", "OnExit",
        "OnKeyPress", "OnKeyDown", "OnKeyUp", "OnMouseMove", "OnMouseDown", "OnMouseUp",
        // THiButtonBase
        "BevelWidth", "OnFaceColor", "OffFaceColor", "HighlightColor", "ShadowColor", "OnHighlightColor",
        "OnShadowColor", "OnFontColor", "EdgeColor", "MouseOverColor", "BevelWidthMargin", "BevelHeightMargin",
        "BevelTopMargin", "BevelLeftMargin", "EdgeDraw", "OnSlideSize", "ButtonStyle", "ButtonState",
        // THiSukeSuke
        "BlendRitu", "CapDrawLayer",
        // THiSukeSukeImg
        "ImageBlendRitu", "ImageStretch", "OffImagePict", "OnImagePict", "OffImgAlignH", "OffImgAlignV", "OnImgAlignH",
        "OnImgAlignV",
        // THiSukeSukeImgEx
        "FontLinePitch", "Font2", "Font3", "CapAlignH2", "CapAlignH3"};
    std::vector<std::string> names;
    for (const PropertyInfo* p : Ex::StaticClassInfo().AllProperties()) names.push_back(p->name);
    EXPECT_EQ(names.size(), 67u);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(THiSukeSukeImg::StaticClassInfo().AllProperties().size(), 62u);
}

TEST(HiProps, EnumerationsStreamByOrdinal) {
    const ClassInfo& info = Ex::StaticClassInfo();
    EXPECT_EQ(info.FindProperty("CapDrawLayer")->enumNames, (std::vector<std::string>{"dlTop", "dlInner"}));
    EXPECT_EQ(info.FindProperty("ButtonStyle")->enumNames, (std::vector<std::string>{"bsNormal", "bsToggle"}));
    EXPECT_EQ(info.FindProperty("ButtonState")->enumNames, (std::vector<std::string>{"bstOff", "bstOn"}));
    EXPECT_EQ(info.FindProperty("CapAlignH3")->enumNames, (std::vector<std::string>{"haLeft", "haCenter", "haRight"}));
    EXPECT_EQ(info.FindProperty("OnImgAlignV")->enumNames, (std::vector<std::string>{"vaTop", "vaCenter", "vaBottom"}));
    EXPECT_EQ(sizeof(TCapDrawLayer) + sizeof(TButtonStyle) + sizeof(TButtonState) + sizeof(TNHAlignment) +
                  sizeof(TNVAlignment),
              5u);
}

// A new control of each class writes none of its own properties: every
// constructor value is the streaming default.
TEST(HiProps, ConstructorsSetTheStreamingDefaults) {
    for (const char* name : {"THiBase", "THiButtonBase", "THiSukeSuke", "THiSukeSukeImg", "THiSukeSukeImgEx"}) {
        const ClassInfo* info = FindClassInfo(name);
        ASSERT_NE(info, nullptr) << name;
        std::unique_ptr<TComponent> c(info->create(nullptr));
        EXPECT_EQ(c->ClassName(), name);
        std::vector<std::string> stored;
        for (const PropertyInfo* p : info->AllProperties()) {
            if (p->kind == PropKind::Object) {
                if (!p->isStored(*c) || p->name == "Font2" || p->name == "Font3") continue;  // fonts always written
                TPersistent* nested = p->object(*c);
                for (const PropertyInfo* q : nested->GetClassInfo().AllProperties())
                    if (q->isStored(*nested)) stored.push_back(p->name + "." + q->name);
            } else if (p->isStored(*c)) {
                stored.push_back(p->name);
            }
        }
        // Left, Top, Width and Height have no default.
        EXPECT_EQ(stored, (std::vector<std::string>{"Left", "Top", "Width", "Height"})) << name;
    }
}

TEST(HiProps, ANewButtonIsARaisedPushButtonThatIsOff) {
    THiButtonBase b(nullptr);
    EXPECT_TRUE(b.Raised());
    EXPECT_EQ(b.ButtonStyle(), bsNormal);
    EXPECT_EQ(b.ButtonState(), bstOff);
    EXPECT_FALSE(b.Pressed());
    EXPECT_FALSE(b.FocusMark());
    EXPECT_EQ(b.BevelWidth(), 5);
    EXPECT_EQ(b.OnSlideSize(), 0);
    EXPECT_FALSE(b.EdgeDraw());
    EXPECT_FALSE(b.MouseOverColor()->Enabled());
    EXPECT_EQ(b.MouseOverColor()->OffFontColor(), clYellow);
    EXPECT_EQ(b.MouseOverColor()->OnFaceColor(), clBtnFace);
    EXPECT_EQ(b.MouseInside(), 0);
    EXPECT_EQ(b.FirstPaintDone(), 0);
    EXPECT_TRUE(b.OnCaption()->Empty());
    EXPECT_TRUE(b.ControlStyle().Contains(csOpaque));
    EXPECT_TRUE(b.DoubleBuffered());
    EXPECT_EQ(b.Brush()->Style(), bsClear);
    EXPECT_FALSE(b.TabStop());

    Ex ex(nullptr);
    EXPECT_NE(ex.Font2(), ex.Font3());
    EXPECT_NE(ex.Font2(), ex.Font());
    EXPECT_EQ(ex.Font2()->Height(), TFont().Height());
}

// ------------------------------------------------------------- repaints

template <class Get, class Set, class V>
void CheckSetter(const char* name, Get get, Set set, V other) {
    Counting<Ex> b(nullptr);
    const V current = V(std::invoke(get, b));
    std::invoke(set, b, current);
    EXPECT_EQ(b.invalidations, 0) << name << ": an equal value does nothing";
    std::invoke(set, b, other);
    EXPECT_EQ(V(std::invoke(get, b)), other) << name;
    EXPECT_GE(b.invalidations, 1) << name;
    const int n = b.invalidations;
    std::invoke(set, b, other);
    EXPECT_EQ(b.invalidations, n) << name;
}

TEST(HiProps, SettersCompareStoreAndRepaint) {
    CheckSetter("OnFrameColor", &Ex::OnFrameColor, &Ex::SetOnFrameColor, clRed);
    CheckSetter("OffFrameColor", &Ex::OffFrameColor, &Ex::SetOffFrameColor, clRed);
    CheckSetter("FrameWidth", &Ex::FrameWidth, &Ex::SetFrameWidth, 2);
    CheckSetter("CapAlignH", &Ex::CapAlignH, &Ex::SetCapAlignH, haRight);
    CheckSetter("CapAlignV", &Ex::CapAlignV, &Ex::SetCapAlignV, vaBottom);
    CheckSetter("GroupID", &Ex::GroupID, &Ex::SetGroupID, 7);
    CheckSetter("BevelWidth", &Ex::BevelWidth, &Ex::SetBevelWidth, 3);
    CheckSetter("OnFaceColor", &Ex::OnFaceColor, &Ex::SetOnFaceColor, clRed);
    CheckSetter("OffFaceColor", &Ex::OffFaceColor, &Ex::SetOffFaceColor, clRed);
    CheckSetter("HighlightColor", &Ex::HighlightColor, &Ex::SetHighlightColor, clRed);
    CheckSetter("ShadowColor", &Ex::ShadowColor, &Ex::SetShadowColor, clRed);
    CheckSetter("OnHighlightColor", &Ex::OnHighlightColor, &Ex::SetOnHighlightColor, clRed);
    CheckSetter("OnShadowColor", &Ex::OnShadowColor, &Ex::SetOnShadowColor, clRed);
    CheckSetter("OnFontColor", &Ex::OnFontColor, &Ex::SetOnFontColor, clRed);
    CheckSetter("EdgeColor", &Ex::EdgeColor, &Ex::SetEdgeColor, clRed);
    CheckSetter("BevelWidthMargin", &Ex::BevelWidthMargin, &Ex::SetBevelWidthMargin, 1);
    CheckSetter("BevelHeightMargin", &Ex::BevelHeightMargin, &Ex::SetBevelHeightMargin, 1);
    CheckSetter("BevelTopMargin", &Ex::BevelTopMargin, &Ex::SetBevelTopMargin, -1);
    CheckSetter("BevelLeftMargin", &Ex::BevelLeftMargin, &Ex::SetBevelLeftMargin, -1);
    CheckSetter("EdgeDraw", &Ex::EdgeDraw, &Ex::SetEdgeDraw, true);
    CheckSetter("OnSlideSize", &Ex::OnSlideSize, &Ex::SetOnSlideSize, 2);
    CheckSetter("ButtonStyle", &Ex::ButtonStyle, &Ex::SetButtonStyle, bsToggle);
    CheckSetter("ButtonState", &Ex::ButtonState, &Ex::SetButtonState, bstOn);
    CheckSetter("BlendRitu", &Ex::BlendRitu, &Ex::SetBlendRitu, std::uint8_t(255));
    CheckSetter("CapDrawLayer", &Ex::CapDrawLayer, &Ex::SetCapDrawLayer, dlInner);
    CheckSetter("ImageBlendRitu", &Ex::ImageBlendRitu, &Ex::SetImageBlendRitu, std::uint8_t(0));
    CheckSetter("ImageStretch", &Ex::ImageStretch, &Ex::SetImageStretch, true);
    CheckSetter("OffImgAlignH", &Ex::OffImgAlignH, &Ex::SetOffImgAlignH, haLeft);
    CheckSetter("OffImgAlignV", &Ex::OffImgAlignV, &Ex::SetOffImgAlignV, vaTop);
    CheckSetter("OnImgAlignH", &Ex::OnImgAlignH, &Ex::SetOnImgAlignH, haRight);
    CheckSetter("OnImgAlignV", &Ex::OnImgAlignV, &Ex::SetOnImgAlignV, vaBottom);
    CheckSetter("FontLinePitch", &Ex::FontLinePitch, &Ex::SetFontLinePitch, -2);
    CheckSetter("CapAlignH2", &Ex::CapAlignH2, &Ex::SetCapAlignH2, haLeft);
    CheckSetter("CapAlignH3", &Ex::CapAlignH3, &Ex::SetCapAlignH3, haRight);
}

TEST(HiProps, ButtonStateSetsTheLookAndRaisedNeverCompares) {
    Counting<Ex> b(nullptr);
    b.SetButtonState(bstOn);
    EXPECT_FALSE(b.Raised());
    b.SetButtonState(bstOff);
    EXPECT_TRUE(b.Raised());
    b.invalidations = 0;
    b.SetRaised(true);
    EXPECT_EQ(b.invalidations, 1);
}

TEST(HiProps, CaptionListsAreCopiedAndAlwaysRepaint) {
    Counting<Ex> b(nullptr);
    TStringList lines{"a", "b"};
    b.SetOnCaption(lines);
    EXPECT_EQ(b.invalidations, 1);
    b.SetOnCaption(lines);  // equal lines: still a repaint
    EXPECT_EQ(b.invalidations, 2);
    lines.Add("c");
    EXPECT_EQ(b.OnCaption()->Count(), 2) << "the control keeps its own list";
    b.OnCaption()->Add("in place");  // changed through the list itself: no repaint
    b.OffCaption()->Add("x");
    EXPECT_EQ(b.invalidations, 2);
    b.SetOffCaption(lines);
    EXPECT_EQ(b.OffCaption()->Lines(), lines.Lines());
    EXPECT_EQ(b.invalidations, 3);
}

TEST(HiProps, SlideStaysBelowTheBevelAsItIsWhenSet) {
    THiButtonBase b(nullptr);
    b.SetOnSlideSize(10);
    EXPECT_EQ(b.OnSlideSize(), 4);
    b.SetBevelWidth(2);
    EXPECT_EQ(b.OnSlideSize(), 4) << "a later BevelWidth does not clamp again";
    Counting<THiButtonBase> c(nullptr);
    c.SetOnSlideSize(4);
    c.SetBevelWidth(2);
    c.invalidations = 0;
    c.SetOnSlideSize(4);
    EXPECT_EQ(c.OnSlideSize(), 4);
    EXPECT_EQ(c.invalidations, 0);
    for (int v : {1, 3, 100}) {
        THiButtonBase z(nullptr);
        z.SetBevelWidth(0);
        z.SetOnSlideSize(v);
        EXPECT_EQ(z.OnSlideSize(), -1) << v;
    }
}

TEST(HiProps, MouseOverColorIsCopiedAndOnlyColoursRepaint) {
    Counting<THiSukeSuke> b(nullptr);
    TMouseOverColor* own = b.MouseOverColor();
    TMouseOverColor given;
    given.SetEnabled(true);
    b.SetMouseOverColor(&given);
    EXPECT_TRUE(b.MouseOverColor()->Enabled());
    EXPECT_EQ(b.MouseOverColor(), own);
    EXPECT_EQ(b.invalidations, 0) << "Enabled alone is not repainted";
    given.SetOnFaceColor(clRed);
    b.SetMouseOverColor(&given);
    EXPECT_EQ(b.MouseOverColor()->OnFaceColor(), clRed);
    EXPECT_EQ(b.invalidations, 1);
    given.SetOnFaceColor(clBlue);
    EXPECT_EQ(b.MouseOverColor()->OnFaceColor(), clRed);
    b.SetMouseOverColor(nullptr);
    own->SetOffFontColor(clBlack);  // through the set itself: seen at the next paint only
    EXPECT_EQ(b.invalidations, 1);
}

TEST(HiProps, FontsAreCopiedAndTheirChangesRepaint) {
    Counting<Ex> b(nullptr);
    TFont* own = b.Font2();
    TFont given;
    given.SetHeight(-20);
    given.SetColor(clRed);
    given.SetCharset(SHIFTJIS_CHARSET);
    b.SetFont2(&given);
    EXPECT_EQ(b.Font2(), own);
    EXPECT_TRUE(b.Font2()->SameAttributes(given));
    given.SetHeight(-30);
    EXPECT_EQ(b.Font2()->Height(), -20);
    b.invalidations = 0;
    b.SetFont3(nullptr);
    EXPECT_EQ(b.invalidations, 0);
    b.Font3()->SetHeight(-18);
    const int normal = b.invalidations;
    EXPECT_GE(normal, 1);
    EXPECT_EQ(b.Font2()->Height(), -20) << "Font2 and Font3 are separate";

    Counting<Ex> designed(nullptr);
    designed.SetDesignMode(true);
    designed.invalidations = 0;
    designed.Font3()->SetHeight(-18);
    EXPECT_EQ(designed.invalidations, normal + 1) << "one more repaint in a form designer";

    b.Font()->SetColor(clBlue);  // Font is not copied into the others
    EXPECT_EQ(b.Font3()->Color(), TFont().Color());
}

TEST(HiProps, PicturesAreCopiedNotAdopted) {
    Counting<THiSukeSukeImg> b(nullptr);
    TBitmap bitmap(4, 3);
    TPicture given;
    given.SetGraphic(&bitmap);
    b.SetOffImagePict(&given);
    EXPECT_EQ(b.invalidations, 1);
    ASSERT_TRUE(b.OffImagePict()->HasGraphic());
    EXPECT_NE(b.OffImagePict()->Graphic(), given.Graphic());
    EXPECT_EQ(b.OffImagePict()->Width(), 4);
    given.SetGraphic(nullptr);
    EXPECT_TRUE(b.OffImagePict()->HasGraphic());
    b.SetOnImagePict(nullptr);
    EXPECT_FALSE(b.OnImagePict()->HasGraphic());
    b.OnImagePict()->SetGraphic(&bitmap);  // directly: shown at the next repaint only
    EXPECT_EQ(b.invalidations, 1);
}

TEST(HiProps, RegisteredForFormDescriptions) {
    for (const char* name : {"THiBase", "THiButtonBase", "THiSukeSuke", "THiSukeSukeImg", "THiSukeSukeImgEx"}) {
        ASSERT_NE(FindClassInfo(name), nullptr) << name;
        EXPECT_TRUE(FindClassInfo(name)->create) << name;
    }
}

TEST(HiProps, CurrentShiftStateReadsTheKeys) {
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE changed[256];
    std::copy(std::begin(keys), std::end(keys), changed);
    changed[VK_SHIFT] = 0x80;
    changed[VK_RBUTTON] = 0x80;
    changed[VK_MENU] = 0;
    SetKeyboardState(changed);
    const TShiftState s = CurrentShiftState();
    SetKeyboardState(keys);
    EXPECT_TRUE(s.Contains(ssShift));
    EXPECT_TRUE(s.Contains(ssRight));
    EXPECT_FALSE(s.Contains(ssAlt));
}

// ------------------------------------------------------------ on a form

class HiRepaint : public controls_test::HiTest {};

struct PaintCounting : Ex {
    using Ex::Ex;
    int paints = 0;
    void Paint() override {
        ++paints;
        Ex::Paint();
    }
};

TEST_F(HiRepaint, EnablingAndResizingRepaintAtOnce) {
    TForm form(nullptr);
    form.SetBounds(50, 50, 200, 120);
    auto* b = new PaintCounting(&form);
    b->SetBounds(10, 10, 60, 30);
    b->SetParent(&form);
    form.Show();
    for (int i = 0; i < 20 && b->paints == 0; ++i) {
        Pump();
        Sleep(5);
    }
    ASSERT_GT(b->paints, 0);
    int before = b->paints;
    b->SetEnabled(false);
    EXPECT_GT(b->paints, before) << "painted before any message was dispatched";
    before = b->paints;
    b->SetBounds(10, 10, 70, 30);
    EXPECT_GT(b->paints, before);
    // A frame that raises the minimum size grows the control at once, and
    // the resize repaints it.
    before = b->paints;
    b->SetFrameWidth(30);
    EXPECT_EQ(b->Height(), 5 + 30 + 10);
    EXPECT_GT(b->paints, before);
}

// ------------------------------------------------- the stay-on-top toggle

class TFormToggleTest : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TFormToggleTest(TComponent* owner) : TForm(owner) {
        RegisterMethod("HiSukeSukeImgEx1Click", std::function<TNotifyHandler>([this](TObject*) { ++clicks; }));
    }
    int clicks = 0;
};

const ClassInfo& TFormToggleTest::StaticClassInfo() {
    static const ClassInfo info{"TFormToggleTest", &TForm::StaticClassInfo(), {}, {}};
    return info;
}

const char* const kToggleText =
    "  object HiSukeSukeImgEx1: THiSukeSukeImgEx\n"
    "    Left = 615\n"
    "    Top = 23\n"
    "    Width = 44\n"
    "    Height = 20\n"
    "    TabOrder = 0\n"
    "    OnFrameColor = clWhite\n"
    "    OnCaption.Strings = (\n"
    "      '常時前')\n"
    "    OffCaption.Strings = (\n"
    "      'フリー')\n"
    "    OnClick = HiSukeSukeImgEx1Click\n"
    "    BevelWidth = 3\n"
    "    OnFaceColor = 14995945\n"
    "    ShadowColor = clSilver\n"
    "    OnHighlightColor = 15391981\n"
    "    OnShadowColor = 12027588\n"
    "    OnFontColor = clRed\n"
    "    ButtonStyle = bsToggle\n"
    "    ButtonState = bstOn\n"
    "    BlendRitu = 255\n"
    "    ImageBlendRitu = 0\n"
    "    Font2.Charset = SHIFTJIS_CHARSET\n"
    "    Font2.Color = clWindowText\n"
    "    Font2.Height = -12\n"
    "    Font2.Name = 'ＭＳ Ｐゴシック'\n"
    "    Font2.Style = []\n"
    "    Font3.Charset = SHIFTJIS_CHARSET\n"
    "    Font3.Color = clWindowText\n"
    "    Font3.Height = -12\n"
    "    Font3.Name = 'ＭＳ Ｐゴシック'\n"
    "    Font3.Style = []\n"
    "  end\n";

// The form's own lines as the writer gives them, then the toggle.
std::string FormText(const std::string& children) {
    TFormToggleTest empty(nullptr);
    empty.SetName("Form1");
    std::string text = WriteComponentText(&empty);
    EXPECT_EQ(text.substr(text.size() - 4), "end\n");
    return text.substr(0, text.size() - 4) + children + "end\n";
}

TEST_F(HiRepaint, TheStayOnTopToggleReadsAndWritesBack) {
    RegisterHiButtonClasses();
    const std::string text = FormText(kToggleText);
    TFormToggleTest form(nullptr);
    ReadComponentText(text, &form);
    auto& t = FindComponentAs<THiSukeSukeImgEx>(form, "HiSukeSukeImgEx1");
    EXPECT_EQ(t.Parent(), &form);
    EXPECT_EQ(t.BoundsRect().left, 615);
    EXPECT_EQ(t.BoundsRect().top, 23);
    EXPECT_EQ(t.Width(), 44);
    EXPECT_EQ(t.Height(), 20);
    EXPECT_EQ(t.TabOrder(), 0);
    EXPECT_EQ(t.OnCaption()->Lines(), std::vector<std::string>{"常時前"});
    EXPECT_EQ(t.OffCaption()->Lines(), std::vector<std::string>{"フリー"});
    EXPECT_EQ(t.ButtonStyle(), bsToggle);
    EXPECT_EQ(t.ButtonState(), bstOn);
    EXPECT_FALSE(t.Raised()) << "loading bstOn presses the face";
    EXPECT_EQ(t.BevelWidth(), 3);
    EXPECT_EQ(t.OnFaceColor(), rastel::RGBColor(233, 209, 228));
    EXPECT_EQ(t.OnHighlightColor(), rastel::RGBColor(237, 220, 234));
    EXPECT_EQ(t.OnShadowColor(), rastel::RGBColor(196, 134, 183));
    EXPECT_EQ(t.ShadowColor(), clSilver);
    EXPECT_EQ(t.OnFontColor(), clRed);
    EXPECT_EQ(t.OnFrameColor(), clWhite);
    EXPECT_EQ(t.BlendRitu(), 255);
    EXPECT_EQ(t.ImageBlendRitu(), 0);
    EXPECT_EQ(t.FrameWidth(), 0);
    EXPECT_EQ(t.GroupID(), 0);
    EXPECT_FALSE(t.MouseOverColor()->Enabled());
    for (TFont* f : {t.Font2(), t.Font3()}) {
        EXPECT_EQ(f->Charset(), SHIFTJIS_CHARSET);
        EXPECT_EQ(f->Color(), clWindowText);
        EXPECT_EQ(f->Height(), -12);
        EXPECT_EQ(f->Name(), "ＭＳ Ｐゴシック");
        EXPECT_TRUE(f->Style().Empty());
    }
    EXPECT_TRUE(t.ParentFont()) << "Font follows the form";
    EXPECT_TRUE(GetWindowLongW(t.Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    t.OnClick(&t);
    EXPECT_EQ(form.clicks, 1);

    EXPECT_EQ(WriteComponentText(&form), text);
}

TEST_F(HiRepaint, NestedColourSetAndOtherValuesRoundTrip) {
    RegisterHiButtonClasses();
    const std::string text = FormText(
        "  object B: THiSukeSuke\n"
        "    Left = 1\n"
        "    Top = 2\n"
        "    Width = 30\n"
        "    Height = 30\n"
        "    Tag = 5\n"
        "    Hint = 'tip'\n"
        "    TabOrder = 0\n"
        "    CapAlignH = haLeft\n"
        "    GroupID = 4\n"
        "    MouseOverColor.Enabled = True\n"
        "    MouseOverColor.OnFaceColor = clRed\n"
        "    OnSlideSize = 2\n"
        "    CapDrawLayer = dlInner\n"
        "  end\n");
    TFormToggleTest form(nullptr);
    ReadComponentText(text, &form);
    auto& b = FindComponentAs<THiSukeSuke>(form, "B");
    EXPECT_TRUE(b.MouseOverColor()->Enabled());
    EXPECT_EQ(b.MouseOverColor()->OnFaceColor(), clRed);
    EXPECT_EQ(b.OnSlideSize(), 2);
    EXPECT_EQ(b.CapDrawLayer(), dlInner);
    EXPECT_EQ(b.Tag(), 5);
    const std::string written = WriteComponentText(&form);
    // Written in publishing order: Tag and Hint come before TabOrder.
    const std::string expected = FormText(
        "  object B: THiSukeSuke\n"
        "    Tag = 5\n"
        "    Left = 1\n"
        "    Top = 2\n"
        "    Width = 30\n"
        "    Height = 30\n"
        "    Hint = 'tip'\n"
        "    TabOrder = 0\n"
        "    CapAlignH = haLeft\n"
        "    GroupID = 4\n"
        "    MouseOverColor.Enabled = True\n"
        "    MouseOverColor.OnFaceColor = clRed\n"
        "    OnSlideSize = 2\n"
        "    CapDrawLayer = dlInner\n"
        "  end\n");
    EXPECT_EQ(written, expected);
}

}  // namespace
