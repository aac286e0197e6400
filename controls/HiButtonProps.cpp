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
            TControl::Props::Name(),
            TControl::Props::Tag(),
            TControl::Props::Left(),
            TControl::Props::Top(),
            TControl::Props::Width(),
            TControl::Props::Height(),
            TControl::Props::Cursor(),
            TControl::Props::Hint(),
            TControl::Props::HelpType(),
            TControl::Props::HelpKeyword(),
            TControl::Props::HelpContext(),
            // Republished framework properties.
            TControl::Props::Enabled(),
            TControl::Props::TabOrder(),
            TControl::Props::TabStop(false),
            TControl::Props::Visible(),
            TControl::Props::Font(),
            // Own.
            ColorProperty<THiBase>("OnFrameColor", &THiBase::OnFrameColor, &THiBase::SetOnFrameColor,
                                   THiBase::Defaults::OnFrameColor),
            ColorProperty<THiBase>("OffFrameColor", &THiBase::OffFrameColor, &THiBase::SetOffFrameColor,
                                   THiBase::Defaults::OffFrameColor),
            IntProperty<THiBase>("FrameWidth", &THiBase::FrameWidth, &THiBase::SetFrameWidth,
                                 THiBase::Defaults::FrameWidth),
            StringListProperty<THiBase>("OnCaption", &THiBase::OnCaption, &THiBase::SetOnCaption),
            StringListProperty<THiBase>("OffCaption", &THiBase::OffCaption, &THiBase::SetOffCaption),
            EnumProperty<THiBase, TNHAlignment>("CapAlignH", HAlignNames(), &THiBase::CapAlignH, &THiBase::SetCapAlignH,
                                                THiBase::Defaults::CapAlignH),
            EnumProperty<THiBase, TNVAlignment>("CapAlignV", VAlignNames(), &THiBase::CapAlignV, &THiBase::SetCapAlignV,
                                                THiBase::Defaults::CapAlignV),
            IntProperty<THiBase>("GroupID", &THiBase::GroupID, &THiBase::SetGroupID, THiBase::Defaults::GroupID),
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
    static const ClassInfo info{
        "TMouseOverColor",
        &TPersistent::StaticClassInfo(),
        {
            BoolProperty<T>("Enabled", &T::Enabled, &T::SetEnabled, T::Defaults::Enabled),
            ColorProperty<T>("OffFontColor", &T::OffFontColor, &T::SetOffFontColor, T::Defaults::OffFontColor),
            ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, T::Defaults::OffFaceColor),
            ColorProperty<T>("OffFrameColor", &T::OffFrameColor, &T::SetOffFrameColor, T::Defaults::OffFrameColor),
            ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, T::Defaults::OnFontColor),
            ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, T::Defaults::OnFaceColor),
            ColorProperty<T>("OnFrameColor", &T::OnFrameColor, &T::SetOnFrameColor, T::Defaults::OnFrameColor),
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
            IntProperty<T>("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, T::Defaults::BevelWidth),
            ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, T::Defaults::OnFaceColor),
            ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, T::Defaults::OffFaceColor),
            ColorProperty<T>("HighlightColor", &T::HighlightColor, &T::SetHighlightColor, T::Defaults::HighlightColor),
            ColorProperty<T>("ShadowColor", &T::ShadowColor, &T::SetShadowColor, T::Defaults::ShadowColor),
            ColorProperty<T>("OnHighlightColor", &T::OnHighlightColor, &T::SetOnHighlightColor,
                             T::Defaults::OnHighlightColor),
            ColorProperty<T>("OnShadowColor", &T::OnShadowColor, &T::SetOnShadowColor, T::Defaults::OnShadowColor),
            ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, T::Defaults::OnFontColor),
            ColorProperty<T>("EdgeColor", &T::EdgeColor, &T::SetEdgeColor, T::Defaults::EdgeColor),
            ObjectProperty<T>("MouseOverColor", &T::MouseOverColor),
            IntProperty<T>("BevelWidthMargin", &T::BevelWidthMargin, &T::SetBevelWidthMargin,
                           T::Defaults::BevelWidthMargin),
            IntProperty<T>("BevelHeightMargin", &T::BevelHeightMargin, &T::SetBevelHeightMargin,
                           T::Defaults::BevelHeightMargin),
            IntProperty<T>("BevelTopMargin", &T::BevelTopMargin, &T::SetBevelTopMargin, T::Defaults::BevelTopMargin),
            IntProperty<T>("BevelLeftMargin", &T::BevelLeftMargin, &T::SetBevelLeftMargin,
                           T::Defaults::BevelLeftMargin),
            BoolProperty<T>("EdgeDraw", &T::EdgeDraw, &T::SetEdgeDraw, T::Defaults::EdgeDraw),
            IntProperty<T>("OnSlideSize", &T::OnSlideSize, &T::SetOnSlideSize, T::Defaults::OnSlideSize),
            EnumProperty<T, TButtonStyle>("ButtonStyle", {"bsNormal", "bsToggle"}, &T::ButtonStyle, &T::SetButtonStyle,
                                          T::Defaults::ButtonStyle),
            EnumProperty<T, TButtonState>("ButtonState", {"bstOff", "bstOn"}, &T::ButtonState, &T::SetButtonState,
                                          T::Defaults::ButtonState),
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
            IntProperty<T>("BlendRitu", &T::BlendRitu, &T::SetBlendRitu, T::Defaults::BlendRitu),
            EnumProperty<T, TCapDrawLayer>("CapDrawLayer", {"dlTop", "dlInner"}, &T::CapDrawLayer, &T::SetCapDrawLayer,
                                           T::Defaults::CapDrawLayer),
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
            IntProperty<T>("ImageBlendRitu", &T::ImageBlendRitu, &T::SetImageBlendRitu, T::Defaults::ImageBlendRitu),
            BoolProperty<T>("ImageStretch", &T::ImageStretch, &T::SetImageStretch, T::Defaults::ImageStretch),
            ObjectProperty<T>("OffImagePict", &T::OffImagePict),
            ObjectProperty<T>("OnImagePict", &T::OnImagePict),
            EnumProperty<T, TNHAlignment>("OffImgAlignH", HAlignNames(), &T::OffImgAlignH, &T::SetOffImgAlignH,
                                          T::Defaults::OffImgAlignH),
            EnumProperty<T, TNVAlignment>("OffImgAlignV", VAlignNames(), &T::OffImgAlignV, &T::SetOffImgAlignV,
                                          T::Defaults::OffImgAlignV),
            EnumProperty<T, TNHAlignment>("OnImgAlignH", HAlignNames(), &T::OnImgAlignH, &T::SetOnImgAlignH,
                                          T::Defaults::OnImgAlignH),
            EnumProperty<T, TNVAlignment>("OnImgAlignV", VAlignNames(), &T::OnImgAlignV, &T::SetOnImgAlignV,
                                          T::Defaults::OnImgAlignV),
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
            IntProperty<T>("FontLinePitch", &T::FontLinePitch, &T::SetFontLinePitch, T::Defaults::FontLinePitch),
            ObjectProperty<T>("Font2", &T::Font2),
            ObjectProperty<T>("Font3", &T::Font3),
            EnumProperty<T, TNHAlignment>("CapAlignH2", HAlignNames(), &T::CapAlignH2, &T::SetCapAlignH2,
                                          T::Defaults::CapAlignH2),
            EnumProperty<T, TNHAlignment>("CapAlignH3", HAlignNames(), &T::CapAlignH3, &T::SetCapAlignH3,
                                          T::Defaults::CapAlignH3),
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
