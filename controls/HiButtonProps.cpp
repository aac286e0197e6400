// The published properties of the button family and its registration.
#include "controls/HiButton.h"
#include "framework/PropertyHelpers.h"

// ------------------------------------------------------------- class tables

namespace {

// Functions, not globals: class tables may be built during static initialisation.
const std::vector<std::string>& HAlignNames() {
    static const std::vector<std::string> names{"haLeft", "haCenter", "haRight"};
    return names;
}
const std::vector<std::string>& VAlignNames() {
    static const std::vector<std::string> names{"vaTop", "vaCenter", "vaBottom"};
    return names;
}

}  // namespace

const ClassInfo& THiBase::StaticClassInfo() {
    static const ClassInfo info{
        "THiBase",
        &TCustomControl::StaticClassInfo(),
        {
            // The framework's component and control properties, in the order
            // their classes publish them; Name is written in the object header.
            StoredWhen<TComponent>(StringProperty<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
                                   [](const TComponent&) { return false; }),
            IntProperty<THiBase>("Tag", &THiBase::Tag, &THiBase::SetTag, 0),
            TControl::Props::Left(),
            TControl::Props::Top(),
            TControl::Props::Width(),
            TControl::Props::Height(),
            IntProperty<THiBase>("Cursor", &THiBase::Cursor, &THiBase::SetCursor, 0),
            StringProperty<THiBase>("Hint", &THiBase::Hint, &THiBase::SetHint),
            EnumProperty<THiBase, THelpType>("HelpType", {"htKeyword", "htContext"}, &THiBase::HelpType,
                                             &THiBase::SetHelpType, htContext),
            StringProperty<THiBase>("HelpKeyword", &THiBase::HelpKeyword, &THiBase::SetHelpKeyword),
            IntProperty<THiBase>("HelpContext", &THiBase::HelpContext, &THiBase::SetHelpContext, 0),
            // Republished framework properties.
            TControl::Props::Enabled(),
            TControl::Props::TabOrder(),
            TControl::Props::TabStop(false),
            TControl::Props::Visible(),
            TControl::Props::Font(),
            // Own.
            ColorProperty<THiBase>("OnFrameColor", &THiBase::OnFrameColor, &THiBase::SetOnFrameColor, clBtnShadow),
            ColorProperty<THiBase>("OffFrameColor", &THiBase::OffFrameColor, &THiBase::SetOffFrameColor, clBtnFace),
            IntProperty<THiBase>("FrameWidth", &THiBase::FrameWidth, &THiBase::SetFrameWidth, 0),
            StringListProperty<THiBase>("OnCaption", &THiBase::OnCaption, &THiBase::SetOnCaption),
            StringListProperty<THiBase>("OffCaption", &THiBase::OffCaption, &THiBase::SetOffCaption),
            EnumProperty<THiBase, TNHAlignment>("CapAlignH", HAlignNames(), &THiBase::CapAlignH, &THiBase::SetCapAlignH,
                                                haCenter),
            EnumProperty<THiBase, TNVAlignment>("CapAlignV", VAlignNames(), &THiBase::CapAlignV, &THiBase::SetCapAlignV,
                                                vaCenter),
            IntProperty<THiBase>("GroupID", &THiBase::GroupID, &THiBase::SetGroupID, 0),
            // Republished framework events.
            TControl::Props::OnClick(),
            TControl::Props::OnDblClick(),
            TControl::Props::OnEnter(),
            TControl::Props::OnExit(),
            TControl::Props::OnKeyPress(),
            TControl::Props::OnKeyDown(),
            TControl::Props::OnKeyUp(),
            TControl::Props::OnMouseMove(),
            TControl::Props::OnMouseDown(),
            TControl::Props::OnMouseUp(),
        },
        [](TComponent* owner) -> TComponent* { return new THiBase(owner); }};
    return info;
}

const ClassInfo& TMouseOverColor::StaticClassInfo() {
    using T = TMouseOverColor;
    static const ClassInfo info{"TMouseOverColor",
                                &TPersistent::StaticClassInfo(),
                                {
                                    BoolProperty<T>("Enabled", &T::Enabled, &T::SetEnabled, false),
                                    ColorProperty<T>("OffFontColor", &T::OffFontColor, &T::SetOffFontColor, clYellow),
                                    ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, clBtnFace),
                                    ColorProperty<T>("OffFrameColor", &T::OffFrameColor, &T::SetOffFrameColor, clYellow),
                                    ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, clYellow),
                                    ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, clBtnFace),
                                    ColorProperty<T>("OnFrameColor", &T::OnFrameColor, &T::SetOnFrameColor, clYellow),
                                },
                                {}};
    return info;
}

const ClassInfo& THiButtonBase::StaticClassInfo() {
    using T = THiButtonBase;
    static const ClassInfo info{
        "THiButtonBase",
        &THiBase::StaticClassInfo(),
        {
            IntProperty<T>("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 5),
            ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, clBtnFace),
            ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, clBtnFace),
            ColorProperty<T>("HighlightColor", &T::HighlightColor, &T::SetHighlightColor, clBtnHighlight),
            ColorProperty<T>("ShadowColor", &T::ShadowColor, &T::SetShadowColor, clBtnShadow),
            ColorProperty<T>("OnHighlightColor", &T::OnHighlightColor, &T::SetOnHighlightColor, clBtnHighlight),
            ColorProperty<T>("OnShadowColor", &T::OnShadowColor, &T::SetOnShadowColor, clBtnShadow),
            ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, clBtnText),
            ColorProperty<T>("EdgeColor", &T::EdgeColor, &T::SetEdgeColor, clBlack),
            ObjectProperty<T>("MouseOverColor", &T::MouseOverColor),
            IntProperty<T>("BevelWidthMargin", &T::BevelWidthMargin, &T::SetBevelWidthMargin, 0),
            IntProperty<T>("BevelHeightMargin", &T::BevelHeightMargin, &T::SetBevelHeightMargin, 0),
            IntProperty<T>("BevelTopMargin", &T::BevelTopMargin, &T::SetBevelTopMargin, 0),
            IntProperty<T>("BevelLeftMargin", &T::BevelLeftMargin, &T::SetBevelLeftMargin, 0),
            BoolProperty<T>("EdgeDraw", &T::EdgeDraw, &T::SetEdgeDraw, false),
            IntProperty<T>("OnSlideSize", &T::OnSlideSize, &T::SetOnSlideSize, 0),
            EnumProperty<T, TButtonStyle>("ButtonStyle", {"bsNormal", "bsToggle"}, &T::ButtonStyle, &T::SetButtonStyle,
                                          bsNormal),
            EnumProperty<T, TButtonState>("ButtonState", {"bstOff", "bstOn"}, &T::ButtonState, &T::SetButtonState,
                                          bstOff),
        },
        [](TComponent* owner) -> TComponent* { return new THiButtonBase(owner); }};
    return info;
}

const ClassInfo& THiSukeSuke::StaticClassInfo() {
    using T = THiSukeSuke;
    static const ClassInfo info{
        "THiSukeSuke",
        &THiButtonBase::StaticClassInfo(),
        {
            IntProperty<T>("BlendRitu", &T::BlendRitu, &T::SetBlendRitu, 127),
            EnumProperty<T, TCapDrawLayer>("CapDrawLayer", {"dlTop", "dlInner"}, &T::CapDrawLayer, &T::SetCapDrawLayer,
                                           dlTop),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSuke(owner); }};
    return info;
}

const ClassInfo& THiSukeSukeImg::StaticClassInfo() {
    using T = THiSukeSukeImg;
    static const ClassInfo info{
        "THiSukeSukeImg",
        &THiSukeSuke::StaticClassInfo(),
        {
            IntProperty<T>("ImageBlendRitu", &T::ImageBlendRitu, &T::SetImageBlendRitu, 127),
            BoolProperty<T>("ImageStretch", &T::ImageStretch, &T::SetImageStretch, false),
            ObjectProperty<T>("OffImagePict", &T::OffImagePict),
            ObjectProperty<T>("OnImagePict", &T::OnImagePict),
            EnumProperty<T, TNHAlignment>("OffImgAlignH", HAlignNames(), &T::OffImgAlignH, &T::SetOffImgAlignH, haCenter),
            EnumProperty<T, TNVAlignment>("OffImgAlignV", VAlignNames(), &T::OffImgAlignV, &T::SetOffImgAlignV, vaCenter),
            EnumProperty<T, TNHAlignment>("OnImgAlignH", HAlignNames(), &T::OnImgAlignH, &T::SetOnImgAlignH, haCenter),
            EnumProperty<T, TNVAlignment>("OnImgAlignV", VAlignNames(), &T::OnImgAlignV, &T::SetOnImgAlignV, vaCenter),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSukeImg(owner); }};
    return info;
}

const ClassInfo& THiSukeSukeImgEx::StaticClassInfo() {
    using T = THiSukeSukeImgEx;
    static const ClassInfo info{
        "THiSukeSukeImgEx",
        &THiSukeSukeImg::StaticClassInfo(),
        {
            IntProperty<T>("FontLinePitch", &T::FontLinePitch, &T::SetFontLinePitch, 0),
            ObjectProperty<T>("Font2", &T::Font2),
            ObjectProperty<T>("Font3", &T::Font3),
            EnumProperty<T, TNHAlignment>("CapAlignH2", HAlignNames(), &T::CapAlignH2, &T::SetCapAlignH2, haCenter),
            EnumProperty<T, TNHAlignment>("CapAlignH3", HAlignNames(), &T::CapAlignH3, &T::SetCapAlignH3, haCenter),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSukeImgEx(owner); }};
    return info;
}

void RegisterHiButtonClasses() {
    static const bool done = [] {
        RegisterClassInfo(THiBase::StaticClassInfo());
        RegisterClassInfo(THiButtonBase::StaticClassInfo());
        RegisterClassInfo(THiSukeSuke::StaticClassInfo());
        RegisterClassInfo(THiSukeSukeImg::StaticClassInfo());
        RegisterClassInfo(THiSukeSukeImgEx::StaticClassInfo());
        return true;
    }();
    (void)done;
}

namespace {
// Linked in whenever the program uses a class of the family.
const bool registeredAtStart = (RegisterHiButtonClasses(), true);
}  // namespace
