// The framework's property rows for controls and the control classes' tables.
#include "framework/Controls.h"

// ------------------------------------------------------------- class tables

PropertyInfo TControl::Props::Name() {
    return StoredWhen<TComponent>(StringProperty<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
                                  [](const TComponent&) { return false; });
}
PropertyInfo TControl::Props::Tag() {
    return IntProperty<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag, Defaults::Tag);
}
PropertyInfo TControl::Props::Cursor() {
    return IntProperty<TControl>("Cursor", &TControl::Cursor, &TControl::SetCursor, Defaults::Cursor);
}
PropertyInfo TControl::Props::Hint() { return StringProperty<TControl>("Hint", &TControl::Hint, &TControl::SetHint); }
PropertyInfo TControl::Props::HelpType() {
    return EnumProperty<TControl, THelpType>("HelpType", {"htKeyword", "htContext"}, &TControl::HelpType,
                                             &TControl::SetHelpType, Defaults::HelpType);
}
PropertyInfo TControl::Props::HelpKeyword() {
    return StringProperty<TControl>("HelpKeyword", &TControl::HelpKeyword, &TControl::SetHelpKeyword);
}
PropertyInfo TControl::Props::HelpContext() {
    return IntProperty<TControl>("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext,
                                 Defaults::HelpContext);
}
PropertyInfo TControl::Props::Left() {
    return IntProperty<TControl>("Left", &TControl::Left, &TControl::SetLeft, std::nullopt);
}
PropertyInfo TControl::Props::Top() {
    return IntProperty<TControl>("Top", &TControl::Top, &TControl::SetTop, std::nullopt);
}
PropertyInfo TControl::Props::Width() {
    return IntProperty<TControl>("Width", &TControl::Width, &TControl::SetWidth, std::nullopt);
}
PropertyInfo TControl::Props::Height() {
    return IntProperty<TControl>("Height", &TControl::Height, &TControl::SetHeight, std::nullopt);
}
PropertyInfo TControl::Props::Caption() {
    return StringProperty<TControl>("Caption", &TControl::Caption, &TControl::SetCaption);
}
PropertyInfo TControl::Props::Color(TColor defaultColor) {
    PropertyInfo p = ColorProperty<TControl>("Color", &TControl::Color, &TControl::SetColor, defaultColor);
    return StoredWhen<TControl>(
        std::move(p), [defaultColor](const TControl& c) { return !c.ParentColor() && c.Color() != defaultColor; });
}
PropertyInfo TControl::Props::ParentColor() {
    return BoolProperty<TControl>("ParentColor", &TControl::ParentColor, &TControl::SetParentColor,
                                  TControl::Defaults::ParentColor);
}
PropertyInfo TControl::Props::Enabled() {
    return BoolProperty<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled, TControl::Defaults::Enabled);
}
PropertyInfo TControl::Props::Font() {
    return ObjectProperty<TControl>("Font", &TControl::Font, [](const TControl& c) { return !c.ParentFont(); });
}
PropertyInfo TControl::Props::ParentFont() {
    return BoolProperty<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont,
                                  TControl::Defaults::ParentFont);
}
PropertyInfo TControl::Props::Visible() {
    return BoolProperty<TControl>("Visible", &TControl::Visible, &TControl::SetVisible, TControl::Defaults::Visible);
}
PropertyInfo TControl::Props::TabOrder() {
    return IntProperty<TWinControl>("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder,
                                    TControl::Defaults::TabOrder);
}
PropertyInfo TControl::Props::TabStop(bool defaultValue) {
    return BoolProperty<TWinControl>("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, defaultValue);
}
PropertyInfo TControl::Props::OnClick() { return NotifyEventProperty<TControl>("OnClick", &TControl::OnClick); }
PropertyInfo TControl::Props::OnDblClick() {
    return NotifyEventProperty<TControl>("OnDblClick", &TControl::OnDblClick);
}
PropertyInfo TControl::Props::OnMouseDown() {
    return EventProperty<TControl, TMouseEventHandler>("OnMouseDown", &TControl::OnMouseDown);
}
PropertyInfo TControl::Props::OnMouseUp() {
    return EventProperty<TControl, TMouseEventHandler>("OnMouseUp", &TControl::OnMouseUp);
}
PropertyInfo TControl::Props::OnMouseMove() {
    return EventProperty<TControl, TMouseMoveEventHandler>("OnMouseMove", &TControl::OnMouseMove);
}
PropertyInfo TControl::Props::OnEnter() { return NotifyEventProperty<TWinControl>("OnEnter", &TWinControl::OnEnter); }
PropertyInfo TControl::Props::OnExit() { return NotifyEventProperty<TWinControl>("OnExit", &TWinControl::OnExit); }
PropertyInfo TControl::Props::OnKeyDown() {
    return EventProperty<TWinControl, TKeyEventHandler>("OnKeyDown", &TWinControl::OnKeyDown);
}
PropertyInfo TControl::Props::OnKeyPress() {
    return EventProperty<TWinControl, TKeyPressEventHandler>("OnKeyPress", &TWinControl::OnKeyPress);
}
PropertyInfo TControl::Props::OnKeyUp() {
    return EventProperty<TWinControl, TKeyEventHandler>("OnKeyUp", &TWinControl::OnKeyUp);
}

const ClassInfo& TControl::StaticClassInfo() {
    static const ClassInfo info{
        "TControl", &TComponent::StaticClassInfo(), {Props::Left(), Props::Top(), Props::Width(), Props::Height()}, {}};
    return info;
}

const ClassInfo& TWinControl::StaticClassInfo() {
    static const ClassInfo info{"TWinControl", &TControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TCustomControl::StaticClassInfo() {
    static const ClassInfo info{"TCustomControl", &TWinControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TGraphicControl::StaticClassInfo() {
    static const ClassInfo info{"TGraphicControl", &TControl::StaticClassInfo(), {}, {}};
    return info;
}
