// Form descriptions: reading, writing and their errors, on a small class
// hierarchy of the test's own that publishes every kind of property.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/PropertyHelpers.h"
#include "framework/Streaming.h"

namespace {

enum TTestAlign { taNone, taLeft, taRight };
enum TTestAnchor { tkLeft, tkTop, tkRight, tkBottom };
using TTestAnchors = TSet<TTestAnchor>;
using TValueHandler = void(TObject* sender, int value);

std::vector<std::string> gLog;  // SetParentComponent and Loaded calls, in order

// Nested persistent value (like a colour set of a button).
class TTestColors : public TPersistent {
    RASTEL_CLASS_INFO
public:
    bool enabled = false;
    TColor face = clBtnFace;
    bool Enabled() const { return enabled; }
    void SetEnabled(bool v) { enabled = v; }
    TColor Face() const { return face; }
    void SetFace(TColor c) { face = c; }
};

const ClassInfo& TTestColors::StaticClassInfo() {
    static const ClassInfo info{"TTestColors",
                                &TPersistent::StaticClassInfo(),
                                {
                                    BoolProperty<TTestColors>("Enabled", &TTestColors::Enabled, &TTestColors::SetEnabled, false),
                                    ColorProperty<TTestColors>("Face", &TTestColors::Face, &TTestColors::SetFace, clBtnFace),
                                },
                                {}};
    return info;
}

class TTestControl : public TComponent {
    RASTEL_CLASS_INFO
public:
    using TComponent::TComponent;
    int left = 0;
    bool visible = true;
    std::string caption;
    TColor color = clBtnFace;
    bool parentFont = true;
    TFont font;
    TNotifyEvent OnClick;
    TTestControl* parent = nullptr;

    int Left() const { return left; }
    void SetLeft(int v) { left = v; }
    bool Visible() const { return visible; }
    void SetVisible(bool v) { visible = v; }
    const std::string& Caption() const { return caption; }
    void SetCaption(const std::string& v) { caption = v; }
    TColor Color() const { return color; }
    void SetColor(TColor c) { color = c; }
    bool ParentFont() const { return parentFont; }
    void SetParentFont(bool v) { parentFont = v; }
    TFont& Font() { return font; }

    void SetParentComponent(TComponent* p) override {
        parent = dynamic_cast<TTestControl*>(p);
        gLog.push_back("parent " + Name() + "<-" + (p ? p->Name() : "null"));
    }
    void Loaded() override { gLog.push_back("loaded " + Name()); }
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override {
        std::vector<TComponent*> out;
        for (TComponent* c : root->Components())
            if (auto* t = dynamic_cast<TTestControl*>(c); t && t->parent == this) out.push_back(c);
        return out;
    }
};

const ClassInfo& TTestControl::StaticClassInfo() {
    static const ClassInfo info{
        "TTestControl",
        &TComponent::StaticClassInfo(),
        {
            IntProperty<TTestControl>("Left", &TTestControl::Left, &TTestControl::SetLeft, 0),
            BoolProperty<TTestControl>("Visible", &TTestControl::Visible, &TTestControl::SetVisible, true),
            StringProperty<TTestControl>("Caption", &TTestControl::Caption, &TTestControl::SetCaption),
            ColorProperty<TTestControl>("Color", &TTestControl::Color, &TTestControl::SetColor, clBtnFace),
            ObjectProperty<TTestControl>("Font", &TTestControl::Font,
                                         [](const TTestControl& c) { return !c.parentFont; }),
            BoolProperty<TTestControl>("ParentFont", &TTestControl::ParentFont, &TTestControl::SetParentFont, true),
            NotifyEventProperty<TTestControl>("OnClick", &TTestControl::OnClick),
        },
        [](TComponent* owner) -> TComponent* { return new TTestControl(owner); }};
    return info;
}

class TTestWidget : public TTestControl {
    RASTEL_CLASS_INFO
public:
    explicit TTestWidget(TComponent* owner) : TTestControl(owner) { left = 10; }
    TTestAlign align = taNone;
    TTestAnchors anchors{tkLeft, tkTop};
    TStringList items;
    TTestColors colors;
    std::int64_t big = 0;
    std::uint8_t ratio = 127;
    TEvent<TValueHandler> OnValue;

    TTestAlign Align() const { return align; }
    void SetAlign(TTestAlign a) { align = a; }
    TTestAnchors Anchors() const { return anchors; }
    void SetAnchors(TTestAnchors a) { anchors = a; }
    const TStringList& Items() const { return items; }
    void SetItems(const TStringList& l) { items.Assign(l); }
    TTestColors* Colors() { return &colors; }
};

const ClassInfo& TTestWidget::StaticClassInfo() {
    static const ClassInfo info{
        "TTestWidget",
        &TTestControl::StaticClassInfo(),
        {
            EnumProperty<TTestWidget, TTestAlign>("Align", {"taNone", "taLeft", "taRight"}, &TTestWidget::Align,
                                                  &TTestWidget::SetAlign, taNone),
            SetProperty<TTestWidget, TTestAnchor>("Anchors", {"tkLeft", "tkTop", "tkRight", "tkBottom"},
                                                  &TTestWidget::Anchors, &TTestWidget::SetAnchors,
                                                  TTestAnchors{tkLeft, tkTop}),
            StringListProperty<TTestWidget>("Items", &TTestWidget::Items, &TTestWidget::SetItems),
            ObjectProperty<TTestWidget>("Colors", &TTestWidget::Colors),
            IntProperty<TTestWidget>("Big", &TTestWidget::big, [](TTestWidget& w, std::int64_t v) { w.big = v; }, 0),
            IntProperty<TTestWidget>("Ratio", &TTestWidget::ratio, [](TTestWidget& w, std::uint8_t v) { w.ratio = v; },
                                     127),
            EventProperty<TTestWidget, TValueHandler>("OnValue", &TTestWidget::OnValue),
            // Republished with another default: takes the base row's place.
            IntProperty<TTestWidget>("Left", &TTestWidget::Left, &TTestWidget::SetLeft, 10),
        },
        [](TComponent* owner) -> TComponent* { return new TTestWidget(owner); }};
    return info;
}

class TTestForm : public TTestControl {
    RASTEL_CLASS_INFO
public:
    explicit TTestForm(TComponent* owner = nullptr) : TTestControl(owner) {
        RegisterMethod("FormClick", std::function<TNotifyHandler>([this](TObject*) { ++clicks; }));
        RegisterMethod("WidgetValue", std::function<TValueHandler>([this](TObject*, int v) { lastValue = v; }));
    }
    int clicks = 0;
    int lastValue = 0;
};

const ClassInfo& TTestForm::StaticClassInfo() {
    static const ClassInfo info{"TTestForm", &TTestControl::StaticClassInfo(), {}, {}};
    return info;
}

struct Registered {
    Registered() {
        RegisterClassInfo(TTestControl::StaticClassInfo());
        RegisterClassInfo(TTestWidget::StaticClassInfo());
    }
} registered;

const char* const kDescription =
    "object Form1: TTestForm\n"
    "  Left = -442\n"
    "  Caption = 'Rastel （Ver 2.12.13) ''quoted'''\n"
    "  Color = 7176239\n"
    "  Font.Charset = SHIFTJIS_CHARSET\n"
    "  Font.Color = clWindowText\n"
    "  Font.Height = -12\n"
    "  Font.Name = 'ＭＳ Ｐゴシック'\n"
    "  Font.Style = []\n"
    "  ParentFont = False\n"
    "  OnClick = FormClick\n"
    "  object Panel1: TTestControl\n"
    "    Left = 5\n"
    "    Visible = False\n"
    "    Caption = 'two'#13#10'lines'\n"
    "    Color = clBtnShadow\n"
    "    object Widget1: TTestWidget\n"
    "      Caption = '常時前'\n"
    "      Color = -16777186\n"
    "      Font.Charset = DEFAULT_CHARSET\n"
    "      Font.Color = clRed\n"
    "      Font.Height = -16\n"
    "      Font.Name = 'Arial'\n"
    "      Font.Style = [fsBold, fsUnderline]\n"
    "      ParentFont = False\n"
    "      OnClick = FormClick\n"
    "      Align = taRight\n"
    "      Anchors = [tkLeft, tkBottom]\n"
    "      Items.Strings = (\n"
    "        'SkyBlue'\n"
    "        ''\n"
    "        'It''s')\n"
    "      Colors.Enabled = True\n"
    "      Colors.Face = clSilver\n"
    "      Big = 9000000000\n"
    "      Ratio = 255\n"
    "      OnValue = WidgetValue\n"
    "      Left = 0\n"
    "    end\n"
    "  end\n"
    "  object Widget2: TTestWidget\n"
    "  end\n"
    "end\n";

std::string ErrorOf(const std::string& text) {
    TTestForm form;
    try {
        ReadComponentText(text, &form);
    } catch (const EReadError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(StreamingRead, SetsEveryKindOfProperty) {
    gLog.clear();
    TTestForm form;
    ReadComponentText(kDescription, &form);

    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.left, -442);
    EXPECT_EQ(form.caption, "Rastel （Ver 2.12.13) 'quoted'");
    EXPECT_EQ(form.color, rastel::RGBColor(47, 128, 109));
    EXPECT_EQ(form.font.Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(form.font.Color(), clWindowText);
    EXPECT_EQ(form.font.Height(), -12);
    EXPECT_EQ(form.font.Name(), "ＭＳ Ｐゴシック");
    EXPECT_TRUE(form.font.Style().Empty());
    EXPECT_FALSE(form.parentFont);
    form.OnClick(&form);
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.OnClick.handlerName, "FormClick");

    auto& panel = FindComponentAs<TTestControl>(form, "Panel1");
    auto& widget = FindComponentAs<TTestWidget>(form, "Widget1");
    auto& widget2 = FindComponentAs<TTestWidget>(form, "Widget2");
    EXPECT_EQ(panel.Owner(), &form);
    EXPECT_EQ(widget.Owner(), &form);  // the root owns every component read
    EXPECT_EQ(panel.parent, &form);
    EXPECT_EQ(widget.parent, &panel);
    EXPECT_EQ(widget2.parent, &form);
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.caption, "two\r\nlines");
    EXPECT_EQ(panel.color, clBtnShadow);

    EXPECT_EQ(widget.left, 0);
    EXPECT_EQ(widget.caption, "常時前");
    EXPECT_EQ(widget.color, clSystemColor | 30);
    EXPECT_EQ(widget.font.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(widget.align, taRight);
    EXPECT_EQ(widget.anchors, (TTestAnchors{tkLeft, tkBottom}));
    EXPECT_EQ(widget.items.Lines(), (std::vector<std::string>{"SkyBlue", "", "It's"}));
    EXPECT_TRUE(widget.colors.enabled);
    EXPECT_EQ(widget.colors.face, clSilver);
    EXPECT_EQ(widget.big, 9000000000);
    EXPECT_EQ(widget.ratio, 255);
    widget.OnValue(&widget, 7);
    EXPECT_EQ(form.lastValue, 7);
    EXPECT_EQ(widget2.left, 10);  // constructor value kept: nothing was given

    // Parents are set before properties; Loaded runs after everything, root first.
    EXPECT_EQ(gLog, (std::vector<std::string>{"parent Panel1<-Form1", "parent Widget1<-Panel1",
                                              "parent Widget2<-Form1", "loaded Form1", "loaded Panel1",
                                              "loaded Widget1", "loaded Widget2"}));
}

TEST(StreamingWrite, WritingWhatWasReadGivesTheSameText) {
    TTestForm form;
    ReadComponentText(kDescription, &form);
    std::string written = WriteComponentText(&form);
    EXPECT_EQ(written, kDescription);

    // And a second generation is identical too.
    TTestForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(WriteComponentText(&again), kDescription);
}

TEST(StreamingWrite, DefaultsAreLeftOutAndSpellingsAreCanonical) {
    TTestForm form;
    form.SetName("Form2");
    auto* w = new TTestWidget(&form);
    w->SetName("W");
    w->parent = &form;
    w->left = 10;                      // its default
    w->color = clSystemColor | 30;     // a system colour without a name
    w->font.SetCharset(77);            // MAC_CHARSET has a name; 3 has none
    w->parentFont = true;              // font not written
    w->items.Add("a'b");
    w->caption = std::string("x\ty") + char(0x7F);
    EXPECT_EQ(WriteComponentText(&form),
              "object Form2: TTestForm\n"
              "  object W: TTestWidget\n"
              "    Caption = 'x'#9'y'#127\n"
              "    Color = -16777186\n"
              "    Items.Strings = (\n"
              "      'a''b')\n"
              "  end\n"
              "end\n");

    w->parentFont = false;
    w->font.SetCharset(3);
    std::string text = WriteComponentText(&form);
    EXPECT_NE(text.find("    Font.Charset = 3\n    Font.Color = clWindowText\n"), std::string::npos) << text;

    // Read back through a fresh form: same text.
    TTestForm copy;
    ReadComponentText(text, &copy);
    EXPECT_EQ(WriteComponentText(&copy), text);
}

TEST(StreamingRead, ReusesComponentsTheRootAlreadyOwns) {
    TTestForm form;
    auto* existing = new TTestWidget(&form);
    existing->SetName("Widget2");
    ReadComponentText(kDescription, &form);
    EXPECT_EQ(form.FindComponent("Widget2"), existing);
    EXPECT_EQ(form.Components().size(), 3u);
}

TEST(StreamingRead, AcceptsCrLfHexNumbersAndJoinedStrings) {
    TTestForm form;
    ReadComponentText("\xEF\xBB\xBFobject Form1: TTestForm\r\n  Left = $1F\r\n  Color = -16777200\r\n  Caption = 'a' +\r\n    'b'#65\r\nend\r\n",
                      &form);
    EXPECT_EQ(form.left, 31);
    EXPECT_EQ(form.caption, "abA");
    EXPECT_EQ(form.color, clBtnShadow);
}

TEST(StreamingRead, ErrorsNameTheLineAndTheProperty) {
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Lefty = 1\nend\n"), "line 2: Form1.Lefty: unknown property");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Font.Nam = 'x'\nend\n"), "line 2: Form1.Font.Nam: unknown property");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n\n  Left = 'x'\nend\n"), "line 3: Form1.Left: a number expected");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Visible = Yes\nend\n"),
              "line 2: Form1.Visible: True or False is expected");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Color = clPink\nend\n"),
              "line 2: Form1.Color: unknown colour 'clPink'");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  OnClick = Missing\nend\n"),
              "line 2: Form1.OnClick: the handler 'Missing' does not exist");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  OnClick = WidgetValue\nend\n"),
              "line 2: Form1.OnClick: the handler 'WidgetValue' has another signature");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Font = 1\nend\n"),
              "line 2: Form1.Font: a nested object takes its values as Form1.Font.Property");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  object X: TNoSuchClass\n  end\nend\n"),
              "line 2: X: unknown class TNoSuchClass");
    EXPECT_EQ(ErrorOf("object Form1: TOtherForm\nend\n"), "line 1: the description is of class TOtherForm, not TTestForm");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Left = 1\n"), "line 3: 'end' expected for Form1");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\nend\nend\n"), "line 3: text after the last 'end'");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Caption = 'open\nend\n"), "line 2: Form1.Caption: unterminated string");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Left = 1.5\nend\n"), "line 2: Form1.Left: malformed number");
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n  Left = 99999999999\nend\n"),
              "line 2: Form1.Left: the number 99999999999 is out of range");

    const std::string widget = "object Form1: TTestForm\n  object W: TTestWidget\n";
    EXPECT_EQ(ErrorOf(widget + "    Ratio = 256\n  end\nend\n"), "line 3: W.Ratio: the number 256 is out of range");
    EXPECT_EQ(ErrorOf(widget + "    Align = taMiddle\n  end\nend\n"),
              "line 3: W.Align: 'taMiddle' is not a value of this property");
    EXPECT_EQ(ErrorOf(widget + "    Anchors = [tkLeft, tkUp]\n  end\nend\n"),
              "line 3: W.Anchors: 'tkUp' is not a member of this set");
    EXPECT_EQ(ErrorOf(widget + "    Items.Strings = (\n      'a'\n      b)\n  end\nend\n"),
              "line 5: W.Items.Strings: a string or ')' expected");
    EXPECT_EQ(ErrorOf(widget + "  end\n  object W: TTestControl\n  end\nend\n"),
              "line 4: W: exists already as a TTestWidget, not a TTestControl");
}

TEST(StreamingRead, AFailedReadLeavesNoHalfBuiltOwnershipBehind) {
    // The components created before the error stay owned by the root and are
    // freed with it (no leak, no dangling parent).
    TTestForm form;
    EXPECT_THROW(ReadComponentText(std::string("object Form1: TTestForm\n  object A: TTestWidget\n  end\n") +
                                       "  object B: TTestWidget\n    Align = bad\n  end\nend\n",
                                   &form),
                 EReadError);
    EXPECT_NE(form.FindComponent("A"), nullptr);
    EXPECT_NE(form.FindComponent("B"), nullptr);
}
